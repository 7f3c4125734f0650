// The game's window, found by its title, and its client rectangle: what the cursor centring and
// the wheel's hit test both measure against.
#pragma once

#include "platform/win32.h"

namespace trallio {

// Finds the game window and reads its client rectangle, in that order. False, with nothing more
// asked, when there is no window or its rectangle cannot be read.
inline bool ReadGameWindow(HWND* window, RECT* client) {
    *window = FindWindowA(nullptr, "Red Dead Redemption 2");
    if (*window == nullptr) {
        return false;
    }
    return GetClientRect(*window, client) != 0;
}

}  // namespace trallio
