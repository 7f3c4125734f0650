// The stand-in game's own record, shared by its parts: the world and the game's state
// (fake_host.cpp), the trace (trace.cpp), the script hook (script_hook.cpp), the natives
// (game_natives.cpp) and the Win32 subset (win32_desktop.cpp). Tests include fake_host.h only.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fake_host.h"

namespace fakehost {

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
    int waits = 0;
};

extern Host host;

// Hands the event to the sink and, while recording, keeps it.
void Emit(Event event);
// A value in hex as traces show handles and key states: "0x" and no leading zeros.
std::string Hex(uint64_t value);

}  // namespace fakehost
