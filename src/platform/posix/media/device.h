// One open device: a playbin playing one file, audio only, into "volume ! sink".
//
// Commands record the mode the caller wants and queue the matching state change for the state
// thread (player.h), so none waits on GStreamer. The pipeline's bus calls back on GStreamer's
// threads to record end of stream and errors, which is all the mode query needs besides the
// wanted mode: no main loop runs and no message queues up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/posix/media/mci_errors.h"
#include "platform/posix/media/player.h"

namespace trallio::media {

enum class Mode { Stopped, Playing, Paused };

class Device {
public:
    Device() = default;
    // Hands the pipeline to the state thread to be stopped and dropped.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Builds the pipeline for the file at `path` (absolute, readable) into the sink that
    // TRALLIO_AUDIO_SINK chooses, and has it pre-roll. Fails only when GStreamer cannot make the
    // elements (kMciCannotLoadDriver); a file that cannot be decoded is found later and shows as
    // a stopped device. `name` names the pipeline in GStreamer's debug log.
    MciError Open(const std::string& path, const std::string& name);

    // Starts playing: from where it stands, or from the start again once the track has ended.
    // kMciInvalidFile when the file has turned out not to be playable.
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

private:
    bool Failed() const { return player_->failed.load(std::memory_order_acquire); }
    bool Ended() const { return player_->ended.load(std::memory_order_acquire); }

    std::shared_ptr<Player> player_;
    Mode wanted_ = Mode::Stopped;
};

// Number of player pipelines not yet finalised, open or being torn down. Falls back to zero
// once every device is closed and the state thread has settled; a pipeline kept alive by a
// stray reference shows here.
int LivePipelines();

}  // namespace trallio::media
