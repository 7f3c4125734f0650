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
    return nanoseconds <= 0 ? 0 : static_cast<uint32_t>(nanoseconds / GST_MSECOND);
}

// Runs on GStreamer's threads for every message the pipeline posts.
GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data) {
    Player* player = static_cast<Player*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            player->ended.store(true, std::memory_order_release);
            break;
        case GST_MESSAGE_ERROR:
            player->failed.store(true, std::memory_order_release);
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

Player::~Player() {
    if (pipeline == nullptr) {
        return;
    }
    // NULL stops and joins the streaming threads, so nothing calls OnMessage afterwards.
    gst_element_set_state(pipeline, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
}

Device::~Device() {
    if (player_ != nullptr) {
        Release(std::move(player_));
    }
}

MciError Device::Open(const std::string& path, const std::string& name) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (uri == nullptr) {
        return kMciInvalidFile;
    }
    GstElement* volume = nullptr;
    GstElement* sinkBin = MakeSinkBin(ChooseSinkMode(), &volume);
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (sinkBin == nullptr || pipeline == nullptr) {
        g_free(uri);
        if (sinkBin != nullptr) {
            gst_object_unref(gst_object_ref_sink(sinkBin));
        }
        if (pipeline != nullptr) {
            gst_object_unref(gst_object_ref_sink(pipeline));
        }
        return kMciCannotLoadDriver;
    }
    player_ = std::make_shared<Player>();
    player_->pipeline = GST_ELEMENT(gst_object_ref_sink(pipeline));
    player_->volume = volume;
    livePipelines.fetch_add(1, std::memory_order_relaxed);
    g_object_weak_ref(G_OBJECT(pipeline), OnPipelineFinalized, nullptr);
    // Named after the device, so GStreamer's own debug log tells the devices apart.
    gst_object_set_name(GST_OBJECT(pipeline), name.c_str());
    g_object_set(pipeline, "flags", kPlayFlagAudio, "uri", uri, "audio-sink", sinkBin, nullptr);
    g_free(uri);

    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, OnMessage, player_.get(), nullptr);
    gst_object_unref(bus);

    // Pre-roll meanwhile: the file is typefound and the decoder set up before play is sent.
    ChangeState(player_, GST_STATE_PAUSED);
    return kMciOk;
}

MciError Device::Play() {
    if (Failed()) {
        return kMciInvalidFile;
    }
    if (Ended()) {
        // The run that ended posts no second end of stream, so the flag can be cleared now;
        // READY then PLAYING starts the file again from its beginning.
        player_->ended.store(false, std::memory_order_release);
        ChangeState(player_, GST_STATE_READY);
    }
    wanted_ = Mode::Playing;
    ChangeState(player_, GST_STATE_PLAYING);
    return kMciOk;
}

void Device::Pause() {
    if (Failed() || Ended()) {
        return;
    }
    wanted_ = Mode::Paused;
    ChangeState(player_, GST_STATE_PAUSED);
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
    g_object_set(player_->volume, "volume", static_cast<gdouble>(volume) / 1000.0, nullptr);
}

uint32_t Device::Volume() const {
    gdouble factor = 0;
    g_object_get(player_->volume, "volume", &factor, nullptr);
    return static_cast<uint32_t>(std::lround(factor * 1000.0));
}

Mode Device::CurrentMode() const {
    return Failed() || Ended() ? Mode::Stopped : wanted_;
}

uint32_t Device::PositionMs() const {
    if (Ended()) {
        return LengthMs();
    }
    gint64 position = 0;
    return gst_element_query_position(player_->pipeline, GST_FORMAT_TIME, &position) ? ToMs(position) : 0;
}

uint32_t Device::LengthMs() const {
    gint64 duration = 0;
    return gst_element_query_duration(player_->pipeline, GST_FORMAT_TIME, &duration) ? ToMs(duration) : 0;
}

}  // namespace trallio::media
