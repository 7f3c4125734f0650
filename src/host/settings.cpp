// The settings step: the station folders and the media-player mode, read once at script start.
#include <cstring>

#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";

bool IsTrueText(const char* value) {
    // The first five bytes, terminator included, must be "True" or "true".
    return std::memcmp(value, "True", 5) == 0 || std::memcmp(value, "true", 5) == 0;
}

}  // namespace

void LoadSettings() {
    static const char* const kKeys[kStationCount] = {"radio 1", "radio 2", "radio 3"};
    static const char* const kDefaults[kStationCount] = {"Trallio\\Radio 1", "Trallio\\Radio 2",
                                                         "Trallio\\Radio 3"};
    for (int station = 0; station < kStationCount; ++station) {
        char* buffer = radio.stationBuffers[station];
        std::memset(buffer, 0, kSettingsTextSize);
        GetPrivateProfileStringA("RADIOS", kKeys[station], kDefaults[station], buffer, kSettingsTextSize,
                                 kSettingsPath);
        // A reader that fills the whole buffer without a terminator must not leave the text open.
        buffer[kSettingsTextSize - 1] = 0;
        radio.stationFolders[station] = buffer;
    }

    char defaultMode[kSettingsTextSize] = "False";
    char mode[kSettingsTextSize] = {};
    GetPrivateProfileStringA("config", "media_player_mode", defaultMode, mode, kSettingsTextSize, kSettingsPath);
    mode[kSettingsTextSize - 1] = 0;
    radio.mediaPlayerMode = IsTrueText(mode);
}

}  // namespace trallio
