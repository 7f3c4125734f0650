// The frame driver: once per game frame, whether the player may use the radio, the wheel's keys,
// the wheel itself, then one playback pass.
#pragma once

namespace trallio {

// One game frame: eligibility, the wheel's keys and drawing, then one playback pass.
void TickFrame();
// Blocks the attack, reload and cover controls for this frame.
void SuppressAttackControls();

}  // namespace trallio
