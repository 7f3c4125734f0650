// The settings step: ".\Trallio\Trallio.ini" read once at script start into the radio state. The
// station folders come first, then every [config] key from one table, kConfigKeys, in its order;
// no other module reads a key. The station checker prints its settings lines from the same table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "playback/radio_config.h"
#include "text/words.h"

namespace trallio {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";

constexpr int kConfigKeyCount = 13;
constexpr int32_t kDefaultHoldMilliseconds = 300;

// Each [config] key's text as the reader gave it (its default when the key is missing), in the
// table's order, for the station checker.
struct ConfigTexts {
    char text[kConfigKeyCount][kSettingsTextSize];
};

// What a key's checker lines show: the record after the settings step, every key's text, and
// whether the remembered state's file exists.
struct SettingsView {
    const ConfigTexts& texts;
    bool stateFileFound;
};

// Lines of text appended into a caller's buffer, cut at its end.
struct SettingLines {
    char* text;
    size_t size;
    size_t length;
};

// One [config] key: its name, the default the reader is given, what its text sets in the radio's
// record (and reads besides, such as the state file), the station checker's lines for it (none
// when the setting adds nothing to the report), and what the setting does while it is on, for the
// line the report opens with (nullptr while it is off; no function for a key that only tunes
// another setting).
struct ConfigKey {
    const char* key;
    const char* defaultText;
    void (*apply)(const char* text);
    void (*describe)(const SettingsView& view, SettingLines& lines);
    const char* (*whatIsOn)();
};

extern const ConfigKey kConfigKeys[kConfigKeyCount];

// Reads [config] `key` of the settings file into `value`, a buffer of kSettingsTextSize bytes that
// is zeroed first and always left terminated.
void ReadConfigValue(const char* key, const char* defaultValue, char* value);

// Fills the three station folders, then reads every key of kConfigKeys in its order and applies
// it. `texts`, when given, keeps each key's text.
void LoadSettings(ConfigTexts* texts = nullptr);

// duck_dialogue's value: one to three decimal digits, 0..100. Anything else (empty, a sign, other
// characters, more than 100) is -1, off.
int32_t ParseDuckPercent(const char* value);

// controller_hold_ms's value: one to four decimal digits, 100..2000. Anything else is -1, and the
// radio keeps the default hold.
int32_t ParseHoldMilliseconds(const char* value);

// The checker's lines of every key, in the table's order.
void DescribeSettings(const SettingsView& view, SettingLines& lines);

// One line per setting that is on, in the table's order: "On: key=text (what it does)".
void DescribeSettingsOn(const SettingsView& view, SettingLines& lines);

}  // namespace trallio
