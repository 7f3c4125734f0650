#include "null_host.h"

#include "game_names.h"
#include "platform/script_hook.h"
#include "platform/win32.h"

namespace nullhost {

World world;

namespace {

uint64_t pendingHash = 0;
uint64_t resultSlot = 0;
const char16_t* statusReply = u"playing";
HWND const kWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10));

}  // namespace

void SetStatusReply(const char16_t* reply) {
    statusReply = reply;
}

}  // namespace nullhost

using nullhost::world;

void scriptRegister(HINSTANCE, void (*)()) {}
void scriptUnregister(HINSTANCE) {}
void scriptWait(DWORD) {}

void nativeInit(uint64_t hash) {
    nullhost::pendingHash = hash;
}

void nativePush64(uint64_t) {}

uint64_t* nativeCall() {
    // The mount question and the texture check are the only answers the frames below depend on.
    switch (nullhost::pendingHash) {
        case fakegame::kIsPedOnMount:
            nullhost::resultSlot = world.onMount ? 1 : 0;
            break;
        case fakegame::kHasTextureDictLoaded:
            nullhost::resultSlot = 1;
            break;
        default:
            nullhost::resultSlot = 0;
            break;
    }
    return &nullhost::resultSlot;
}

SHORT GetAsyncKeyState(int key) {
    if (key == VK_LBUTTON) {
        return world.buttonDown ? static_cast<SHORT>(-32768) : 0;
    }
    return world.keysHeld ? static_cast<SHORT>(-32768) : 0;
}

SHORT GetKeyState(int) {
    return world.buttonDown ? static_cast<SHORT>(-32768) : 0;
}

HWND FindWindowA(LPCSTR, LPCSTR) {
    return nullhost::kWindow;
}

// The game's window is always the one in front: the sound mix, when on, never holds the radio.
HWND GetForegroundWindow() {
    return nullhost::kWindow;
}

BOOL GetClientRect(HWND, RECT* rect) {
    *rect = RECT{0, 0, 1920, 1080};
    return TRUE;
}

BOOL ClientToScreen(HWND, POINT*) {
    return TRUE;
}

BOOL ScreenToClient(HWND, POINT*) {
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    point->x = world.cursorX;
    point->y = world.cursorY;
    return TRUE;
}

BOOL SetCursorPos(int, int) {
    return TRUE;
}

MCIERROR mciSendStringW(LPCWSTR, LPWSTR reply, UINT length, HWND) {
    if (reply != nullptr && length > 0) {
        UINT i = 0;
        for (; nullhost::statusReply[i] != 0 && i + 1 < length; ++i) {
            reply[i] = nullhost::statusReply[i];
        }
        reply[i] = 0;
    }
    return 0;
}

DWORD GetPrivateProfileStringA(LPCSTR, LPCSTR, LPCSTR defaultValue, LPSTR returned, DWORD size, LPCSTR) {
    DWORD i = 0;
    for (; defaultValue[i] != 0 && i + 1 < size; ++i) {
        returned[i] = defaultValue[i];
    }
    returned[i] = 0;
    return i;
}
