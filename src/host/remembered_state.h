// The radio that remembers: volume, chosen station and whether the player switched the radio off,
// kept in ".\Trallio\state.ini" between game starts when [config] "remember" is on.
#pragma once

#include <cstdint>

namespace trallio {

constexpr char kStatePath[] = ".\\Trallio\\state.ini";

// Reads the state file once (the settings step does, with remember on) into the radio state; anything missing or out of range gives the defaults
// (volume 90, no station, not off) for every value.
void LoadRememberedState();
// On an eligible frame: starts the remembered station once, as if the player had chosen it.
void StartRememberedStation();
// At the frame the wheel closes: writes the state file when a kept value has changed, to a
// temporary file renamed over the old one. A failed write leaves the old file and no other.
void SaveRememberedState();

}  // namespace trallio
