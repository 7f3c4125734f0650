// The stand-in game's record: the world the tests set, the game's state the radio leaves, and the
// frame count.
#include "fake_host.h"

#include <atomic>

#include "host_record.h"
#include "wheel_points.h"

namespace fakehost {

Host host;
// The frame number, read by the media service's records on the radio's own thread too.
std::atomic<int> frameNumber{0};

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
    frameNumber.store(0);
    host.waits = 0;
    host.keep = true;
    ResetPad();
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

void BeginFrame() {
    frameNumber.fetch_add(1);
    SamplePad(host.world.pad);
    host.game.texts.clear();
    host.game.sprites.clear();
    for (const std::string& name : host.requestedDictionaries) {
        host.loadedDictionaries.insert(name);
    }
    host.requestedDictionaries.clear();
}

int FrameNumber() {
    return frameNumber.load();
}

int WaitCount() {
    return host.waits;
}

}  // namespace fakehost
