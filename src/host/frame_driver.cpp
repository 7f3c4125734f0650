#include "host/frame_driver.h"

#include "audio/mci_channel.h"
#include "game/game_window.h"
#include "host/remembered_state.h"
#include "game/native_call.h"
#include "game/natives.h"
#include "playback/sound_mix.h"
#include "platform/win32.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "wheel/pad.h"
#include "wheel/wheel.h"

namespace trallio {

namespace {

constexpr int kKeyQ = 0x51;
constexpr int kKeyR = 0x52;
constexpr float kWheelTimeScale = 0.1f;
constexpr float kNormalTimeScale = 1.0f;
constexpr char kWheelEffect[] = "WheelHUDIn";

// Whether the player may use the radio this frame. The questions stop at the first yes; the
// character's handle is left in `playerOut` for the frame's later questions.
bool IsEligible(uint32_t* playerOut) {
    const uint32_t player = CallNative32(native::kPlayerPedId);
    *playerOut = player;
    if (CallNative32(native::kIsPedInAnyVehicle, player, 0) != 0 ||
        CallNative32(native::kIsPedInAnyBoat, player) != 0 ||
        CallNative32(native::kIsPedInAnyTrain, player) != 0 ||
        CallNative32(native::kIsPedOnMount, player) != 0) {
        return true;
    }
    return radio.mediaPlayerMode;
}

// Both wheel keys held; R is read only when Q is.
bool AreWheelKeysHeld() {
    return GetAsyncKeyState(kKeyQ) != 0 && GetAsyncKeyState(kKeyR) != 0;
}

void CloseWheel() {
    radio.wheelOpen = false;
    CallNative(native::kSetTimeScale, kNormalTimeScale);
    CallNative(native::kAnimPostFxStop, kWheelEffect);
    if (radio.config.remember) {
        SaveRememberedState();
    }
}

// Moves the cursor to the centre of the game window's client area. Without a window, or without
// a readable client rectangle, there is nothing to centre on and the cursor stays where it is.
void CentreCursorOnGameWindow() {
    HWND window;
    RECT client;
    if (!ReadGameWindow(&window, &client)) {
        return;
    }
    POINT centre;
    centre.x = (client.right - client.left) / 2;
    centre.y = (client.bottom - client.top) / 2;
    ClientToScreen(window, &centre);
    SetCursorPos(static_cast<int>(centre.x), static_cast<int>(centre.y));
}

// `pad`: the wheel is held open with a game pad, and the cursor plays no part.
void WheelFrame(bool pad) {
    SuppressAttackControls();
    if (!radio.wheelOpen && !pad) {
        CentreCursorOnGameWindow();
    }
    radio.wheelOpen = true;
    CallNative(native::kSetTimeScale, kWheelTimeScale);
    CallNative(native::kAnimPostFxPlay, kWheelEffect);
    CallNative(native::kWheelFrameCall);
    DrawWheel(pad);
}

}  // namespace

void SuppressAttackControls() {
    static const char* const kControls[] = {
        "INPUT_RELOAD",         "INPUT_ATTACK",          "INPUT_COVER",
        "INPUT_HORSE_ATTACK",   "INPUT_VEH_CAR_ATTACK",  "INPUT_VEH_BOAT_ATTACK",
        "INPUT_VEH_ATTACK",     "INPUT_VEH_PASSENGER_ATTACK", "INPUT_VEH_DRAFT_ATTACK",
    };
    for (const char* control : kControls) {
        const uint32_t hash = CallNative32(native::kGetHashKey, control);
        CallNative(native::kDisableControlAction, 0, hash, 1);
    }
}

void TickFrame() {
    uint32_t player = 0;
    bool eligible = IsEligible(&player);
    // With pause_in_menus on, an open pause menu or the game in the background makes the frame
    // one on which the radio may not be used, as when the player leaves the mount.
    if (radio.config.pauseInMenus && IsGameOutOfPlay()) {
        eligible = false;
    }
    if (!eligible) {
        if (!radio.paused) {
            radio.radioOn = false;
        }
        // Leaving the mount with the wheel open must not leave the world in slow motion: the wheel
        // closes as if its keys had been let go.
        if (radio.wheelOpen) {
            CloseWheel();
        }
        ResetPadWheel();
    } else {
        if (radio.remembered.startPending) {
            StartRememberedStation();
        }
        if (radio.paused && !radio.stoppedByUser) {
            radio.radioOn = true;
        }
        const bool levelChanged = UpdateDialogueDucking(player);
        // With controller on, a game pad in use may hold the wheel open instead of Q and R.
        if (radio.config.controller && UpdatePadWheel()) {
            WheelFrame(true);
        } else if (AreWheelKeysHeld()) {
            WheelFrame(false);
        } else if (radio.wheelOpen) {
            CloseWheel();
        }
        // An open wheel sends the level in force itself on this frame.
        if (levelChanged && !radio.wheelOpen) {
            SendTrackVolume();
        }
    }
    UpdatePlayback();
}

}  // namespace trallio
