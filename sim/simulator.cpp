#include "simulator.h"

#include <cstring>

#include "fake_host.h"
#include "game_names.h"
#include "natives_catalog.h"
#include "platform/win32.h"

// The radio's module entry, as the loader calls it.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace sim {

namespace {

HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7A110000));

// "media KEYWORD "DEVICE" rest" as both media services' trace lines read.
bool SplitMediaLine(const std::string& line, std::string& keyword, std::string& device, std::string& rest) {
    const std::string prefix = "media ";
    if (line.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const size_t space = line.find(' ', prefix.size());
    if (space == std::string::npos || space + 1 >= line.size() || line[space + 1] != '"') {
        return false;
    }
    keyword = line.substr(prefix.size(), space - prefix.size());
    const size_t close = line.find('"', space + 2);
    if (close == std::string::npos) {
        return false;
    }
    device = line.substr(space + 1, close - space);
    rest = line.substr(close + 1);
    return true;
}

// The return code at the end of a media line (" -> 275"), or "".
std::string MediaError(const std::string& rest) {
    const size_t arrow = rest.rfind(" -> ");
    return arrow == std::string::npos ? "" : rest.substr(arrow + 4);
}

}  // namespace

Simulator::Simulator(std::ostream* trace) : trace_(trace) {
    fakehost::Reset();
    fakehost::SetRecording(false);
    fakehost::SetEventSink([this](const fakehost::Event& event) {
        std::lock_guard<std::mutex> hold(lock_);
        if (trace_ != nullptr) {
            *trace_ << fakehost::FrameNumber() << ' ' << event.line << '\n';
        }
        if (!watch_.empty() && event.line.find(watch_) != std::string::npos) {
            watchSeen_ = true;
        }
        if (event.kind == fakehost::EventKind::Native) {
            if (event.hash == fakegame::kSetTextScale && !event.args.empty()) {
                textScale_ = fakehost::FloatFromSlot(event.args[0]);
            } else if (event.hash == fakegame::kDisplayText && event.args.size() == 3 &&
                       !fakehost::Game().texts.empty()) {
                texts_.push_back({fakehost::Game().texts.back(), fakehost::FloatFromSlot(event.args[1]),
                                  fakehost::FloatFromSlot(event.args[2]), textScale_});
            }
        } else if (event.kind == fakehost::EventKind::Media) {
            std::string keyword;
            std::string device;
            std::string rest;
            if (!SplitMediaLine(event.line, keyword, device, rest)) {
                return;
            }
            const std::string error = MediaError(rest);
            if (keyword == "open") {
                media_.device = device;
                media_.mode = error.empty() ? "opening" : "open failed (" + error + ")";
            } else if (device != media_.device) {
                return;
            } else if (keyword == "close") {
                // A refused track is closed at once; its failed open stays shown.
                if (media_.mode.compare(0, 11, "open failed") != 0) {
                    media_ = MediaStatus{};
                }
            } else if (!error.empty()) {
                // A device that never opened fails every later command too; the open's failure
                // is the one worth showing.
                if (media_.mode.compare(0, 11, "open failed") != 0) {
                    media_.mode = keyword + " failed (" + error + ")";
                }
            } else if (keyword == "play" || keyword == "resume") {
                media_.mode = "playing";
            } else if (keyword == "pause") {
                media_.mode = "paused";
            } else if (keyword == "status") {
                const size_t equals = rest.find("= \"");
                if (equals != std::string::npos) {
                    const size_t end = rest.find('"', equals + 3);
                    media_.mode = rest.substr(equals + 3, end == std::string::npos ? end : end - equals - 3);
                }
            }
        }
    });
    DllMain(kModule, DLL_PROCESS_ATTACH, nullptr);
    fakehost::StartScript();
}

Simulator::~Simulator() {
    fakehost::StopScript();
    DllMain(kModule, DLL_PROCESS_DETACH, nullptr);
    if (trace_ != nullptr) {
        trace_->flush();
    }
    fakehost::SetEventSink(nullptr);
    StopMediaService(Media().device);
}

bool Simulator::RunFrame(Controls& controls) {
    fakehost::World& world = fakehost::GetWorld();
    static_cast<fakehost::PlayerInput&>(world) = controls;
    // The desktop's clock runs at 60 frames a second whatever the pace of the run, so that a run
    // and its trace come out the same every time.
    world.tickCount = static_cast<uint32_t>((static_cast<uint64_t>(fakehost::FrameNumber()) + 1) * 1000 / 60);
    const int screenX = controls.windowX + controls.cursorX;
    const int screenY = controls.windowY + controls.cursorY;
    world.cursorX = screenX;
    world.cursorY = screenY;

    texts_.clear();
    fakehost::RunFrame();

    if (world.cursorX == screenX && world.cursorY == screenY) {
        return false;
    }
    controls.cursorX = world.cursorX - controls.windowX;
    controls.cursorY = world.cursorY - controls.windowY;
    return true;
}

int Simulator::Frame() const {
    return fakehost::FrameNumber();
}

void Simulator::Note(const std::string& line) {
    std::lock_guard<std::mutex> hold(lock_);
    if (trace_ != nullptr) {
        *trace_ << fakehost::FrameNumber() + 1 << ' ' << line << '\n';
    }
}

void Simulator::Watch(const std::string& text) {
    std::lock_guard<std::mutex> hold(lock_);
    watch_ = text;
    watchSeen_ = false;
}

bool Simulator::WatchSeen() const {
    std::lock_guard<std::mutex> hold(lock_);
    return watchSeen_;
}

const std::vector<HudText>& Simulator::Texts() const {
    return texts_;
}

MediaStatus Simulator::Media() const {
    std::lock_guard<std::mutex> hold(lock_);
    return media_;
}

}  // namespace sim
