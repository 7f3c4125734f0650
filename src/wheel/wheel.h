// The open radio wheel, one frame: draws it, hit-tests the cursor against each slot (or, opened
// with a game pad, takes the pad's choices), and turns clicks and held arrows into radio requests.
#pragma once

namespace trallio {

// `pad`: the wheel is held open with a game pad; the mouse is neither read nor given a cursor style,
// and a line under the volume names the pad's buttons.
void DrawWheel(bool pad = false);
// A click on `slot` (Off, a station or Skip): the front-end sound, then what the slot does.
void ClickSlot(int slot);

}  // namespace trallio
