#include "fake_host.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "game_names.h"
#include "natives_catalog.h"
#include "platform/script_hook.h"
#include "wheel_points.h"

namespace fakehost {

namespace {

HWND const kGameWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
HWND const kOtherWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5678));
constexpr uint64_t kTextHandleTag = 0x5445585400000000ull;  // "TEXT" in the high half
constexpr size_t kTextRing = 16;

struct Host {
    World world;
    GameState game;
    std::vector<Event> events;
    std::function<void(const Event&)> sink;
    bool keep = true;

    // The native call being assembled.
    uint64_t pendingHash = 0;
    std::vector<uint64_t> pendingArgs;
    uint64_t resultSlot = 0;

    // Game texts made by CREATE_VAR_STRING, by handle.
    std::string madeTexts[kTextRing];
    uint64_t madeCount = 0;
    std::string messageInLog;
    std::set<std::string> loadedDictionaries;
    std::set<std::string> requestedDictionaries;

    void (*registeredScript)() = nullptr;
    HINSTANCE registeredModule = nullptr;
    HINSTANCE unregisteredModule = nullptr;
    int registerCount = 0;
    int unregisterCount = 0;
    int frame = 0;
    int waits = 0;
};

Host host;

// The script's thread and the handoff between it and the host, one side running at a time.
struct ScriptThread {
    std::thread thread;
    std::thread::id id;
    std::mutex mutex;
    std::condition_variable changed;
    bool scriptsTurn = false;
    bool stopRequested = false;
    bool running = false;
};

ScriptThread script;

struct ScriptStopped {};

void Emit(Event event) {
    if (host.sink) {
        host.sink(event);
    }
    if (host.keep) {
        host.events.push_back(std::move(event));
    }
}

std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

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

// The game's answer to one native, and its side effects.
uint64_t Answer(uint64_t hash, const std::vector<uint64_t>& a) {
    World& w = host.world;
    GameState& g = host.game;
    const bool isPlayer = !a.empty() && static_cast<uint32_t>(a[0]) == w.playerHandle;
    switch (hash) {
        case fakegame::kPlayerPedId:
            return w.playerHandle;
        case fakegame::kIsPedInAnyVehicle:
            return isPlayer && w.inVehicle;
        case fakegame::kIsPedInAnyBoat:
            return isPlayer && w.inBoat;
        case fakegame::kIsPedInAnyTrain:
            return isPlayer && w.inTrain;
        case fakegame::kIsPedOnMount:
            return isPlayer && w.onMount;
        case fakegame::kIsAnyConversationPlaying:
            return w.conversationPlaying;
        case fakegame::kIsAnySpeechPlaying:
            return isPlayer && w.playerSpeaking;
        case fakegame::kIsPauseMenuActive:
            return w.pauseMenuOpen;
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
        case fakegame::kGetHashKey:
            return fakegame::NameHash(TextArg(a, 0));
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
        case fakegame::kHasTextureDictLoaded:
            return host.loadedDictionaries.count(TextArg(a, 0)) != 0;
        case fakegame::kRequestTextureDict:
            if (w.dictionariesLoadAtOnce) {
                host.loadedDictionaries.insert(TextArg(a, 0));
            } else {
                host.requestedDictionaries.insert(TextArg(a, 0));
            }
            return 0;
        case fakegame::kDrawSprite:
            g.sprites.push_back({TextArg(a, 0), TextArg(a, 1), FloatArg(a, 2), FloatArg(a, 3), FloatArg(a, 4),
                                 FloatArg(a, 5), IntArg(a, 7), IntArg(a, 8), IntArg(a, 9), IntArg(a, 10)});
            return 0;
        default:
            return 0;
    }
}

std::string Point(const POINT* p) {
    return p == nullptr ? "null" : "(" + std::to_string(p->x) + "," + std::to_string(p->y) + ")";
}

void RecordWin32(std::string line) {
    Record(EventKind::Win32, "win32 " + std::move(line));
}

SHORT KeyState(int key) {
    const World& w = host.world;
    bool down = false;
    if (key == 0x51) {
        down = w.keyQ;
    } else if (key == 0x52) {
        down = w.keyR;
    } else if (key == VK_LBUTTON) {
        down = w.leftButton;
    }
    return down ? static_cast<SHORT>(-32768) : 0;
}

}  // namespace

void Record(EventKind kind, std::string line) {
    Event event;
    event.kind = kind;
    event.line = std::move(line);
    Emit(std::move(event));
}

void Reset() {
    StopScript();
    host.world = World{};
    host.game = GameState{};
    host.events.clear();
    host.pendingArgs.clear();
    host.madeCount = 0;
    host.messageInLog.clear();
    host.loadedDictionaries.clear();
    host.requestedDictionaries.clear();
    host.registeredScript = nullptr;
    host.registeredModule = nullptr;
    host.unregisteredModule = nullptr;
    host.registerCount = 0;
    host.unregisterCount = 0;
    host.frame = 0;
    host.waits = 0;
    host.keep = true;
}

World& GetWorld() {
    return host.world;
}

void PointCursorAt(float fx, float fy) {
    World& w = host.world;
    w.cursorX = w.windowX + ClientPixel(fx, w.clientWidth);
    w.cursorY = w.windowY + ClientPixel(fy, w.clientHeight);
}

GameState& Game() {
    return host.game;
}

const std::vector<Event>& Events() {
    return host.events;
}

void ClearEvents() {
    host.events.clear();
}

std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const Event& event : host.events) {
        lines.push_back(event.line);
    }
    return lines;
}

std::vector<std::string> Lines(EventKind kind) {
    std::vector<std::string> lines;
    for (const Event& event : host.events) {
        if (event.kind == kind) {
            lines.push_back(event.line);
        }
    }
    return lines;
}

void SetEventSink(std::function<void(const Event&)> sink) {
    host.sink = std::move(sink);
}

void SetRecording(bool keep) {
    host.keep = keep;
}

void BeginFrame() {
    ++host.frame;
    host.game.texts.clear();
    host.game.sprites.clear();
    for (const std::string& name : host.requestedDictionaries) {
        host.loadedDictionaries.insert(name);
    }
    host.requestedDictionaries.clear();
}

int FrameNumber() {
    return host.frame;
}

int WaitCount() {
    return host.waits;
}

void (*RegisteredScript())() {
    return host.registeredScript;
}
HINSTANCE RegisteredModule() {
    return host.registeredModule;
}
HINSTANCE UnregisteredModule() {
    return host.unregisteredModule;
}
int RegisterCount() {
    return host.registerCount;
}
int UnregisterCount() {
    return host.unregisterCount;
}

void StartScript(void (*function)()) {
    StopScript();
    if (function == nullptr) {
        function = host.registeredScript;
    }
    if (function == nullptr) {
        return;
    }
    script.stopRequested = false;
    script.scriptsTurn = false;
    script.running = true;
    script.thread = std::thread([function] {
        {
            std::unique_lock<std::mutex> lock(script.mutex);
            script.changed.wait(lock, [] { return script.scriptsTurn; });
        }
        if (!script.stopRequested) {
            try {
                function();
            } catch (const ScriptStopped&) {
            }
        }
        std::lock_guard<std::mutex> lock(script.mutex);
        script.running = false;
        script.scriptsTurn = false;
        script.changed.notify_all();
    });
    script.id = script.thread.get_id();
}

bool RunFrame() {
    if (!script.thread.joinable()) {
        return false;
    }
    BeginFrame();
    std::unique_lock<std::mutex> lock(script.mutex);
    if (!script.running) {
        return false;
    }
    script.scriptsTurn = true;
    script.changed.notify_all();
    script.changed.wait(lock, [] { return !script.scriptsTurn; });
    return script.running;
}

void StopScript() {
    if (!script.thread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(script.mutex);
        script.stopRequested = true;
        script.scriptsTurn = true;
        script.changed.notify_all();
    }
    script.thread.join();
    script.id = std::thread::id();
}

}  // namespace fakehost

using fakehost::host;
using fakehost::script;

// The script hook's operations.

void scriptRegister(HINSTANCE module, void (*function)()) {
    host.registeredScript = function;
    host.registeredModule = module;
    ++host.registerCount;
    fakehost::Record(fakehost::EventKind::Register, "hook scriptRegister(" + fakehost::Hex(reinterpret_cast<uintptr_t>(module)) + ")");
}

void scriptUnregister(HINSTANCE module) {
    host.unregisteredModule = module;
    ++host.unregisterCount;
    fakehost::Record(fakehost::EventKind::Unregister, "hook scriptUnregister(" + fakehost::Hex(reinterpret_cast<uintptr_t>(module)) + ")");
}

void scriptWait(DWORD milliseconds) {
    ++host.waits;
    fakehost::Record(fakehost::EventKind::Wait, "wait " + std::to_string(milliseconds));
    if (std::this_thread::get_id() != script.id) {
        return;  // called directly by a test, not from the script thread: nothing to hand over
    }
    std::unique_lock<std::mutex> lock(script.mutex);
    script.scriptsTurn = false;
    script.changed.notify_all();
    script.changed.wait(lock, [] { return script.scriptsTurn; });
    if (script.stopRequested) {
        throw fakehost::ScriptStopped{};
    }
}

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

// The Win32 keyboard, mouse and window subset.

SHORT GetAsyncKeyState(int key) {
    const SHORT state = fakehost::KeyState(key);
    fakehost::RecordWin32("GetAsyncKeyState(" + fakehost::Hex(static_cast<unsigned>(key)) + ") = " + fakehost::Hex(static_cast<uint16_t>(state)));
    return state;
}

SHORT GetKeyState(int key) {
    const SHORT state = fakehost::KeyState(key);
    fakehost::RecordWin32("GetKeyState(" + fakehost::Hex(static_cast<unsigned>(key)) + ") = " + fakehost::Hex(static_cast<uint16_t>(state)));
    return state;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    HWND found = nullptr;
    if (host.world.windowExists && className == nullptr && windowName != nullptr &&
        std::strcmp(windowName, "Red Dead Redemption 2") == 0) {
        found = fakehost::kGameWindow;
    }
    fakehost::RecordWin32("FindWindowA(" + fakehost::QuoteText(className) + ", " + fakehost::QuoteText(windowName) + ") = " +
                          fakehost::Hex(reinterpret_cast<uintptr_t>(found)));
    return found;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    const bool ok = window == fakehost::kGameWindow && host.world.windowExists && host.world.clientRectReadable && rect != nullptr;
    if (ok) {
        *rect = RECT{0, 0, host.world.clientWidth, host.world.clientHeight};
    }
    fakehost::RecordWin32("GetClientRect(" + fakehost::Hex(reinterpret_cast<uintptr_t>(window)) + ") = " +
                          (ok ? "(0,0," + std::to_string(host.world.clientWidth) + "," + std::to_string(host.world.clientHeight) + ")" : "FALSE"));
    return ok ? TRUE : FALSE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    const std::string before = fakehost::Point(point);
    const bool ok = window == fakehost::kGameWindow && host.world.windowExists && point != nullptr;
    if (ok) {
        point->x += host.world.windowX;
        point->y += host.world.windowY;
    }
    fakehost::RecordWin32("ClientToScreen(" + fakehost::Hex(reinterpret_cast<uintptr_t>(window)) + ", " + before + ") = " +
                          (ok ? fakehost::Point(point) : "FALSE"));
    return ok ? TRUE : FALSE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    const std::string before = fakehost::Point(point);
    const bool ok = window == fakehost::kGameWindow && host.world.windowExists && host.world.screenToClientWorks &&
                    point != nullptr;
    if (ok) {
        point->x -= host.world.windowX;
        point->y -= host.world.windowY;
    }
    fakehost::RecordWin32("ScreenToClient(" + fakehost::Hex(reinterpret_cast<uintptr_t>(window)) + ", " + before + ") = " +
                          (ok ? fakehost::Point(point) : "FALSE"));
    return ok ? TRUE : FALSE;
}

BOOL GetCursorPos(POINT* point) {
    const bool ok = host.world.cursorReadable && point != nullptr;
    if (ok) {
        point->x = host.world.cursorX;
        point->y = host.world.cursorY;
    }
    fakehost::RecordWin32("GetCursorPos() = " + (ok ? fakehost::Point(point) : std::string("FALSE")));
    return ok ? TRUE : FALSE;
}

BOOL SetCursorPos(int x, int y) {
    host.world.cursorX = x;
    host.world.cursorY = y;
    fakehost::RecordWin32("SetCursorPos(" + std::to_string(x) + ", " + std::to_string(y) + ")");
    return TRUE;
}

HWND GetForegroundWindow() {
    HWND found = host.world.gameInForeground && host.world.windowExists ? fakehost::kGameWindow : fakehost::kOtherWindow;
    fakehost::RecordWin32("GetForegroundWindow() = " + fakehost::Hex(reinterpret_cast<uintptr_t>(found)));
    return found;
}

DWORD GetTickCount() {
    fakehost::RecordWin32("GetTickCount() = " + std::to_string(host.world.tickCount));
    return host.world.tickCount;
}
