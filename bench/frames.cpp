#include "frames.h"

#include <cstdint>
#include <cstring>

#include "game_names.h"
#include "host/frame_driver.h"
#include "null_host.h"
#include "platform/script_hook.h"
#include "platform/win32.h"
#include "playback/radio_state.h"
#include "wheel/layout.h"
#include "wheel_points.h"

namespace bench {

namespace {

using trallio::radio;

char folder[] = "Trallio\\Radio 1";
char track[] = "Whiskey River.mp3";

// Client position of a slot's centre on the null host's 1920 x 1080 window.
void PointAt(int slot) {
    const fakehost::WheelPoint centre = fakehost::SlotCentre(slot);
    nullhost::world.cursorX = fakehost::ClientPixel(centre.x, 1920);
    nullhost::world.cursorY = fakehost::ClientPixel(centre.y, 1080);
}

// The floor's own calls: slots are pushed as they are, nothing is converted.
inline void Call(uint64_t hash) {
    nativeInit(hash);
    nativeCall();
}
inline void Call(uint64_t hash, uint64_t a) {
    nativeInit(hash);
    nativePush64(a);
    nativeCall();
}
inline void Call(uint64_t hash, uint64_t a, uint64_t b) {
    nativeInit(hash);
    nativePush64(a);
    nativePush64(b);
    nativeCall();
}
inline void Call(uint64_t hash, uint64_t a, uint64_t b, uint64_t c) {
    nativeInit(hash);
    nativePush64(a);
    nativePush64(b);
    nativePush64(c);
    nativeCall();
}
inline void Call(uint64_t hash, uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
    nativeInit(hash);
    nativePush64(a);
    nativePush64(b);
    nativePush64(c);
    nativePush64(d);
    nativeCall();
}

inline uint64_t Text(const char* text) {
    return reinterpret_cast<uintptr_t>(text);
}

constexpr uint64_t F01 = 0x3DCCCCCD;   // 0.1
constexpr uint64_t F051 = 0x3F028F5C;  // 0.51
constexpr uint64_t F07 = 0x3F333333;   // 0.7
constexpr uint64_t F036 = 0x3EB851EC;  // 0.36
constexpr uint64_t F056 = 0x3F0F5C29;  // 0.56

const char16_t kStatusCommand[] = u"status \"Trallio\\Radio 1\\Whiskey River.mp3\" mode";
const char16_t kVolumeCommand[] = u"setaudio \"Trallio\\Radio 1\\Whiskey River.mp3\" volume to 90";
const char kNowPlaying[] = "Trallio\\Radio 1\nWhiskey River.mp3\n";
const char kVolumeLine[] = "Vol: 90";

const char* const kControls[] = {
    "INPUT_RELOAD",     "INPUT_ATTACK",          "INPUT_COVER",          "INPUT_HORSE_ATTACK",
    "INPUT_VEH_CAR_ATTACK", "INPUT_VEH_BOAT_ATTACK", "INPUT_VEH_ATTACK", "INPUT_VEH_PASSENGER_ATTACK",
    "INPUT_VEH_DRAFT_ATTACK",
};

// Sprite slots pushed as precomputed bits: the floor draws what the radio draws.
struct FloorSprite {
    const char* dictionary;
    const char* texture;
    uint64_t slots[9];  // centre x, centre y, width, height, heading, red, green, blue, alpha
};

FloorSprite idleSprites[8];
FloorSprite hoverSprites[8];

uint64_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void MakeFloorSprite(FloorSprite& out, const trallio::SpriteSpec& s) {
    out.dictionary = s.dictionary;
    out.texture = s.texture;
    const uint64_t slots[9] = {Bits(s.x + s.width * 0.5f), Bits(s.y + s.height * 0.5f), Bits(s.width),
                               Bits(s.height), Bits(s.heading), static_cast<uint32_t>(s.red),
                               static_cast<uint32_t>(s.green), static_cast<uint32_t>(s.blue),
                               static_cast<uint32_t>(s.alpha)};
    std::memcpy(out.slots, slots, sizeof slots);
}

inline void FloorDrawSprite(const FloorSprite& s) {
    Call(fakegame::kHasTextureDictLoaded, Text(s.dictionary));
    nativeInit(fakegame::kDrawSprite);
    nativePush64(Text(s.dictionary));
    nativePush64(Text(s.texture));
    for (uint64_t slot : s.slots) {
        nativePush64(slot);
    }
    nativePush64(1);
    nativeCall();
    Call(fakegame::kReleaseTextureDict, Text(s.dictionary));
}

inline void FloorText(const char* text, uint64_t y, uint64_t scale) {
    Call(fakegame::kSetTextColor, 255, 255, 255, 255);
    Call(fakegame::kSetTextScale, scale, scale);
    Call(fakegame::kSetTextCentre, 1);
    nativeInit(fakegame::kCreateVarString);
    nativePush64(10);
    nativePush64(Text("LITERAL_STRING"));
    nativePush64(Text(text));
    const uint64_t handle = *nativeCall();
    Call(fakegame::kDisplayText, handle, F051, y);
}

inline void FloorEligibility() {
    Call(fakegame::kPlayerPedId);
    Call(fakegame::kIsPedInAnyVehicle, 0, 0);
    Call(fakegame::kIsPedInAnyBoat, 0);
    Call(fakegame::kIsPedInAnyTrain, 0);
    Call(fakegame::kIsPedOnMount, 0);
}

inline void FloorStatusPoll() {
    char16_t reply[64] = {u' '};
    mciSendStringW(kStatusCommand, reply, 64, nullptr);
}

inline void FloorHitTest() {
    HWND window = FindWindowA(nullptr, "Red Dead Redemption 2");
    RECT rect;
    GetClientRect(window, &rect);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
}

inline void FloorClickSound() {
    Call(fakegame::kStopSoundFrontend, Text("BACK"), Text("HUD_SHOP_SOUNDSET"));
    Call(fakegame::kPlaySoundFrontend, Text("BACK"), Text("HUD_SHOP_SOUNDSET"), 1, 0);
}

void FloorWheel(int hovered, bool hold) {
    GetAsyncKeyState(0x51);
    GetAsyncKeyState(0x52);
    for (const char* control : kControls) {
        Call(fakegame::kGetHashKey, Text(control));
        Call(fakegame::kDisableControlAction, 0, 0, 1);
    }
    Call(fakegame::kSetTimeScale, F01);
    Call(fakegame::kAnimPostFxPlay, Text("WheelHUDIn"));
    Call(fakegame::kWheelFrameCall);
    Call(fakegame::kSetCursorStyle, 0);
    FloorDrawSprite(hoverSprites[0]);
    for (int slot = 1; slot < 8; ++slot) {
        FloorHitTest();
        if (slot != hovered) {
            FloorDrawSprite(idleSprites[slot]);
            continue;
        }
        FloorDrawSprite(hoverSprites[slot]);
        Call(fakegame::kSetCursorStyle, 11);
        GetKeyState(VK_LBUTTON);
        if (hold) {
            GetKeyState(VK_LBUTTON);
            GetAsyncKeyState(VK_LBUTTON);
            FloorClickSound();
        }
    }
    FloorText(kNowPlaying, F051, F036);
    mciSendStringW(kVolumeCommand, nullptr, 0, nullptr);
    FloorText(kVolumeLine, F07, F056);
}

}  // namespace

const char* Name(Steady state) {
    switch (state) {
        case Steady::OnFootOff:
            return "on_foot_radio_off";
        case Steady::RidingPlaying:
            return "riding_track_playing";
        case Steady::WheelHover:
            return "wheel_open_slot_hovered";
        case Steady::WheelVolumeHold:
            return "wheel_open_volume_hold";
    }
    return "?";
}

void Prepare(Steady state) {
    for (int slot = 0; slot < 8; ++slot) {
        MakeFloorSprite(idleSprites[slot], trallio::wheelSpritesIdle[slot]);
        MakeFloorSprite(hoverSprites[slot], trallio::wheelSpritesHover[slot]);
    }
    trallio::ResetRadioState();
    nullhost::world = nullhost::World{};
    nullhost::SetStatusReply(u"playing");
    radio.currentFolder = folder;
    radio.currentTrack = track;
    radio.folderOpen = true;
    radio.trackActive = true;
    switch (state) {
        case Steady::OnFootOff:
            radio.paused = true;
            break;
        case Steady::RidingPlaying:
            nullhost::world.onMount = true;
            radio.radioOn = true;
            break;
        case Steady::WheelHover:
            nullhost::world.onMount = true;
            nullhost::world.keysHeld = true;
            radio.radioOn = true;
            radio.wheelOpen = true;
            PointAt(trallio::Skip);
            break;
        case Steady::WheelVolumeHold:
            nullhost::world.onMount = true;
            nullhost::world.keysHeld = true;
            nullhost::world.buttonDown = true;
            radio.radioOn = true;
            radio.wheelOpen = true;
            radio.clickLatch = true;
            radio.volume = 90;
            PointAt(trallio::VolumeDown);
            break;
    }
}

void RadioFrame() {
    trallio::TickFrame();
}

void FloorFrame(Steady state) {
    switch (state) {
        case Steady::OnFootOff:
            FloorEligibility();
            Call(fakegame::kSetAudioFlag, Text("OpenWorldMusicDisabled"), 0);
            break;
        case Steady::RidingPlaying:
            FloorEligibility();
            GetAsyncKeyState(0x51);
            Call(fakegame::kSetAudioFlag, Text("OpenWorldMusicDisabled"), 1);
            FloorStatusPoll();
            break;
        case Steady::WheelHover:
            FloorEligibility();
            FloorWheel(trallio::Skip, false);
            Call(fakegame::kSetAudioFlag, Text("OpenWorldMusicDisabled"), 1);
            FloorStatusPoll();
            break;
        case Steady::WheelVolumeHold:
            FloorEligibility();
            FloorWheel(trallio::VolumeDown, true);
            Call(fakegame::kSetAudioFlag, Text("OpenWorldMusicDisabled"), 1);
            FloorStatusPoll();
            break;
    }
}

}  // namespace bench
