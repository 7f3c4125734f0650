#include "platform/posix/media/audio_sink.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace trallio::media {

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Any sign of a sound server or a sound card. Without one autoaudiosink would only end on its
// own fake sink after trying every real one, so the probe is skipped.
bool MachineMayHaveOutput() {
    if (Exists("/dev/snd")) {
        return true;
    }
    const char* server = std::getenv("PULSE_SERVER");
    if (server != nullptr && server[0] != 0) {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != 0) {
        const std::string base(runtime);
        return Exists(base + "/pulse/native") || Exists(base + "/pipewire-0");
    }
    return false;
}

// Lets autoaudiosink choose once and returns the factory of the sink it settled on, or an empty
// text when it found none (it then falls back on a fakesink of its own). Each device later makes
// that factory's element directly, which skips autoaudiosink's search on every open.
std::string ProbeSystemSink() {
    GstElement* probe = gst_element_factory_make("autoaudiosink", nullptr);
    if (probe == nullptr) {
        return {};
    }
    gst_object_ref_sink(probe);
    std::string chosen;
    if (gst_element_set_state(probe, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        GstIterator* children = gst_bin_iterate_elements(GST_BIN(probe));
        GValue item = G_VALUE_INIT;
        if (gst_iterator_next(children, &item) == GST_ITERATOR_OK) {
            GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
            const char* name = factory != nullptr ? GST_OBJECT_NAME(factory) : nullptr;
            if (name != nullptr && std::strcmp(name, "fakesink") != 0) {
                chosen = name;
            }
            g_value_unset(&item);
        }
        gst_iterator_free(children);
    }
    gst_element_set_state(probe, GST_STATE_NULL);
    gst_object_unref(probe);
    return chosen;
}

// The system sink's factory name; empty when the machine has none. Probed once.
const std::string& SystemSinkFactory() {
    static bool probed = false;
    static std::string factory;
    if (!probed) {
        probed = true;
        if (MachineMayHaveOutput()) {
            factory = ProbeSystemSink();
        }
    }
    return factory;
}

GstElement* MakeSink(SinkMode mode) {
    if (mode == SinkMode::System) {
        const std::string& factory = SystemSinkFactory();
        // Forced to the system output on a machine where none was found: autoaudiosink itself,
        // which ends on its own fake sink.
        return gst_element_factory_make(factory.empty() ? "autoaudiosink" : factory.c_str(), nullptr);
    }
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (sink != nullptr) {
        g_object_set(sink, "sync", mode == SinkMode::Fake ? TRUE : FALSE, nullptr);
    }
    return sink;
}

}  // namespace

SinkMode ChooseSinkMode() {
    const char* choice = std::getenv("TRALLIO_AUDIO_SINK");
    if (choice != nullptr) {
        if (std::strcmp(choice, "system") == 0) {
            return SinkMode::System;
        }
        if (std::strcmp(choice, "fake") == 0) {
            return SinkMode::Fake;
        }
        if (std::strcmp(choice, "fast") == 0) {
            return SinkMode::Fast;
        }
    }
    return SystemSinkFactory().empty() ? SinkMode::Fake : SinkMode::System;
}

GstElement* MakeSinkBin(SinkMode mode, GstElement** volume) {
    GstElement* gain = gst_element_factory_make("volume", nullptr);
    GstElement* sink = MakeSink(mode);
    if (gain == nullptr || sink == nullptr) {
        if (gain != nullptr) {
            gst_object_unref(gst_object_ref_sink(gain));
        }
        if (sink != nullptr) {
            gst_object_unref(gst_object_ref_sink(sink));
        }
        return nullptr;
    }
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), gain, sink, nullptr);
    GstPad* input = gst_element_get_static_pad(gain, "sink");
    const bool linked = gst_element_link(gain, sink) &&
                        gst_element_add_pad(bin, gst_ghost_pad_new("sink", input));
    gst_object_unref(input);
    if (!linked) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    *volume = gain;
    return bin;
}

}  // namespace trallio::media
