// A stand-in for the game's script hook, built as ScriptHookRDR2.dll for the wine tests. It
// exports the hook's six operations under their decorated names (fake_hook.def), runs the one
// registered script on a fiber, one frame per switch, records every native call and answers the
// natives from the player state the test host sets. Natives it has no answer for return 0.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "check.h"
#include "fake_hook_api.h"
#include "game_names.h"

namespace {

// Natives whose slots hold text addresses, and which slots (bit i: slot i).
struct TextSlots {
    uint64_t hash;
    unsigned slots;
};
constexpr TextSlots kTextSlots[] = {
    {fakegame::kAnimPostFxPlay, 0x1},
    {fakegame::kAnimPostFxStop, 0x1},
    {fakegame::kGetHashKey, 0x1},
    {fakegame::kSetAudioFlag, 0x1},
    {fakegame::kCreateVarString, 0x6},
    {fakegame::kStopSoundFrontend, 0x3},
    {fakegame::kPlaySoundFrontend, 0x3},
    {fakegame::kHasTextureDictLoaded, 0x1},
    {fakegame::kRequestTextureDict, 0x1},
    {fakegame::kDrawSprite, 0x3},
    {fakegame::kReleaseTextureDict, 0x1},
};

// Texts the game made with kCreateVarString, so that drawing one can be recorded as its words.
constexpr uint64_t kMadeTextTag = 0x7E47000000000000ull;
constexpr size_t kMadeTextRing = 64;

struct Hook {
    FakePlayerState player{};
    FakeGameSound sound{};
    FakePad pad{};
    // The pad as the game sampled it at the start of this frame and of the frame before.
    FakePad padNow{};
    FakePad padBefore{};
    FakeHookStatus status{};
    LPVOID hostFiber = nullptr;
    LPVOID scriptFiber = nullptr;
    bool inScript = false;  // the script's fiber is running

    bool callOpen = false;
    FakeNativeCall pending{};
    uint64_t result = 0;
    std::vector<FakeNativeCall> calls;

    char madeTexts[kMadeTextRing][kFakeTextSize] = {};
    uint64_t madeCount = 0;
};

Hook hook;

// A text the plug-in handed over (none: an empty one), kept in one of the record's text slots.
void CopyText(char* destination, const char* text) {
    check::CopyText(destination, kFakeTextSize, text != nullptr ? text : "");
}

const char* SlotText(const FakeNativeCall& call, uint32_t slot) {
    if (slot >= call.argCount || slot >= kFakeMaxArgs) {
        return nullptr;
    }
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(call.args[slot]));
}

void DecodeTexts(FakeNativeCall& call) {
    for (const TextSlots& entry : kTextSlots) {
        if (entry.hash != call.hash) {
            continue;
        }
        for (uint32_t slot = 0; slot < kFakeTextArgs; ++slot) {
            if (entry.slots & (1u << slot)) {
                CopyText(call.texts[slot], SlotText(call, slot));
            }
        }
    }
    if (call.hash == fakegame::kDisplayText && call.argCount > 0 &&
        (call.args[0] & 0xFFFF000000000000ull) == kMadeTextTag) {
        const uint64_t index = call.args[0] & 0xFFFFFFFFull;
        if (index < hook.madeCount && hook.madeCount - index <= kMadeTextRing) {
            CopyText(call.texts[0], hook.madeTexts[index % kMadeTextRing]);
        }
    }
}

bool IsPadDown(const FakePad& pad, uint32_t control) {
    return (control == fakegame::NameHash("INPUT_SELECT_RADAR_MODE") && pad.wheelButton) ||
           (control == fakegame::NameHash("INPUT_FRONTEND_ACCEPT") && pad.accept) ||
           (control == fakegame::NameHash("INPUT_FRONTEND_CANCEL") && pad.cancel) ||
           (control == fakegame::NameHash("INPUT_FRONTEND_LB") && pad.leftBumper) ||
           (control == fakegame::NameHash("INPUT_FRONTEND_RB") && pad.rightBumper);
}

// A stick axis: the float's bits in the low 32 bits of the result.
uint64_t PadAxis(uint32_t control) {
    float value = 0.0f;
    if (control == fakegame::NameHash("INPUT_LOOK_LR")) {
        value = hook.padNow.stickX;
    } else if (control == fakegame::NameHash("INPUT_LOOK_UD")) {
        value = hook.padNow.stickY;
    }
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

uint64_t AnswerPad(const FakeNativeCall& call) {
    const uint32_t control = call.argCount > 1 ? static_cast<uint32_t>(call.args[1]) : 0;
    switch (call.hash) {
        case fakegame::kIsUsingKeyboardAndMouse:
            return !hook.padNow.inUse;
        case fakegame::kIsDisabledControlPressed:
            return IsPadDown(hook.padNow, control);
        case fakegame::kIsDisabledControlJustPressed:
            return IsPadDown(hook.padNow, control) && !IsPadDown(hook.padBefore, control);
        case fakegame::kGetDisabledControlNormal:
            return PadAxis(control);
        default:
            return 0;
    }
}

uint64_t Answer(const FakeNativeCall& call) {
    const bool aboutPlayer = call.argCount > 0 && static_cast<uint32_t>(call.args[0]) == kFakePlayerHandle;
    switch (call.hash) {
        case fakegame::kPlayerPedId:
            return kFakePlayerHandle;
        case fakegame::kIsPedInAnyVehicle:
            return aboutPlayer && hook.player.inVehicle;
        case fakegame::kIsPedInAnyBoat:
            return aboutPlayer && hook.player.inBoat;
        case fakegame::kIsPedInAnyTrain:
            return aboutPlayer && hook.player.inTrain;
        case fakegame::kIsPedOnMount:
            return aboutPlayer && hook.player.onMount;
        case fakegame::kIsAnyConversationPlaying:
            return hook.sound.conversationPlaying;
        case fakegame::kIsAnySpeechPlaying:
            return aboutPlayer && hook.sound.playerSpeaking;
        case fakegame::kIsPauseMenuActive:
            return hook.sound.pauseMenuOpen;
        case fakegame::kGetHashKey:
            return fakegame::NameHash(SlotText(call, 0));
        case fakegame::kHasTextureDictLoaded:
            return 1;
        case fakegame::kCreateVarString: {
            const uint64_t index = hook.madeCount++;
            CopyText(hook.madeTexts[index % kMadeTextRing], SlotText(call, 2));
            return kMadeTextTag | (index & 0xFFFFFFFFull);
        }
        default:
            return AnswerPad(call);
    }
}

LPVOID CurrentFiber() {
    // GCC takes the header's read of the thread block for an out-of-bounds access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return GetCurrentFiber();
#pragma GCC diagnostic pop
}

void WINAPI ScriptFiberMain(LPVOID) {
    hook.status.script();
    // The radio's script never returns; if it does, every later frame comes straight back.
    hook.status.scriptReturned = true;
    for (;;) {
        SwitchToFiber(hook.hostFiber);
    }
}

}  // namespace

// The hook's six operations; fake_hook.def exports them under the decorated names.
extern "C" {

void FakeScriptRegister(HINSTANCE module, void (*script)()) {
    ++hook.status.registerCount;
    hook.status.registeredModule = module;
    hook.status.script = script;
}

void FakeScriptUnregister(HINSTANCE module) {
    ++hook.status.unregisterCount;
    hook.status.unregisteredModule = module;
    // The script's fiber sits inside the module's code, which is about to go: drop it without
    // running it again, as the hook does when it stops a plug-in's scripts.
    if (module == hook.status.registeredModule && hook.scriptFiber != nullptr && !hook.inScript) {
        DeleteFiber(hook.scriptFiber);
        hook.scriptFiber = nullptr;
        hook.status.script = nullptr;
    }
}

void FakeScriptWait(DWORD milliseconds) {
    ++hook.status.waits;
    hook.status.lastWait = milliseconds;
    if (hook.inScript) {
        SwitchToFiber(hook.hostFiber);
    }
}

void FakeNativeInit(uint64_t hash) {
    if (hook.callOpen) {
        ++hook.status.strayCalls;
    }
    hook.callOpen = true;
    hook.pending = FakeNativeCall{};
    hook.pending.hash = hash;
    hook.pending.frame = hook.status.frames;
}

void FakeNativePush64(uint64_t value) {
    if (hook.pending.argCount < kFakeMaxArgs) {
        hook.pending.args[hook.pending.argCount] = value;
    }
    ++hook.pending.argCount;
}

uint64_t* FakeNativeInvoke() {
    if (!hook.callOpen) {
        ++hook.status.strayCalls;
    }
    hook.callOpen = false;
    DecodeTexts(hook.pending);
    hook.result = Answer(hook.pending);
    hook.calls.push_back(hook.pending);
    return &hook.result;
}

// The test host's side.

void FakeHook_SetPlayer(const FakePlayerState* player) {
    hook.player = *player;
}

void FakeHook_SetSound(const FakeGameSound* sound) {
    hook.sound = *sound;
}

void FakeHook_SetPad(const FakePad* pad) {
    hook.pad = *pad;
}

void FakeHook_Status(FakeHookStatus* status) {
    *status = hook.status;
}

// Runs the registered script until its next scriptWait. False when no script is registered.
bool FakeHook_RunFrame() {
    if (hook.status.script == nullptr && hook.scriptFiber == nullptr) {
        return false;
    }
    if (hook.hostFiber == nullptr) {
        hook.hostFiber = ConvertThreadToFiber(nullptr);
        if (hook.hostFiber == nullptr && GetLastError() == ERROR_ALREADY_FIBER) {
            // An earlier load of the hook in this process made the thread a fiber already.
            hook.hostFiber = CurrentFiber();
        }
        if (hook.hostFiber == nullptr) {
            return false;
        }
    }
    if (hook.scriptFiber == nullptr) {
        hook.scriptFiber = CreateFiber(0, ScriptFiberMain, nullptr);
        if (hook.scriptFiber == nullptr) {
            return false;
        }
    }
    ++hook.status.frames;
    hook.padBefore = hook.padNow;
    hook.padNow = hook.pad;
    hook.inScript = true;
    SwitchToFiber(hook.scriptFiber);
    hook.inScript = false;
    return true;
}

uint32_t FakeHook_NativeCount() {
    return static_cast<uint32_t>(hook.calls.size());
}

bool FakeHook_GetNative(uint32_t index, FakeNativeCall* call) {
    if (index >= hook.calls.size()) {
        return false;
    }
    *call = hook.calls[index];
    return true;
}

void FakeHook_ClearNatives() {
    hook.calls.clear();
}

}  // extern "C"
