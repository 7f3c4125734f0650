// The settings step: ".\Trallio\Trallio.ini" read once at script start into the radio state.
#pragma once

namespace trallio {

// Fills the three station folders and the media-player mode from ".\Trallio\Trallio.ini".
void LoadSettings();

}  // namespace trallio
