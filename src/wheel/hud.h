// HUD drawing primitives: a centred white text line, and a sprite given by its top-left corner.
#pragma once

#include <cstdint>

namespace trallio {

void DrawHudText(const char* text, float y, float firstScale, float secondScale);
void DrawHudSprite(const char* dictionary, const char* texture, float x, float y, float width, float height,
                   float heading, int32_t red, int32_t green, int32_t blue, int32_t alpha);

}  // namespace trallio
