#include "wheel/pad.h"

#include <cstring>

#include "game/native_call.h"
#include "game/natives.h"
#include "platform/win32.h"
#include "playback/radio_state.h"
#include "text/words.h"
#include "wheel/layout.h"
#include "wheel/wheel.h"

namespace trallio {

namespace {

constexpr char kDefaultButton[] = "INPUT_SELECT_RADAR_MODE";
// How far the stick must lean before it chooses: farther than half its reach.
constexpr float kStickReach = 0.5f;

// Keeps the game from acting on the control this frame; returns its hash for the reads.
uint32_t DisableControl(const char* name) {
    const uint32_t hash = CallNative32(native::kGetHashKey, name);
    CallNative(native::kDisableControlAction, 0, hash, 1);
    return hash;
}

bool IsPressed(uint32_t hash) {
    return CallNative32(native::kIsDisabledControlPressed, 0, hash) != 0;
}

// An axis from -1 to 1: the float's bits are the low 32 bits of the result.
float ReadAxis(uint32_t hash) {
    const uint32_t bits = CallNative32(native::kGetDisabledControlNormal, 0, hash);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The slot the stick leans towards, each over the quarter of the circle centred on its direction
// (up the top station, left and right the side stations, down off), or 0 near the centre. On an
// exact diagonal the vertical slot wins.
int SlotAtStick(float x, float y) {
    if (x * x + y * y <= kStickReach * kStickReach) {
        return 0;
    }
    const float ax = x < 0 ? -x : x;
    const float ay = y < 0 ? -y : y;
    if (ay >= ax) {
        return y < 0 ? Station1 : Off;
    }
    return x < 0 ? Station2 : Station3;
}

// The wheel's controls while the pad holds it open: all disabled, then the stick, A, B and the
// bumpers read in that order. True when B is pressed.
bool ReadWheelControls() {
    PadState& pad = radio.pad;
    const uint32_t lookX = DisableControl("INPUT_LOOK_LR");
    const uint32_t lookY = DisableControl("INPUT_LOOK_UD");
    const uint32_t accept = DisableControl("INPUT_FRONTEND_ACCEPT");
    const uint32_t cancel = DisableControl("INPUT_FRONTEND_CANCEL");
    const uint32_t lower = DisableControl("INPUT_FRONTEND_LB");
    const uint32_t raise = DisableControl("INPUT_FRONTEND_RB");
    const float x = ReadAxis(lookX);
    const int slot = SlotAtStick(x, ReadAxis(lookY));
    if (slot != 0) {
        pad.highlight = static_cast<int8_t>(slot);
    }
    pad.skipPressed = CallNative32(native::kIsDisabledControlJustPressed, 0, accept) != 0;
    const bool cancelled = IsPressed(cancel);
    pad.lowerHeld = IsPressed(lower);
    pad.raiseHeld = IsPressed(raise);
    return cancelled;
}

// The wheel button held: the clock is read from the first held frame until the wheel opens.
bool HoldLongEnough() {
    PadState& pad = radio.pad;
    const uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (!pad.holding) {
        pad.holding = true;
        pad.holdStart = now;
    }
    return now - pad.holdStart >= static_cast<uint32_t>(radio.config.controllerHoldMs);
}

}  // namespace

void ResetPadWheel() {
    radio.pad = PadState{};
}

bool UpdatePadWheel() {
    PadState& pad = radio.pad;
    if (CallNative32(native::kIsUsingKeyboardAndMouse, 0) != 0) {
        ResetPadWheel();
        return false;
    }
    const char* button = radio.config.controllerButton;
    const uint32_t hash = DisableControl(button);
    // D-pad down also reveals the HUD and widens the radar: neither while it works the wheel.
    if (EqualsIgnoringCase(button, kDefaultButton)) {
        DisableControl("INPUT_REVEAL_HUD");
        DisableControl("INPUT_EXPAND_RADAR");
    }
    if (!IsPressed(hash)) {
        const int highlight = pad.open ? pad.highlight : 0;
        ResetPadWheel();
        if (highlight != 0) {
            ClickSlot(highlight);
        }
        return false;
    }
    if (pad.cancelled) {
        return false;
    }
    if (!pad.open) {
        if (!HoldLongEnough()) {
            return false;
        }
        pad.open = true;
    }
    if (ReadWheelControls()) {
        pad.open = false;
        pad.cancelled = true;
        return false;
    }
    return true;
}

}  // namespace trallio
