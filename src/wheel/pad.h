// The wheel on a game pad (controller = True): while the game says the pad is the input in use,
// the wheel button (controller_button) held for controller_hold_ms opens the wheel, the right
// stick highlights a station or off, letting go chooses it, A skips, the bumpers move the volume
// and B cancels. Nothing here is called while the setting is off.
#pragma once

namespace trallio {

// One eligible frame: asks whether the keyboard and mouse are in use and, only if not, disables
// and reads the wheel button, and while the wheel is open the stick and the wheel's buttons. A
// release with a slot highlighted clicks it. True while the pad holds the wheel open.
bool UpdatePadWheel();

// Forgets the held button and the open wheel (the keyboard in use, the button let go, or a frame on
// which the radio may not be used).
void ResetPadWheel();

}  // namespace trallio
