#include "wheel/layout.h"

namespace trallio {

namespace {

// One geometry for all three tables; the hover and idle looks differ only in colour. Three of the
// values sit a float step or two from the nearest short decimal, and are written as stored.
struct SlotLook {
    const char* dictionary;
    const char* texture;
    HitRect rect;
};

constexpr SlotLook kSlots[kWheelSlotCount] = {
    {"hud_radial_menu", "radial_menu_center_bg", {0.38f, 0.35f, 0.26f, 0.44f}},
    {"menu_textures", "cross", {0.453f, 0.82f, 0.1f, 0.14f}},
    {"hud_radial_menu", "radial_slot_shape_4_0", {0.36f, 0.14999999f, 0.3f, 0.23f}},
    {"hud_radial_menu", "radial_slot_shape_4_3", {0.245f, 0.33499998f, 0.15f, 0.48f}},
    {"hud_radial_menu", "radial_slot_shape_4_1", {0.62f, 0.33499998f, 0.15f, 0.48f}},
    {"generic_textures", "selection_arrow_left", {0.08000001f, 0.5f, 0.06f, 0.1f}},
    {"generic_textures", "selection_arrow_right", {0.85f, 0.5f, 0.06f, 0.1f}},
    {"itemtype_textures", "itemtype_player_deadeye", {0.48f, 0.63f, 0.06f, 0.06f}},
};

struct Colour {
    int32_t red, green, blue, alpha;
};

constexpr SpriteSpec MakeSprite(int slot, Colour colour) {
    return {kSlots[slot].dictionary, kSlots[slot].texture, kSlots[slot].rect.x, kSlots[slot].rect.y,
            kSlots[slot].rect.width, kSlots[slot].rect.height, 0.0f, colour.red, colour.green,
            colour.blue, colour.alpha};
}

constexpr Colour kBlack{0, 0, 0, 255};
constexpr Colour kRed{220, 0, 0, 255};
constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kDarkGrey{41, 41, 41, 255};
constexpr Colour kFadedBlack{0, 0, 0, 150};

}  // namespace

const SpriteSpec wheelSpritesHover[kWheelSlotCount] = {
    MakeSprite(Background, kBlack), MakeSprite(Off, kRed),          MakeSprite(Station1, kDarkGrey),
    MakeSprite(Station2, kDarkGrey), MakeSprite(Station3, kDarkGrey), MakeSprite(VolumeDown, kBlack),
    MakeSprite(VolumeUp, kBlack),   MakeSprite(Skip, kDarkGrey),
};

const SpriteSpec wheelSpritesIdle[kWheelSlotCount] = {
    MakeSprite(Background, kBlack), MakeSprite(Off, kWhite),          MakeSprite(Station1, kBlack),
    MakeSprite(Station2, kBlack),   MakeSprite(Station3, kBlack),     MakeSprite(VolumeDown, kFadedBlack),
    MakeSprite(VolumeUp, kFadedBlack), MakeSprite(Skip, kRed),
};

const HitRect wheelHitRects[kWheelSlotCount] = {
    kSlots[0].rect, kSlots[1].rect, kSlots[2].rect, kSlots[3].rect,
    kSlots[4].rect, kSlots[5].rect, kSlots[6].rect, kSlots[7].rect,
};

}  // namespace trallio
