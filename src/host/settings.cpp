// The settings step: the station folders, then every [config] key from the one table, read once
// at script start.
#include <cstdint>
#include <cstring>

#include "audio/media_thread.h"
#include "host/remembered_state.h"
#include "host/settings.h"
#include "host/settings_lines.h"
#include "platform/file_bytes.h"
#include "platform/win32.h"
#include "audio/loudness.h"
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

// A whole number of one to `maxDigits` decimal digits, from `low` to `high`; anything else is -1.
int32_t ParseBoundedNumber(const char* value, int maxDigits, int32_t low, int32_t high) {
    int32_t number = 0;
    int digits = 0;
    for (; value[digits] != 0; ++digits) {
        const char c = value[digits];
        if (c < '0' || c > '9' || digits == maxDigits) {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return digits == 0 || number < low || number > high ? -1 : number;
}

}  // namespace

int32_t ParseDuckPercent(const char* value) {
    return ParseBoundedNumber(value, 3, 0, 100);
}

int32_t ParseHoldMilliseconds(const char* value) {
    return ParseBoundedNumber(value, 4, 100, 2000);
}

namespace {

void ApplyMediaPlayerMode(const char* text) {
    radio.mediaPlayerMode = IsTrueText(text);
}

void ApplyDuckDialogue(const char* text) {
    radio.config.duckPercent = ParseDuckPercent(text);
}

void NothingMore() {}

// An on/off setting of the configuration record, on only for "True" or "true"; `Then` runs when
// it is on.
template <bool RadioConfig::*Field, void (*Then)() = NothingMore>
void ApplySwitch(const char* text) {
    radio.config.*Field = IsTrueText(text);
    if (radio.config.*Field) {
        Then();
    }
}

void ApplyOrder(const char* text) {
    radio.config.playOrder = ParsePlayOrder(text);
}

// media_thread: the media commands go to the thread's queue from now on.
void SendThroughMediaThread() {
    mediaThreadOn = true;
}

void ApplyTitles(const char* text) {
    radio.config.titlesFromTags = ParseTitlesFromTags(text);
}

// An empty name keeps the default button.
void ApplyControllerButton(const char* text) {
    if (text[0] != 0) {
        std::memcpy(radio.config.controllerButton, text, kSettingsTextSize);
    }
}

void ApplyControllerHold(const char* text) {
    const int32_t milliseconds = ParseHoldMilliseconds(text);
    radio.config.controllerHoldMs = milliseconds < 0 ? kDefaultHoldMilliseconds : milliseconds;
}

void ApplyLoudness(const char* text) {
    radio.config.loudness = ParseLoudness(text);
}

// A value that is no gain from -20 to 20 dB keeps the default.
void ApplyLoudnessDefault(const char* text) {
    ParseLoudnessDefault(text, &radio.config.loudnessDefault);
}

}  // namespace

// The order is the order of the reads: the radio's own key first, then each setting as it came.
const ConfigKey kConfigKeys[kConfigKeyCount] = {
    {"media_player_mode", "False", ApplyMediaPlayerMode, DescribeMediaPlayerMode, MediaPlayerModeOn},
    {"unicode_names", "False", ApplySwitch<&RadioConfig::unicodeNames, LoadUnicodeFolders>, DescribeUnicodeNames,
     UnicodeNamesOn},
    {"duck_dialogue", "", ApplyDuckDialogue, DescribeDuckDialogue, DuckDialogueOn},
    {"pause_in_menus", "False", ApplySwitch<&RadioConfig::pauseInMenus>, DescribePauseInMenus, PauseInMenusOn},
    {"order", "folder", ApplyOrder, DescribeOrder, OrderOn},
    {"remember", "False", ApplySwitch<&RadioConfig::remember, LoadRememberedState>, DescribeRemember, RememberOn},
    {"titles", "file", ApplyTitles, DescribeTitles, TitlesOn},
    {"controller", "False", ApplySwitch<&RadioConfig::controller>, DescribeController, ControllerOn},
    {"controller_button", "INPUT_SELECT_RADAR_MODE", ApplyControllerButton, DescribeControllerButton, nullptr},
    {"controller_hold_ms", "300", ApplyControllerHold, DescribeControllerHold, nullptr},
    {"media_thread", "False", ApplySwitch<&RadioConfig::mediaThread, SendThroughMediaThread>, DescribeMediaThread,
     MediaThreadOn},
    {"loudness", "off", ApplyLoudness, DescribeLoudness, LoudnessOn},
    {"loudness_default", "-7", ApplyLoudnessDefault, DescribeLoudnessDefault, nullptr},
};

void LoadSettings(ConfigTexts* texts) {
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
    for (int row = 0; row < kConfigKeyCount; ++row) {
        char value[kSettingsTextSize];
        char* text = texts != nullptr ? texts->text[row] : value;
        ReadConfigValue(kConfigKeys[row].key, kConfigKeys[row].defaultText, text);
        kConfigKeys[row].apply(text);
    }
}

void DescribeSettings(const SettingsView& view, SettingLines& lines) {
    for (const ConfigKey& key : kConfigKeys) {
        key.describe(view, lines);
    }
}

void DescribeSettingsOn(const SettingsView& view, SettingLines& lines) {
    for (int row = 0; row < kConfigKeyCount; ++row) {
        const char* what = kConfigKeys[row].whatIsOn != nullptr ? kConfigKeys[row].whatIsOn() : nullptr;
        if (what != nullptr) {
            AddSettingOnLine(lines, kConfigKeys[row].key, view.texts.text[row], what);
        }
    }
}

void ReadConfigValue(const char* key, const char* defaultValue, char* value) {
    std::memset(value, 0, kSettingsTextSize);
    GetPrivateProfileStringA("config", key, defaultValue, value, kSettingsTextSize, kSettingsPath);
    // A reader that fills the whole buffer without a terminator must not leave the text open.
    value[kSettingsTextSize - 1] = 0;
}

}  // namespace trallio
