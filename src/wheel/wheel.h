// The open radio wheel, one frame: draws it, hit-tests the cursor against each slot, and turns
// clicks and held arrows into radio requests.
#pragma once

namespace trallio {

void DrawWheel();

}  // namespace trallio
