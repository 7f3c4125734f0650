// The settings step: the station folders, the media-player mode, the Unicode-names switch and the
// sound-mix keys, read once at script start.
#include <cstdint>
#include <cstring>

#include "host/settings.h"
#include "platform/file_bytes.h"
#include "platform/win32.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"
#include "text/ini_text.h"

namespace trallio {

namespace {

// The settings file as read for Unicode names: its raw bytes, and the same text as UTF-8 (a
// UTF-16 unit becomes at most three bytes, an invalid byte the three of U+FFFD). Read once at
// script start, so the buffers are static rather than on the fiber's stack.
constexpr size_t kSettingsFileBytes = 32u << 10;
char settingsBytes[kSettingsFileBytes];
char settingsText[kSettingsFileBytes * 3 + 1];

const char* const kKeys[kStationCount] = {"radio 1", "radio 2", "radio 3"};

// The station folders again from the file's own text, which may be UTF-8 (with or without a byte
// order mark) or UTF-16 with one. A folder the text does not name keeps what the first read gave.
void LoadUnicodeFolders() {
    const size_t length = ReadFileBytes(kSettingsPath, settingsBytes, sizeof settingsBytes);
    const size_t textLength = SettingsBytesToUtf8(settingsBytes, length, settingsText, sizeof settingsText);
    for (int station = 0; station < kStationCount; ++station) {
        FindIniValue(settingsText, textLength, "RADIOS", kKeys[station], radio.stationBuffers[station],
                     kSettingsTextSize);
    }
}

}  // namespace

int32_t ParseDuckPercent(const char* value) {
    int32_t percent = 0;
    int digits = 0;
    for (; value[digits] != 0; ++digits) {
        const char c = value[digits];
        if (c < '0' || c > '9' || digits == 3) {
            return -1;
        }
        percent = percent * 10 + (c - '0');
    }
    return digits == 0 || percent > 100 ? -1 : percent;
}

void LoadSettings() {
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
    char mode[kSettingsTextSize];
    ReadConfigValue("media_player_mode", defaultMode, mode);
    radio.mediaPlayerMode = IsTrueText(mode);

    char names[kSettingsTextSize];
    ReadConfigValue("unicode_names", defaultMode, names);
    radio.config.unicodeNames = IsTrueText(names);
    if (radio.config.unicodeNames) {
        LoadUnicodeFolders();
    }

    // The game's sound mix, both off unless set.
    char value[kSettingsTextSize];
    ReadConfigValue("duck_dialogue", "", value);
    radio.config.duckPercent = ParseDuckPercent(value);

    ReadConfigValue("pause_in_menus", "False", value);
    radio.config.pauseInMenus = IsTrueText(value);
}

void LoadPlayOrderSetting() {
    char value[kSettingsTextSize];
    ReadConfigValue("order", "folder", value);
    radio.config.playOrder = ParsePlayOrder(value);
}

void LoadTitlesSetting() {
    char value[kSettingsTextSize];
    ReadConfigValue("titles", "file", value);
    radio.config.titlesFromTags = ParseTitlesFromTags(value);
}

void ReadConfigValue(const char* key, const char* defaultValue, char* value) {
    std::memset(value, 0, kSettingsTextSize);
    GetPrivateProfileStringA("config", key, defaultValue, value, kSettingsTextSize, kSettingsPath);
    // A reader that fills the whole buffer without a terminator must not leave the text open.
    value[kSettingsTextSize - 1] = 0;
}

}  // namespace trallio
