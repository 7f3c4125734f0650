// Starting GStreamer, once, and loading the decoders ahead of the first track.
#include <gst/gst.h>

#include "platform/posix/media/audio_sink.h"
#include "platform/posix/media/media_service.h"
#include "platform/posix/media/startup.h"

namespace trallio::media {

namespace {

// Plugins the caller's own thread uses while opening a device: loaded before the first open
// returns, so that open never waits for a plugin that the loading thread holds.
const char* const kCallerPlugins[] = {
    "coreelements", "playback", "volume", "audioconvert", "audioresample", "typefindfunctions",
};

// Tag readers, parsers and decoders for mp3, aac, wav, flac and ogg. libav (aac) alone takes
// over a hundred milliseconds to load, so these load on a thread of their own, libav last; a
// track that starts meanwhile waits for its decoder on its streaming thread, not the caller's.
const char* const kDecoderPlugins[] = {
    "id3demux", "apetag", "audioparsers", "mpg123", "flac", "ogg", "vorbis", "wavparse", "libav",
};

void LoadPlugins(const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        // A plugin that is not installed is skipped: decodebin picks from what there is.
        if (GstPlugin* plugin = gst_plugin_load_by_name(names[i])) {
            gst_object_unref(plugin);
        }
    }
}

// The elements a track's pipeline is built from. Making one of each once runs their class
// set-up (pad templates, properties, codec tables), which otherwise falls on the first track.
const char* const kTrackElements[] = {
    "playbin",   "uridecodebin",   "decodebin",  "typefind",      "filesrc",   "queue",
    "multiqueue", "playsink",      "streamsynchronizer", "audioconvert", "audioresample",
    "volume",    "fakesink",       "id3demux",   "mpegaudioparse", "mpg123audiodec",
    "aacparse",  "avdec_aac",      "flacparse",  "flacdec",        "oggdemux",  "vorbisdec",
    "wavparse",
};

gpointer LoadDecoders(gpointer) {
    LoadPlugins(kDecoderPlugins, sizeof kDecoderPlugins / sizeof kDecoderPlugins[0]);
    for (const char* name : kTrackElements) {
        if (GstElement* element = gst_element_factory_make(name, nullptr)) {
            gst_object_unref(gst_object_ref_sink(element));
        }
    }
    return nullptr;
}

// mpg123's mp3 decoder and libav's share a rank, and decodebin then takes libav's by name, so
// the first mp3 would wait for libav to load. mpg123 loads in a millisecond and decodes as well:
// ranked first, only aac needs libav.
void PreferMpg123() {
    GstPluginFeature* feature = gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec");
    if (feature != nullptr) {
        gst_plugin_feature_set_rank(feature, GST_RANK_PRIMARY);
        gst_object_unref(feature);
    }
}

// Holds the loading thread and waits for it when the process exits, so that the exit never
// runs while a plugin's library is half loaded.
struct DecoderLoader {
    GThread* thread = nullptr;
    void Join() {
        if (thread != nullptr) {
            g_thread_join(thread);
            thread = nullptr;
        }
    }
    ~DecoderLoader() { Join(); }
};

DecoderLoader decoderLoader;

enum class Start { NotYet, Running, Failed };
Start started = Start::NotYet;

}  // namespace

bool StartGStreamer() {
    if (started == Start::NotYet) {
        started = Start::Failed;
        if (gst_init_check(nullptr, nullptr, nullptr)) {
            started = Start::Running;
            LoadPlugins(kCallerPlugins, sizeof kCallerPlugins / sizeof kCallerPlugins[0]);
            PreferMpg123();
            decoderLoader.thread = g_thread_try_new("trallio-decoders", LoadDecoders, nullptr, nullptr);
            if (decoderLoader.thread == nullptr) {
                LoadDecoders(nullptr);
            }
        }
    }
    return started == Start::Running;
}

void WaitForDecoders() {
    decoderLoader.Join();
}

bool StartMediaService() {
    if (!StartGStreamer()) {
        return false;
    }
    // Looks for the system's audio output now rather than at the first open.
    ChooseSinkMode();
    WaitForDecoders();
    return true;
}

}  // namespace trallio::media
