// The one process-wide record through which the frame driver, the wheel and the playback
// controller talk. Fields are read and written directly, only on the script fiber.
#pragma once

#include <cstdint>

#include "platform/dir_stream.h"

namespace trallio {

// The shared "none" text: currentFolder and currentTrack mean "no folder" / "no track" by
// referring to this very text; tests compare the reference, never the contents.
extern const char emptyText[1];

constexpr int kStationCount = 3;
constexpr int kSettingsTextSize = 255;
constexpr int kMaxVolume = 500;
constexpr int kMaxOpensPerFrame = 2;
// The now-playing text's second line from the track's tags, and its terminator.
constexpr int kTrackTitleSize = 64;
// "No track in " + a station text + " would play. Run TrallioCheck.exe" and its terminator.
constexpr int kRefusedMessageSize = kSettingsTextSize + 64;

// The order in which a station's tracks play: the platform's own order of the folder, the natural
// order of the names, or a new random order on every loop.
enum class PlayOrder : uint8_t { kFolder, kName, kShuffle };

// A station's audio-file names in name or shuffle order, read once per loop. One heap block holds
// every name (each zero-terminated) and, after them, the play order as offsets of the names.
struct TrackListing {
    char* buffer = nullptr;
    uint32_t size = 0;       // bytes in use
    uint32_t capacity = 0;   // bytes obtained
    uint32_t orderStart = 0;  // byte offset of the order table
    uint32_t count = 0;      // tracks in the order
    uint32_t next = 0;       // the order's next position
    const char* folder = nullptr;  // the station text the buffer was read for
};

struct RadioState {
    const char* stationFolders[kStationCount] = {"Trallio\\Radio 1", "Trallio\\Radio 2", "Trallio\\Radio 3"};
    const char* currentFolder = emptyText;
    const char* currentTrack = emptyText;
    int32_t volume = 90;
    DIR* folderStream = nullptr;
    dirent* folderEntry = nullptr;
    bool mediaPlayerMode = false;
    bool unicodeNames = false;  // names are UTF-8 end to end: settings, directory entries, media commands
    bool radioOn = false;
    bool stoppedByUser = false;
    bool paused = false;
    bool wheelOpen = false;
    bool skipRequested = false;
    bool stationSwitchPending = false;
    bool trackActive = false;
    bool folderOpen = false;
    bool clickLatch = false;

    // Refused tracks. trackRefused: the current track's open was refused and it is closed already;
    // the next pass goes straight on to the next file. opensThisFrame counts the opens sent since
    // the frame began (at most kMaxOpensPerFrame). loopSentOpen: the current walk of the folder
    // sent an open; loopAcceptedOpen: a track of it was accepted, its open and then its status
    // query (a track whose status is refused counts as refused). stationRefused: a whole walk
    // was refused; the radio stays silent until a station is chosen again.
    bool trackRefused = false;
    int32_t opensThisFrame = 0;
    bool loopSentOpen = false;
    bool loopAcceptedOpen = false;
    bool stationRefused = false;

    PlayOrder playOrder = PlayOrder::kFolder;
    TrackListing listing;
    uint64_t shuffleState = 0x9E3779B97F4A7C15u;  // the shuffle's generator, seeded at script start

    // titles = tags: the second line of the now-playing text comes from the track's tags, read
    // when it starts. trackTitle empty: the track has no title tag, and the file name shows.
    bool titlesFromTags = false;
    char trackTitle[kTrackTitleSize] = {};

    // The radio that remembers: what the state file holds (station -1: none), and whether the
    // remembered station waits for the first eligible frame.
    bool remember = false;
    bool rememberedStartPending = false;
    bool savedOff = false;
    int8_t savedStation = -1;
    int32_t savedVolume = 90;

    // The game's sound mix (both off unless their settings are on). duckPercent: the share of
    // the volume a track plays at while someone speaks, 0..100, or -1 for off. dialogueDucked:
    // that lowered level is in force; duckReleasing: both voices have been quiet since
    // duckReleaseStart (milliseconds), and the level rises again one second after it.
    int32_t duckPercent = -1;
    bool pauseInMenus = false;
    bool dialogueDucked = false;
    bool duckReleasing = false;
    uint32_t duckReleaseStart = 0;

    // Storage owned by the record for its whole life: the three station texts the settings
    // step fills, and the copy of the last track name kept when the stream it was read from is
    // closed (so currentTrack never dangles).
    char stationBuffers[kStationCount][kSettingsTextSize] = {};
    char lastTrackName[sizeof(dirent::d_name)] = {};
    // The text of the refused-station message, built when it is shown.
    char refusedMessage[kRefusedMessageSize] = {};

    // The track that ended the station's previous loop in shuffle order.
    char loopLastTrack[sizeof(dirent::d_name)] = {};
};

extern RadioState radio;

// Puts every field back to its value at module load. The product never calls it (the record is
// initialised once when the module loads); hosts that start the radio afresh, like tests, do.
void ResetRadioState();

}  // namespace trallio
