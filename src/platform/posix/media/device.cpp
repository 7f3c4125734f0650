#include "platform/posix/media/device.h"

#include <gst/gst.h>

#include <cmath>

#include "platform/posix/media/audio_sink.h"

namespace trallio::media {

namespace {

// playbin's GstPlayFlags: audio only, without playbin's own volume (the sink bin has ours) and
// without video or subtitles.
constexpr guint kPlayFlagAudio = 0x2;

std::atomic<int> livePipelines{0};

void OnPipelineFinalized(gpointer, GObject*) {
    livePipelines.fetch_sub(1, std::memory_order_relaxed);
}

uint32_t ToMs(gint64 nanoseconds) {
    if (nanoseconds <= 0) {
        return 0;
    }
    return static_cast<uint32_t>(nanoseconds / GST_MSECOND);
}

GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data) {
    Device* device = static_cast<Device*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            device->MarkEnded();
            break;
        case GST_MESSAGE_ERROR:
            device->MarkFailed();
            break;
        default:
            break;
    }
    // A dropped message belongs to the handler.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

}  // namespace

int LivePipelines() {
    return livePipelines.load(std::memory_order_relaxed);
}

Device::~Device() {
    if (pipeline_ == nullptr) {
        return;
    }
    // Going to NULL stops and joins the streaming threads, so nothing calls OnMessage afterwards.
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline_);
}


MciError Device::Open(const std::string& path, const std::string& name) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (uri == nullptr) {
        return kMciInvalidFile;
    }
    GstElement* sinkBin = MakeSinkBin(ChooseSinkMode(), &volume_);
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (sinkBin == nullptr || pipeline == nullptr) {
        g_free(uri);
        if (sinkBin != nullptr) {
            gst_object_unref(gst_object_ref_sink(sinkBin));
        }
        if (pipeline != nullptr) {
            gst_object_unref(gst_object_ref_sink(pipeline));
        }
        volume_ = nullptr;
        return kMciCannotLoadDriver;
    }
    pipeline_ = GST_ELEMENT(gst_object_ref_sink(pipeline));
    livePipelines.fetch_add(1, std::memory_order_relaxed);
    g_object_weak_ref(G_OBJECT(pipeline_), OnPipelineFinalized, nullptr);
    // Named after the device, so GStreamer's own debug log tells the devices apart.
    gst_object_set_name(GST_OBJECT(pipeline_), name.c_str());
    g_object_set(pipeline_, "flags", kPlayFlagAudio, "uri", uri, "audio-sink", sinkBin, nullptr);
    g_free(uri);

    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, OnMessage, this, nullptr);
    gst_object_unref(bus);

    // Pre-roll in the background: the file is typefound and the decoder set up while the caller
    // goes on, so play starts sooner. A failure here is the same as a later error.
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        MarkFailed();
    }
    return kMciOk;
}

MciError Device::Play() {
    if (Failed()) {
        return kMciInvalidFile;
    }
    if (Ended()) {
        // READY stops the streaming threads, so no end-of-stream from the last run can arrive
        // after the flag is cleared; PLAYING then starts from the beginning.
        gst_element_set_state(pipeline_, GST_STATE_READY);
        ended_.store(false, std::memory_order_release);
    }
    wanted_ = Mode::Playing;
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        MarkFailed();
        return kMciInvalidFile;
    }
    return kMciOk;
}

void Device::Pause() {
    if (Failed() || Ended()) {
        return;
    }
    wanted_ = Mode::Paused;
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        MarkFailed();
    }
}

MciError Device::Resume() {
    if (Failed()) {
        return kMciInvalidFile;
    }
    if (wanted_ != Mode::Paused || Ended()) {
        return kMciOk;
    }
    return Play();
}

void Device::SetVolume(uint32_t volume) {
    g_object_set(volume_, "volume", static_cast<gdouble>(volume) / 1000.0, nullptr);
}

uint32_t Device::Volume() const {
    gdouble factor = 0;
    g_object_get(volume_, "volume", &factor, nullptr);
    return static_cast<uint32_t>(std::lround(factor * 1000.0));
}

Mode Device::CurrentMode() const {
    if (Failed() || Ended()) {
        return Mode::Stopped;
    }
    return wanted_;
}

uint32_t Device::PositionMs() const {
    if (Ended()) {
        return LengthMs();
    }
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position)) {
        return 0;
    }
    return ToMs(position);
}

uint32_t Device::LengthMs() const {
    gint64 duration = 0;
    if (!gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration)) {
        return 0;
    }
    return ToMs(duration);
}

}  // namespace trallio::media
