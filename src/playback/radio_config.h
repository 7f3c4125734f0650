// The radio's configuration: what the settings step read from [config] of ".\Trallio\Trallio.ini"
// at script start, beyond the media-player mode. Every default keeps the radio as it always was.
#pragma once

#include <cstdint>

#include "audio/loudness.h"
#include "playback/play_order.h"

namespace trallio {

// The bytes of one settings value, terminator included, as the settings reader is given them.
constexpr int kSettingsTextSize = 255;

struct RadioConfig {
    bool unicodeNames = false;  // names are UTF-8 end to end: settings, directory entries, media commands
    PlayOrder playOrder = PlayOrder::kFolder;
    bool titlesFromTags = false;  // titles = tags
    bool remember = false;        // the state file keeps the volume and the station
    // duck_dialogue: the share of the volume a track plays at while someone speaks, 0..100, or -1
    // for off; pause_in_menus: the pause menu and another window in front count as not riding.
    int32_t duckPercent = -1;
    bool pauseInMenus = false;
    // controller: a game pad opens and works the wheel while it is the input in use; the control
    // that opens it (a game control name, hashed by the game) and how long it is held first.
    bool controller = false;
    char controllerButton[kSettingsTextSize] = "INPUT_SELECT_RADAR_MODE";
    int32_t controllerHoldMs = 300;
    bool mediaThread = false;  // every media command made by one thread of the radio's own
    // loudness: each track levelled by its track or album gain tag; loudness_default: the gain in
    // dB of a track without one.
    Loudness loudness = Loudness::kOff;
    double loudnessDefault = kDefaultTrackGain;
};

}  // namespace trallio
