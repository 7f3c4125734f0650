// The script hook's operations as the stand-in game gives them: the registered script runs on a
// thread of its own, in lockstep with the frames the tests and the simulator run.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "fake_host.h"
#include "host_record.h"
#include "platform/script_hook.h"

namespace fakehost {

namespace {

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

}  // namespace

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

bool OnScriptThread() {
    return std::this_thread::get_id() == script.id;
}

}  // namespace fakehost

using fakehost::host;
using fakehost::script;

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
