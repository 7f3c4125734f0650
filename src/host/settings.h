// The settings step: ".\Trallio\Trallio.ini" read once at script start into the radio state.
#pragma once

#include <cstdint>

#include "text/words.h"

namespace trallio {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";

// Reads [config] `key` of the settings file into `value`, a buffer of kSettingsTextSize bytes that
// is zeroed first and always left terminated.
void ReadConfigValue(const char* key, const char* defaultValue, char* value);

// Fills the three station folders and the media-player mode from ".\Trallio\Trallio.ini", then
// the sound-mix keys duck_dialogue and pause_in_menus.
void LoadSettings();

// [config] "order" into the radio's play order.
void LoadPlayOrderSetting();

// [config] "titles" into the radio state: whether the titles come from the tags.
void LoadTitlesSetting();

// duck_dialogue's value: one to three decimal digits, 0..100. Anything else (empty, a sign, other
// characters, more than 100) is -1, off.
int32_t ParseDuckPercent(const char* value);

}  // namespace trallio
