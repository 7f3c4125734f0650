// The settings step: ".\Trallio\Trallio.ini" read once at script start into the radio state.
#pragma once

#include <cstdint>

namespace trallio {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";

// The rule of every on/off setting: the whole text is "True" or "true".
bool IsTrueText(const char* value);

// The rule of every word setting: `value` equals `word` with ASCII letters in any case.
bool EqualsIgnoringCase(const char* value, const char* word);

// Reads [config] `key` of the settings file into `value`, a buffer of kSettingsTextSize bytes that
// is zeroed first and always left terminated.
void ReadConfigValue(const char* key, const char* defaultValue, char* value);

// Fills the three station folders and the media-player mode from ".\Trallio\Trallio.ini", then
// the sound-mix keys duck_dialogue and pause_in_menus.
void LoadSettings();

// duck_dialogue's value: one to three decimal digits, 0..100. Anything else (empty, a sign, other
// characters, more than 100) is -1, off.
int32_t ParseDuckPercent(const char* value);

}  // namespace trallio
