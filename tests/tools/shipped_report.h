// The settings file the zip ships, and what the station checker reports for it: the settings it
// turns on, which open the report, and each setting's lines under unicode_names' line.
#pragma once

#include <string>

#include "scratch_folder.h"

namespace checker_test {

// A file of the player's zip (package/) as the repository keeps it.
inline std::string PackageFile(const char* name) {
    return testing_support::ReadFile(std::string(TRALLIO_PACKAGE_DIR "/") + name);
}

// The text as the zip ships it: every line ended by "\r\n".
inline std::string WithWindowsLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

inline const char kShippedSettingsOn[] =
    "On: unicode_names=True (names in any language)\n"
    "On: duck_dialogue=40 (quieter while people speak)\n"
    "On: pause_in_menus=True (paused in the pause menu and in the background)\n"
    "On: remember=True (the volume and the station kept from one game to the next)\n"
    "On: titles=tags (track titles from the tags)\n"
    "On: controller=True (the wheel on a game pad)\n"
    "On: media_thread=True (media commands on a thread of the radio's own)\n"
    "On: loudness=album (every track as loud as the last, by its album gain)\n";

inline const char kShippedSettingLines[] =
    "Quieter while people speak (duck_dialogue): 40% of the volume\n"
    "Paused in the pause menu and in the background (pause_in_menus): on\n"
    "Remembered state (remember): on, no state file yet: volume 90, station none\n"
    "Track titles (titles): from the tags, \"Artist - Title\" (the file name when a track has no title tag)\n"
    "Wheel on a game pad (controller): on, hold INPUT_SELECT_RADAR_MODE for 300 ms to open the wheel\n"
    "Media commands (media_thread): on a thread of the radio's own\n"
    "Every track as loud as the last (loudness): by its album gain tag (the track gain when it has none)\n"
    "  A track without a gain tag plays at -7 dB (loudness_default)\n";

}  // namespace checker_test
