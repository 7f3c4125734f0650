// The Win32 keyboard, mouse and window subset as the stand-in desktop answers it: the keys and
// the button from the world, one game window whose client area sits at the world's place.
#include <cstring>

#include "fake_host.h"
#include "host_record.h"
#include "natives_catalog.h"

namespace fakehost {

namespace {

HWND const kGameWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
HWND const kOtherWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5678));

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

}  // namespace fakehost

using fakehost::host;

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
