// Where the stand-ins' players point on the wheel: a slot's centre as fractions of the game
// window's client area, and a fraction turned into a client pixel (truncated, as a cursor
// position is). The simulator, the tests, the fuzzers and the benchmarks all aim with these.
#pragma once

#include "wheel/layout.h"

namespace fakehost {

struct WheelPoint {
    float x;
    float y;
};

inline WheelPoint SlotCentre(int slot) {
    const trallio::HitRect& r = trallio::wheelHitRects[slot];
    return {r.x + r.width / 2, r.y + r.height / 2};
}

inline int ClientPixel(float fraction, int size) {
    return static_cast<int>(fraction * static_cast<float>(size));
}

}  // namespace fakehost
