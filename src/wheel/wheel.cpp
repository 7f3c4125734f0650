#include "wheel/wheel.h"

#include "audio/mci_channel.h"
#include "game/game_window.h"
#include "game/native_call.h"
#include "game/natives.h"
#include "text/text_format.h"
#include "text/utf.h"
#include "platform/win32.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "playback/sound_mix.h"
#include "playback/track_title.h"
#include "wheel/hud.h"
#include "wheel/layout.h"

namespace trallio {

namespace {

constexpr int32_t kCursorStyleNormal = 0;
constexpr int32_t kCursorStyleHover = 11;
constexpr int kWheelTextSize = 64;
constexpr char kPadHint[] = "Release to choose - A skip - LB/RB volume - B cancel";

void DrawSpec(const SpriteSpec& sprite) {
    DrawHudSprite(sprite.dictionary, sprite.texture, sprite.x, sprite.y, sprite.width, sprite.height,
                  sprite.heading, sprite.red, sprite.green, sprite.blue, sprite.alpha);
}

void PlayClickSound() {
    CallNative(native::kStopSoundFrontend, "BACK", "HUD_SHOP_SOUNDSET");
    CallNative(native::kPlaySoundFrontend, "BACK", "HUD_SHOP_SOUNDSET", 1, 0);
}

bool IsButtonDown(SHORT state) {
    return (static_cast<uint16_t>(state) & 0x8000u) != 0;
}

// Whether the cursor lies on the slot's rectangle, scaled to the game window's client area. The
// window, its client rectangle and the cursor are read afresh for every slot. Anything that cannot
// be read leaves the slot not hovered.
bool IsSlotHovered(int slot) {
    const HitRect& r = wheelHitRects[slot];
    HWND window;
    RECT client;
    if (!ReadGameWindow(&window, &client)) {
        return false;
    }
    const float width = static_cast<float>(client.right - client.left);
    const float height = static_cast<float>(client.bottom - client.top);
    const float left = r.x * width;
    const float top = r.y * height;
    const float right = left + r.width * width;
    const float bottom = top + r.height * height;
    POINT cursor;
    if (!GetCursorPos(&cursor)) {
        return false;
    }
    if (!ScreenToClient(window, &cursor)) {
        return false;
    }
    const float px = static_cast<float>(cursor.x);
    const float py = static_cast<float>(cursor.y);
    return left <= px && px <= right && top <= py && py <= bottom;
}

void ActOnClick(int slot) {
    switch (slot) {
        case Off:
            radio.radioOn = false;
            radio.stoppedByUser = true;
            break;
        case Station1:
        case Station2:
        case Station3:
            radio.radioOn = true;
            SelectStation(radio.stationFolders[slot - Station1]);
            break;
        case Skip:
            if (!radio.paused && radio.currentTrack != emptyText) {
                radio.skipRequested = true;
            }
            break;
        default:
            break;
    }
}

// One press gives one click: the latch holds from the press until the button is seen up over a
// slot.
void HandleClickEdge(int slot) {
    const bool down = IsButtonDown(GetKeyState(VK_LBUTTON));
    if (down && !radio.clickLatch) {
        radio.clickLatch = true;
        PlayClickSound();
        ActOnClick(slot);
    } else if (radio.clickLatch) {
        if (!IsButtonDown(GetKeyState(VK_LBUTTON))) {
            radio.clickLatch = false;
        }
    }
}

// One volume step down or up, with the click sound, within 0..kMaxVolume.
void StepVolume(int slot) {
    PlayClickSound();
    if (slot == VolumeDown && radio.volume >= 1) {
        --radio.volume;
    } else if (slot == VolumeUp && radio.volume <= kMaxVolume - 1) {
        ++radio.volume;
    }
}

// One volume step per frame while the button is held over an arrow.
void HandleVolumeHold(int slot) {
    if (GetAsyncKeyState(VK_LBUTTON) == 0) {
        return;
    }
    StepVolume(slot);
}

// A slot the pad points at: the station or off button the stick last chose, an arrow while its
// bumper is held, the skip slot on the frame A is pressed.
bool IsSlotPadHovered(int slot) {
    const PadState& pad = radio.pad;
    return slot == pad.highlight || (slot == VolumeDown && pad.lowerHeld) || (slot == VolumeUp && pad.raiseHeld) ||
           (slot == Skip && pad.skipPressed);
}

// The slots in their idle or hover look, and what the hovered ones do: with the mouse, clicks and
// held arrows; with the pad, A's skip and the held bumpers (a station or off acts on release).
void DrawSlots(bool pad) {
    for (int slot = Off; slot <= Skip; ++slot) {
        if (!(pad ? IsSlotPadHovered(slot) : IsSlotHovered(slot))) {
            DrawSpec(wheelSpritesIdle[slot]);
            continue;
        }
        DrawSpec(wheelSpritesHover[slot]);
        const bool arrow = (slot == VolumeDown || slot == VolumeUp) && radio.currentTrack != emptyText;
        if (pad) {
            if (slot == Skip) {
                ClickSlot(Skip);
            } else if (arrow) {
                StepVolume(slot);
            }
            continue;
        }
        CallNative(native::kSetCursorStyle, kCursorStyleHover);
        HandleClickEdge(slot);
        if (arrow) {
            HandleVolumeHold(slot);
        }
    }
}

}  // namespace

void ClickSlot(int slot) {
    PlayClickSound();
    ActOnClick(slot);
}

void DrawWheel(bool pad) {
    if (!pad) {
        CallNative(native::kSetCursorStyle, kCursorStyleNormal);
    }
    DrawSpec(wheelSpritesHover[Background]);
    DrawSlots(pad);

    if (radio.currentTrack != emptyText && radio.currentFolder != emptyText) {
        // "folder\ntrack\n", cut to the buffer. With the media thread, the text of the track the
        // thread last opened, which changes once the service has accepted the new one.
        char nowPlaying[kNowPlayingSize];
        if (radio.config.mediaThread) {
            AppendBounded(nowPlaying, sizeof nowPlaying, 0, radio.answers.nowPlaying);
        } else {
            FormatNowPlaying(nowPlaying, sizeof nowPlaying);
        }
        if (nowPlaying[0] != 0) {
            DrawHudText(nowPlaying, 0.51f, 0.36f, 0.36f);
        }
        SendTrackVolume();
    }

    // "Vol: " and the volume in decimal.
    char volumeLine[kWheelTextSize];
    char digits[kDecimalSize];
    FormatDecimal(radio.volume, digits);
    AppendBounded(volumeLine, sizeof volumeLine, AppendBounded(volumeLine, sizeof volumeLine, 0, "Vol: "), digits);
    DrawHudText(volumeLine, 0.7f, 0.56f, 0.56f);

    if (pad) {
        // The pad's buttons, in the now-playing line's style, cut to the buffer. Plain ASCII, so that
        // it reads the same whatever the names' encoding.
        char hint[kWheelTextSize];
        AppendBounded(hint, sizeof hint, 0, kPadHint);
        DrawHudText(hint, 0.76f, 0.36f, 0.36f);
    }

    if (radio.paused) {
        DrawSpec(wheelSpritesHover[Off]);
    }
}

}  // namespace trallio
