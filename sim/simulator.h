// The simulator's core: loads the radio as the game's loader and script hook would, feeds the
// stand-in game with the player's inputs, runs frames, and keeps what the window and the trace show.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "fake_host.h"

namespace sim {

// The player's side of one frame: what the keyboard, the mouse and the character are doing.
// Both the window (SDL) and scenario files write it; the simulator copies it into the stand-in
// game before each frame.
// The player's input for one frame: the world's own record of it, and the cursor in client
// pixels of the game window (the world keeps it in screen coordinates).
struct Controls : fakehost::PlayerInput {
    int cursorX = 0;
    int cursorY = 0;
};

// One text the radio drew this frame, where it drew it.
struct HudText {
    std::string text;
    float x = 0;
    float y = 0;
    float scale = 0;
};

// The track the radio has open, as the media commands left it.
struct MediaStatus {
    std::string device;  // the quoted path, quotes included; "" when none is open
    std::string mode;    // "playing", "paused", "stopped", "opening", "open failed (275)", ...
};

class Simulator {
public:
    // Writes the trace to `trace` (may be null): one line per native, Win32 and media call,
    // prefixed with the frame number. The radio is loaded (its module entry registers the script)
    // and the script is started; the settings are read on the first frame.
    explicit Simulator(std::ostream* trace);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Runs one frame with these inputs. When the radio moves the cursor (it centres it as the
    // wheel opens) the new position is written back into `controls`; returns true then.
    bool RunFrame(Controls& controls);
    // The number of the last frame run (0 before the first).
    int Frame() const;
    // A line of the simulator's own in the trace, for the frame about to run ("input key q down").
    void Note(const std::string& line);
    // Watches the trace for a line that contains `text` from now on.
    void Watch(const std::string& text);
    bool WatchSeen() const;

    const std::vector<HudText>& Texts() const;
    MediaStatus Media() const;

private:
    struct Sink;
    std::ostream* trace_;
    std::vector<HudText> texts_;
    MediaStatus media_;
    float textScale_ = 0;
    std::string watch_;
    bool watchSeen_ = false;
    // The trace, the watch and the media status are written by the media commands' records,
    // which come from the radio's own thread with media_thread on.
    mutable std::mutex lock_;
};

// The media service the simulator plays through: "GStreamer" or "recording stand-in".
const char* MediaServiceName();
// Readies the service before the first frame (GStreamer loads its decoders). False when it
// cannot play anything.
bool StartMediaService();
// Closes the device the radio left open (the radio never closes its last track) and waits until
// the service has carried everything out; for the end of a run.
void StopMediaService(const std::string& device);
// Ends every playing track at once. Only the recording stand-in can; returns false otherwise (the
// real service plays tracks to their end by itself).
bool FinishPlayingTracks();
bool CanFinishTracks();

}  // namespace sim
