// The radio in the game's sound mix: the track lowered while someone speaks (duck_dialogue), and
// the frames on which the pause menu is open or the game sits behind another window
// (pause_in_menus). Nothing here asks the game anything while its setting is off.
#pragma once

#include <cstdint>

namespace trallio {

// dialogueDucked: the lowered level is in force; duckReleasing: both voices have been quiet since
// duckReleaseStart (milliseconds), and the level rises again one second after it.
struct SoundMixState {
    bool dialogueDucked = false;
    bool duckReleasing = false;
    uint32_t duckReleaseStart = 0;
};

// The volume the track plays at now: the wheel's volume, or while someone speaks that volume times
// duckPercent / 100, rounded down. The wheel's own volume is never changed.
int32_t VolumeInForce();

// The level every volume command carries: the level in force, levelled by the current track's
// gain with loudness on (LevelledVolume), as it is with loudness off.
int32_t TrackVolume();

// With duck_dialogue on and a track playing: asks whether a conversation plays and, only if not,
// whether `player` speaks, and moves the level (lowered at once, back one second after both fall
// quiet). True when the level in force changed on this frame.
bool UpdateDialogueDucking(uint32_t player);

// Whether the pause menu is open or the game window is not the foreground window. Only called
// with pause_in_menus on. Without a game window to compare with, the game counts as in front.
bool IsGameOutOfPlay();

}  // namespace trallio
