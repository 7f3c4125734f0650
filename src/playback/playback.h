// The radio's playback state machine: turns the requests left in the radio state into
// media-control commands, once per frame.
#pragma once

#include <cstdint>

#include "playback/track_title.h"

#include "playback/radio_config.h"

namespace trallio {

constexpr int kMaxOpensPerFrame = 2;
// "No track in " + a station text + " would play. Run TrallioCheck.exe" and its terminator.
constexpr int kRefusedMessageSize = kSettingsTextSize + 64;

// Refused tracks. trackRefused: the current track's open was refused and it is closed already;
// the next pass goes straight on to the next file. opensThisFrame counts the opens sent since the
// frame began (at most kMaxOpensPerFrame). loopSentOpen: the current walk of the folder sent an
// open; loopAcceptedOpen: a track of it was accepted, its open and then its status query (a track
// whose status is refused counts as refused). stationRefused: a whole walk was refused; the radio
// stays silent until a station is chosen again. message: the text of the refused-station message,
// built when it is shown.
struct Refusals {
    bool trackRefused = false;
    int32_t opensThisFrame = 0;
    bool loopSentOpen = false;
    bool loopAcceptedOpen = false;
    bool stationRefused = false;
    char message[kRefusedMessageSize] = {};
};

// media_thread: the open sent for the current track and not yet answered (`ticket` names it),
// whether the message for a media service that does not answer is showing, and the now-playing
// text of the last track whose open the service accepted.
struct MediaAnswers {
    uint32_t ticket = 0;
    int32_t startLevel = 0;  // the level in force the open's first volume was queued with
    bool openPending = false;
    bool hungShown = false;
    char nowPlaying[kNowPlayingSize] = {};
};

// The current track's volume command at the level in force (levelled by its gain with loudness).
void SendTrackVolume();

// One playback pass; runs as the last step of every frame. While it walks past folder entries that
// are not tracks it yields one frame per entry, so one call can span several frames.
void UpdatePlayback();

// Makes `folder` (one of the station texts) the current station; the next pass with the radio on
// plays it from its first track. Choosing the current station again changes nothing.
void SelectStation(const char* folder);

}  // namespace trallio
