// The one process-wide record through which the frame driver, the wheel and the playback
// controller talk. Fields are read and written directly, only on the script fiber. The radio's
// own fields come first, under their names; each optional feature keeps its state in one
// sub-record, declared beside the feature's code.
#pragma once

#include <cstdint>

#include "platform/dir_stream.h"
#include "audio/loudness.h"
#include "playback/play_order.h"
#include "playback/playback.h"
#include "playback/radio_config.h"
#include "playback/sound_mix.h"
#include "playback/track_title.h"

namespace trallio {

// The shared "none" text: currentFolder and currentTrack mean "no folder" / "no track" by
// referring to this very text; tests compare the reference, never the contents.
extern const char emptyText[1];

constexpr int kStationCount = 3;
constexpr int kMaxVolume = 500;

// The radio that remembers (remember = True; its code is in host/remembered_state.cpp, above this
// record's layer): what the state file holds (station -1: none), and whether the remembered
// station waits for the first eligible frame.
struct RememberedState {
    bool startPending = false;
    bool off = false;
    int8_t station = -1;
    int32_t volume = 90;
};

// The wheel on a game pad (controller = True; its code is in wheel/pad.cpp, above this record's
// layer): the wheel button held since holdStart (milliseconds), the wheel open by the pad, B's
// cancel waiting for the button to be let go, the highlighted slot (0: none) and, for the frame's
// drawing, the bumpers held and A just pressed.
struct PadState {
    bool holding = false;
    bool open = false;
    bool cancelled = false;
    int8_t highlight = 0;
    bool lowerHeld = false;
    bool raiseHeld = false;
    bool skipPressed = false;
    uint32_t holdStart = 0;
};

struct RadioState {
    const char* stationFolders[kStationCount] = {"Trallio\\Radio 1", "Trallio\\Radio 2", "Trallio\\Radio 3"};
    const char* currentFolder = emptyText;
    const char* currentTrack = emptyText;
    int32_t volume = 90;
    DIR* folderStream = nullptr;
    dirent* folderEntry = nullptr;
    bool mediaPlayerMode = false;
    bool radioOn = false;
    bool stoppedByUser = false;
    bool paused = false;
    bool wheelOpen = false;
    bool skipRequested = false;
    bool stationSwitchPending = false;
    bool trackActive = false;
    bool folderOpen = false;
    bool clickLatch = false;

    // Storage owned by the record for its whole life: the three station texts the settings
    // step fills, and the copy of the last track name kept when the stream it was read from is
    // closed (so currentTrack never dangles).
    char stationBuffers[kStationCount][kSettingsTextSize] = {};
    char lastTrackName[sizeof(dirent::d_name)] = {};

    RadioConfig config;          // the [config] keys beyond media_player_mode
    Refusals refusals;           // files the media service refuses (playback/playback.h)
    MediaAnswers answers;        // media_thread: the answer awaited (playback/playback.h)
    TrackListing listing;        // name and shuffle order (playback/play_order.h)
    char trackTitle[kTrackTitleSize] = {};  // titles = tags: the tag line, empty for the file name
    SoundMixState mix;           // duck_dialogue (playback/sound_mix.h)
    RememberedState remembered;  // remember
    PadState pad;                // controller
    LoudnessState levelling;     // loudness (playback/loudness.h)
};

extern RadioState radio;

// Puts every field back to its value at module load. The product never calls it (the record is
// initialised once when the module loads); hosts that start the radio afresh, like tests, do.
void ResetRadioState();

}  // namespace trallio
