// The natives as the stand-in game answers them: each call is assembled slot by slot, answered
// from the world, applied to the game's state and traced with its arguments decoded.
#include <cstdio>
#include <cstring>

#include "fake_host.h"
#include "game_names.h"
#include "host_record.h"
#include "natives_catalog.h"
#include "platform/script_hook.h"

namespace fakehost {

namespace {

constexpr uint64_t kTextHandleTag = 0x5445585400000000ull;  // "TEXT" in the high half

std::string HashText(uint64_t hash) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

const char* TextArg(const std::vector<uint64_t>& args, size_t index) {
    if (index >= args.size()) {
        return "";
    }
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(args[index]));
    return text != nullptr ? text : "";
}

float FloatArg(const std::vector<uint64_t>& args, size_t index) {
    return index < args.size() ? FloatFromSlot(args[index]) : 0.0f;
}

int32_t IntArg(const std::vector<uint64_t>& args, size_t index) {
    return index < args.size() ? static_cast<int32_t>(args[index]) : 0;
}

std::string MadeText(uint64_t handle) {
    if ((handle & 0xFFFFFFFF00000000ull) != kTextHandleTag) {
        return "";
    }
    return host.madeTexts[(handle & 0xFFFFFFFFull) % kTextRing];
}

// The natives that ask about the player and the world: sets `answer` and returns true, or returns
// false when `hash` asks nothing.
bool AskWorld(uint64_t hash, const std::vector<uint64_t>& a, uint64_t& answer) {
    const World& w = host.world;
    const bool isPlayer = !a.empty() && static_cast<uint32_t>(a[0]) == w.playerHandle;
    switch (hash) {
        case fakegame::kPlayerPedId:
            answer = w.playerHandle;
            return true;
        case fakegame::kIsPedInAnyVehicle:
            answer = isPlayer && w.inVehicle;
            return true;
        case fakegame::kIsPedInAnyBoat:
            answer = isPlayer && w.inBoat;
            return true;
        case fakegame::kIsPedInAnyTrain:
            answer = isPlayer && w.inTrain;
            return true;
        case fakegame::kIsPedOnMount:
            answer = isPlayer && w.onMount;
            return true;
        case fakegame::kIsAnyConversationPlaying:
            answer = w.conversationPlaying;
            return true;
        case fakegame::kIsAnySpeechPlaying:
            answer = isPlayer && w.playerSpeaking;
            return true;
        case fakegame::kIsPauseMenuActive:
            answer = w.pauseMenuOpen;
            return true;
        case fakegame::kGetHashKey:
            answer = fakegame::NameHash(TextArg(a, 0));
            return true;
        case fakegame::kHasTextureDictLoaded:
            answer = host.loadedDictionaries.count(TextArg(a, 0)) != 0;
            return true;
        default:
            return false;
    }
}

// The natives that change the game: time, screen effects, music, texts, messages, the cursor,
// sounds and sprites. Returns the handle of a made text, 0 for every other native.
uint64_t ChangeGame(uint64_t hash, const std::vector<uint64_t>& a) {
    GameState& g = host.game;
    switch (hash) {
        case fakegame::kSetTimeScale:
            g.timeScale = FloatArg(a, 0);
            return 0;
        case fakegame::kAnimPostFxPlay:
            if (std::strcmp(TextArg(a, 0), "WheelHUDIn") == 0) {
                g.effectRunning = true;
            }
            return 0;
        case fakegame::kAnimPostFxStop:
            if (std::strcmp(TextArg(a, 0), "WheelHUDIn") == 0) {
                g.effectRunning = false;
            }
            return 0;
        case fakegame::kSetAudioFlag:
            if (std::strcmp(TextArg(a, 0), "OpenWorldMusicDisabled") == 0) {
                g.musicDisabled = IntArg(a, 1);
            }
            return 0;
        case fakegame::kCreateVarString: {
            const uint64_t index = host.madeCount++;
            host.madeTexts[index % kTextRing] = TextArg(a, 2);
            return kTextHandleTag | (index & 0xFFFFFFFFull);
        }
        case fakegame::kMessageLogAddText:
            host.messageInLog = a.empty() ? "" : MadeText(a[0]);
            return 0;
        case fakegame::kMessageLogShow:
            g.lastMessage = host.messageInLog;
            ++g.messagesShown;
            return 0;
        case fakegame::kMessageLogClear:
            host.messageInLog.clear();
            return 0;
        case fakegame::kSetCursorStyle:
            g.cursorStyle = IntArg(a, 0);
            return 0;
        case fakegame::kPlaySoundFrontend:
            ++g.clickSounds;
            return 0;
        case fakegame::kDisplayText:
            g.texts.push_back(a.empty() ? "" : MadeText(a[0]));
            return 0;
        case fakegame::kRequestTextureDict:
            if (host.world.dictionariesLoadAtOnce) {
                host.loadedDictionaries.insert(TextArg(a, 0));
            } else {
                host.requestedDictionaries.insert(TextArg(a, 0));
            }
            return 0;
        case fakegame::kDrawSprite:
            g.sprites.push_back({TextArg(a, 0), TextArg(a, 1), FloatArg(a, 2), FloatArg(a, 3), FloatArg(a, 4),
                                 FloatArg(a, 5), IntArg(a, 7), IntArg(a, 8), IntArg(a, 9), IntArg(a, 10)});
            return 0;
        default: {
            uint64_t answer = 0;
            AnswerPad(hash, a, &answer);
            return answer;
        }
    }
}

// The game's answer to one native, and its side effects.
uint64_t Answer(uint64_t hash, const std::vector<uint64_t>& args) {
    uint64_t answer = 0;
    return AskWorld(hash, args, answer) ? answer : ChangeGame(hash, args);
}

}  // namespace

}  // namespace fakehost

using fakehost::host;

void nativeInit(uint64_t hash) {
    host.pendingHash = hash;
    host.pendingArgs.clear();
}

void nativePush64(uint64_t value) {
    host.pendingArgs.push_back(value);
}

uint64_t* nativeCall() {
    fakehost::Event event;
    event.kind = fakehost::EventKind::Native;
    event.hash = host.pendingHash;
    event.args = host.pendingArgs;
    const fakehost::NativeInfo* info = fakehost::FindNative(host.pendingHash);
    event.line = "native " + fakehost::HashText(host.pendingHash) + " " + (info != nullptr ? info->name : "UNKNOWN") + "(";
    for (size_t i = 0; i < event.args.size(); ++i) {
        const char kind = (info != nullptr && i < std::strlen(info->args)) ? info->args[i] : 'v';
        event.decoded.push_back(fakehost::FormatArg(kind, event.args[i]));
        event.line += (i == 0 ? "" : ", ") + event.decoded.back();
    }
    event.line += ")";
    if (info != nullptr && std::strlen(info->args) != event.args.size()) {
        event.line += " !args";
    }
    host.resultSlot = fakehost::Answer(host.pendingHash, host.pendingArgs);
    fakehost::Emit(std::move(event));
    host.pendingArgs.clear();
    return &host.resultSlot;
}
