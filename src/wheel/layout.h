// The wheel's fixed appearance and clickable areas, indexed by WheelSlot.
#pragma once

#include <cstdint>

namespace trallio {

enum WheelSlot : int {
    Background = 0,
    Off = 1,
    Station1 = 2,
    Station2 = 3,
    Station3 = 4,
    VolumeDown = 5,
    VolumeUp = 6,
    Skip = 7,
};

constexpr int kWheelSlotCount = 8;

struct SpriteSpec {
    const char* dictionary;
    const char* texture;
    float x;  // top-left corner and size, fractions of the screen
    float y;
    float width;
    float height;
    float heading;
    int32_t red;
    int32_t green;
    int32_t blue;
    int32_t alpha;
};

struct HitRect {
    float x;  // top-left corner and size, fractions of the game window's client area
    float y;
    float width;
    float height;
};

extern const SpriteSpec wheelSpritesHover[kWheelSlotCount];
extern const SpriteSpec wheelSpritesIdle[kWheelSlotCount];
extern const HitRect wheelHitRects[kWheelSlotCount];

}  // namespace trallio
