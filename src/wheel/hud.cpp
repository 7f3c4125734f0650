#include "wheel/hud.h"

#include "game/native_call.h"
#include "game/natives.h"

namespace trallio {

namespace {

// Draws a sprite centred on the given point.
void DrawSprite(const char* dictionary, const char* texture, float centreX, float centreY, float width,
                float height, float heading, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    CallNative(native::kDrawSprite, dictionary, texture, centreX, centreY, width, height, heading, red, green,
               blue, alpha, 1);
}

}  // namespace

void DrawHudText(const char* text, float y, float firstScale, float secondScale) {
    CallNative(native::kSetTextColor, 255, 255, 255, 255);
    CallNative(native::kSetTextScale, firstScale, secondScale);
    CallNative(native::kSetTextCentre, 1);
    const GameValue label{CallNative64(native::kCreateVarString, 10, "LITERAL_STRING", text)};
    CallNative(native::kDisplayText, label, 0.51f, y);
}

void DrawHudSprite(const char* dictionary, const char* texture, float x, float y, float width, float height,
                   float heading, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    if (CallNative32(native::kHasTextureDictLoaded, dictionary) == 0) {
        CallNative(native::kRequestTextureDict, dictionary, 0);
    }
    DrawSprite(dictionary, texture, x + width * 0.5f, y + height * 0.5f, width, height, heading, red, green,
               blue, alpha);
    CallNative(native::kReleaseTextureDict, dictionary);
}

}  // namespace trallio
