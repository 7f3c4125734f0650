// The simulator's game pad: a real one through SDL's game-controller API when one is connected,
// and keys standing in for it otherwise (G pad in use, H the wheel button, the arrow keys the right
// stick, Z A, X B, [ LB, ] RB).
#pragma once

#include <SDL.h>

#include "fake_host.h"

namespace sim {

// The first game controller SDL knows, opened as it is connected; null when none is.
struct PadDevice {
    SDL_GameController* controller = nullptr;
};

// Opens a newly connected controller, closes a removed one, and marks the pad in use when one of
// its buttons is pressed or its right stick moves. True when the event was the pad's.
bool HandlePadEvent(const SDL_Event& event, PadDevice& device, fakehost::PadInput& scripted);
void ClosePad(PadDevice& device);

// This frame's pad: the scripted one, with the real controller's buttons and stick or the keys
// that stand in for them held on top.
fakehost::PadInput ReadPad(const PadDevice& device, const Uint8* keys, const fakehost::PadInput& scripted);

}  // namespace sim
