// The control side of the fake script hook: what a test host reads back from it and what it sets
// for the natives to answer. The host finds these functions with GetProcAddress in the
// ScriptHookRDR2.dll it loaded, so it works with the very module the plug-in imports from.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr uint32_t kFakeMaxArgs = 16;
constexpr uint32_t kFakeTextArgs = 3;  // texts are decoded for the first three slots
constexpr uint32_t kFakeTextSize = 96;

// One native call as the hook saw it: the hash, every pushed slot, and the texts behind the slots
// the native takes as texts (empty for the others).
struct FakeNativeCall {
    uint64_t hash;
    uint32_t frame;      // FakeHook_RunFrame count when the call was made
    uint32_t argCount;   // slots pushed; more than kFakeMaxArgs are counted but not kept
    uint64_t args[kFakeMaxArgs];
    char texts[kFakeTextArgs][kFakeTextSize];
};

struct FakeHookStatus {
    int registerCount;
    int unregisterCount;
    HINSTANCE registeredModule;
    HINSTANCE unregisteredModule;
    void (*script)();
    uint32_t frames;      // frames run
    uint32_t waits;       // scriptWait calls
    uint32_t lastWait;    // the last wait's milliseconds
    uint32_t strayCalls;  // nativeInit before the previous call finished, or nativeCall with no init
    bool scriptReturned;  // the registered function returned (it never should)
};

// What the player's character is doing, as the player-state natives report it.
struct FakePlayerState {
    bool inVehicle;
    bool inBoat;
    bool inTrain;
    bool onMount;
};

// What the game's sound and menus report: a conversation, the player's character speaking, the
// pause menu.
struct FakeGameSound {
    bool conversationPlaying;
    bool playerSpeaking;
    bool pauseMenuOpen;
};

// A game pad: whether the game counts it as the input in use, the buttons held (the wheel button is
// INPUT_SELECT_RADAR_MODE) and the right stick, each axis -1..1 with left and up negative.
struct FakePad {
    bool inUse;
    bool wheelButton;
    bool accept;
    bool cancel;
    bool leftBumper;
    bool rightBumper;
    float stickX;
    float stickY;
};

typedef void (*FakeHookSetPlayerFn)(const FakePlayerState*);
typedef void (*FakeHookSetSoundFn)(const FakeGameSound*);
typedef void (*FakeHookSetPadFn)(const FakePad*);
typedef void (*FakeHookStatusFn)(FakeHookStatus*);
typedef bool (*FakeHookRunFrameFn)();
typedef uint32_t (*FakeHookNativeCountFn)();
typedef bool (*FakeHookGetNativeFn)(uint32_t index, FakeNativeCall* call);
typedef void (*FakeHookClearNativesFn)();

// Names of the exports above, in the same order.
#define FAKE_HOOK_SET_PLAYER "FakeHook_SetPlayer"
#define FAKE_HOOK_STATUS "FakeHook_Status"
#define FAKE_HOOK_RUN_FRAME "FakeHook_RunFrame"
#define FAKE_HOOK_NATIVE_COUNT "FakeHook_NativeCount"
#define FAKE_HOOK_GET_NATIVE "FakeHook_GetNative"
#define FAKE_HOOK_CLEAR_NATIVES "FakeHook_ClearNatives"
#define FAKE_HOOK_SET_SOUND "FakeHook_SetSound"
#define FAKE_HOOK_SET_PAD "FakeHook_SetPad"

// The player's character handle the fake game hands out.
constexpr uint32_t kFakePlayerHandle = 0x2A;
