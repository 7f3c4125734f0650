// Scenario steps as data: each step is what the player and the game do before one frame, and the
// media commands the plug-in must send in that frame. PlaySteps plays a table of them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "rig.h"
#include "session.h"

namespace wine_session {

// Media commands as the plug-in sends them.
using Texts = std::vector<std::wstring>;

enum SoundFlag { kConversation = 1, kSpeech = 2, kPauseMenu = 4 };

// What changes before the frame (a field left at -1 changes nothing), and what the frame sends.
struct FrameStep {
    std::vector<std::wstring> media;
    int mounted = -1;                // the player on a mount (1) or on foot (0)
    int wheelKeys = -1;              // Q and R pressed (1) or let go (0), the presses checked
    int leftButton = -1;             // the left button pressed (1) or let go (0), checked
    int sound = -1;                  // the SoundFlags the game answers yes to
    long tick = -1;                  // the plug-in's clock in ms; only the volume commands compared
    int gameInFront = -1;            // the game window (1) or the desktop (0) in front
    const wchar_t* reply = nullptr;  // the first command's reply

    FrameStep& Mounted(bool on) { mounted = on; return *this; }
    FrameStep& WheelKeys(bool down) { wheelKeys = down; return *this; }
    FrameStep& LeftButton(bool down) { leftButton = down; return *this; }
    FrameStep& Sound(int flags) { sound = flags; return *this; }
    FrameStep& Tick(long ms) { tick = ms; return *this; }
    FrameStep& GameInFront(bool front) { gameInFront = front; return *this; }
    FrameStep& Reply(const wchar_t* text) { reply = text; return *this; }
};

inline FrameStep Sends(std::vector<std::wstring> media) {
    FrameStep step;
    step.media = std::move(media);
    return step;
}

// The rig a table of steps runs on; desktop and window only for the steps that use them.
struct FrameScript {
    const Session& session;
    rig::MediaWatch& watch;
    const rig::DesktopWatch* desktop = nullptr;
    HWND window = nullptr;
};

// Plays the steps in order, one frame each, checking each frame's media commands (and reply);
// gives the frames' records for the checks of natives a table does not hold.
std::vector<FrameRecord> PlaySteps(const FrameScript& script, const std::vector<FrameStep>& steps,
                                   std::vector<rig::MediaCommand>* history = nullptr);

// Creates the game window and loads the plug-in; attaches `watch` (if given) to the recording
// winmm, or with `systemWinmm` to the system's, checking that the recording one is not there. The
// window, or nullptr (the failed step checked) when a step failed.
HWND OpenGame(Session& session, rig::MediaWatch* watch, bool systemWinmm = false);

// Loads the plug-in and attaches `watch` to the recording winmm and `desktop` (if given) to the
// plug-in's imports; false, the failed step checked, when a step failed.
bool LoadWatched(Session& session, rig::MediaWatch& watch, rig::DesktopWatch* desktop = nullptr);

// Writes the settings (station 1 on the folder Ride, then `more`) and Ride\a.mp3, and loads the
// plug-in as LoadWatched does.
bool LoadRide(Session& session, const std::string& more, rig::MediaWatch& watch, rig::DesktopWatch& desktop);

// Rides, runs a frame, opens the wheel and presses the left button over station 1, then runs
// frames until a track opens as RunUntil does (at most `limit`, their commands into `media`) and
// lets go of the button, Q and R left held; gives RunUntil's count.
int ClickStationOne(const Session& session, rig::MediaWatch& watch, HWND window, int limit,
                    std::vector<rig::MediaCommand>& media);

// Opens the game and clicks station 1 on the folder `station`, then plays its `names` in turn: the
// frame after each open goes to `onFrame` with the track's index, and the track is ended (the next
// one opening). Every media command is appended to `media`; the game is closed at the end. False,
// the failed step checked, when the game did not open.
bool PlayEachTrack(Session& session, const std::wstring& station, const std::vector<std::wstring>& names,
                   std::vector<rig::MediaCommand>& media,
                   const std::function<void(size_t, const FrameRecord&)>& onFrame);

// Writes files of any bytes, named `names`, into `folder` of the game folder, each write checked.
void WriteTracks(const Session& session, const std::wstring& folder, const std::vector<std::wstring>& names);

// `names` in the order of their places in `listing`, the ones it does not hold last.
std::vector<std::wstring> InListingOrder(const std::vector<std::wstring>& listing,
                                         const std::vector<std::wstring>& names);

// The bytes of a file, or "" if it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

// `count` frames as one record: their natives and media commands in order.
FrameRecord RunFrames(const Session& session, rig::MediaWatch& watch, int count);

}  // namespace wine_session
