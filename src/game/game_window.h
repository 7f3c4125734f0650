// The game's window, found by its title, and its client rectangle: what the cursor centring and
// the wheel's hit test both measure against.
#pragma once

#include "platform/win32.h"

namespace trallio {

// The game window, by its title; null when there is none.
inline HWND FindGameWindow() {
    return FindWindowA(nullptr, "Red Dead Redemption 2");
}

// Finds the game window and reads its client rectangle, in that order. False, with nothing more
// asked, when there is no window or its rectangle cannot be read.
inline bool ReadGameWindow(HWND* window, RECT* client) {
    *window = FindGameWindow();
    if (*window == nullptr) {
        return false;
    }
    return GetClientRect(*window, client) != 0;
}

}  // namespace trallio
