// The settings step: ".\Trallio\Trallio.ini" read once at script start into the radio state.
#pragma once

#include <cstdint>

namespace trallio {

// Fills the three station folders and the media-player mode from ".\Trallio\Trallio.ini", then
// the sound-mix keys duck_dialogue and pause_in_menus.
void LoadSettings();

// duck_dialogue's value: one to three decimal digits, 0..100. Anything else (empty, a sign, other
// characters, more than 100) is -1, off.
int32_t ParseDuckPercent(const char* value);

}  // namespace trallio
