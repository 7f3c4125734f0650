// A host whose every call costs next to nothing: the script hook, the Win32 subset and the media
// service answer from a few variables. It lets a benchmark see the radio's own work.
#pragma once

#include <cstdint>

namespace nullhost {

struct World {
    bool onMount = false;
    bool keysHeld = false;   // Q and R
    bool buttonDown = false;  // left mouse button
    int cursorX = 0;          // client coordinates
    int cursorY = 0;
};

extern World world;

// The reply every status query gets.
void SetStatusReply(const char16_t* reply);

}  // namespace nullhost
