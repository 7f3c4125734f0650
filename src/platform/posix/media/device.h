// One open device: a playbin playing one file, audio only, into "volume ! sink".
//
// Commands only set the state the caller wants and return; GStreamer reaches it on its own
// threads. The pipeline's bus calls back on those threads to record end of stream and errors,
// which is all the mode query needs, so no main loop runs and no message queues up.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/posix/media/mci_errors.h"

struct _GstElement;

namespace trallio::media {

enum class Mode { Stopped, Playing, Paused };

class Device {
public:
    Device() = default;
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Builds the pipeline for the file at `path` (absolute, readable) into the sink that
    // TRALLIO_AUDIO_SINK chooses, and starts pre-rolling it. Fails only when GStreamer cannot
    // make the elements (kMciCannotLoadDriver); a file that cannot be decoded is found later and
    // shows as a stopped device. `name` names the pipeline in GStreamer's debug log.
    MciError Open(const std::string& path, const std::string& name);

    // Starts playing: from where it stands, or from the start again once the track has ended.
    // kMciInvalidFile when the file turned out not to be playable.
    MciError Play();
    // Holds the position. Does nothing to a device that has ended or failed.
    void Pause();
    // Goes on after Pause. Does nothing to a device that is not paused. kMciInvalidFile as Play.
    MciError Resume();

    // MCI's 0..1000, linear: the volume element's factor is volume / 1000.
    void SetVolume(uint32_t volume);
    uint32_t Volume() const;

    // Stopped when opened and never played, after the end of the file, or after an error;
    // otherwise the mode last asked for, from the moment it was asked.
    Mode CurrentMode() const;
    // In milliseconds; 0 while not known.
    uint32_t PositionMs() const;
    uint32_t LengthMs() const;

    // Called from the pipeline's threads.
    void MarkEnded() { ended_.store(true, std::memory_order_release); }
    void MarkFailed() { failed_.store(true, std::memory_order_release); }

private:
    bool Failed() const { return failed_.load(std::memory_order_acquire); }
    bool Ended() const { return ended_.load(std::memory_order_acquire); }

    _GstElement* pipeline_ = nullptr;
    _GstElement* volume_ = nullptr;  // owned by the pipeline
    Mode wanted_ = Mode::Stopped;
    std::atomic<bool> ended_{false};
    std::atomic<bool> failed_{false};
};

// Number of player pipelines not yet finalised, open or being torn down. Falls back to zero
// once every device is closed; a pipeline kept alive by a stray reference shows here.
int LivePipelines();

}  // namespace trallio::media
