// One plug-in load in a game folder of its own, and the frames and wheel moves the wine host's
// scenarios and the wine benchmarks both play.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check.h"
#include "game_names.h"
#include "media_commands.h"
#include "rig.h"

namespace wine_session {

constexpr uint32_t kWheelTimeScaleBits = 0x3DCCCCCD;   // 0.1
constexpr uint32_t kNormalTimeScaleBits = 0x3F800000;  // 1.0

inline const wchar_t kGameWindowTitle[] = L"Red Dead Redemption 2";

// One plug-in load in a game folder of its own.
struct Session {
    rig::GameFolder folder;
    rig::Hook hook;
    HMODULE plugin = nullptr;

    explicit Session(const wchar_t* name) : folder(name) {}
    ~Session() { Unload(); }

    // Places the hook and the plug-in in the game folder and loads them as the game does: the
    // hook first, then the plug-in, whose import of ScriptHookRDR2.dll binds to the loaded hook.
    bool Load() {
        const std::wstring from = rig::ProgramFolder();
        if (!folder.ok() || !folder.CopyIn(from + L"\\ScriptHookRDR2.dll", L"ScriptHookRDR2.dll") ||
            !folder.CopyIn(from + L"\\Trallio.asi", L"Trallio.asi")) {
            return false;
        }
        check::Step("loading the hook and the plug-in");
        if (!hook.Load(folder.At(L"ScriptHookRDR2.dll"))) {
            return false;
        }
        plugin = LoadLibraryW(folder.At(L"Trallio.asi").c_str());
        check::Step("loaded");
        return plugin != nullptr;
    }

    void Unload() {
        check::Step("unloading the plug-in and the hook");
        if (plugin != nullptr) {
            FreeLibrary(plugin);
            plugin = nullptr;
        }
        hook.Unload();
        check::Step("unloaded");
    }
};

struct FrameRecord {
    std::vector<FakeNativeCall> natives;
    std::vector<rig::MediaCommand> media;
};

// One game frame: input is delivered, then the script runs until it waits.
inline FrameRecord RunFrame(const Session& session, rig::MediaWatch* watch) {
    rig::PumpMessages();
    FrameRecord frame;
    if (!session.hook.RunFrame()) {
        check::Report(false, "the hook runs a frame of the registered script", __FILE__, __LINE__);
    }
    frame.natives = session.hook.Take();
    if (watch != nullptr) {
        frame.media = watch->Take();
    }
    return frame;
}

inline bool HasTimeScale(const FrameRecord& frame, uint32_t bits) {
    for (const FakeNativeCall& call : rig::CallsOf(frame.natives, fakegame::kSetTimeScale)) {
        if (call.argCount == 1 && call.args[0] == bits) {
            return true;
        }
    }
    return false;
}

inline size_t CountTextCalls(const FrameRecord& frame, uint64_t hash, const std::string& text) {
    size_t count = 0;
    for (const FakeNativeCall& call : rig::CallsOf(frame.natives, hash)) {
        if (text == call.texts[0]) {
            ++count;
        }
    }
    return count;
}

// How many of the texts the game was asked to make (each message and wheel label) read `text`.
inline size_t CountMadeTexts(const std::vector<FakeNativeCall>& natives, const std::string& text) {
    size_t count = 0;
    for (const FakeNativeCall& call : rig::CallsOf(natives, fakegame::kCreateVarString)) {
        count += text == call.texts[2] ? 1 : 0;
    }
    return count;
}

inline std::vector<std::wstring> Commands(const std::vector<rig::MediaCommand>& media) {
    std::vector<std::wstring> texts;
    for (const rig::MediaCommand& command : media) {
        texts.push_back(command.command);
    }
    return texts;
}

inline void Append(std::vector<rig::MediaCommand>& to, const std::vector<rig::MediaCommand>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// The expected media commands: Device, Open, Play, Volume, Status, Pause, Resume, Close.
using namespace media_commands;

// Every command but the status poll goes without a reply buffer; the poll has 64 units. None
// names a callback window.
inline void CheckCallShapes(const std::vector<rig::MediaCommand>& media) {
    for (const rig::MediaCommand& command : media) {
        const bool poll = command.command.compare(0, 7, L"status ") == 0;
        bool ok = command.callback == nullptr;
        ok = ok && (poll ? command.hadReplyBuffer && command.replyCapacity == 64
                         : !command.hadReplyBuffer && command.replyCapacity == 0);
        if (!check::Report(ok, "reply buffer and callback of a media command", __FILE__, __LINE__)) {
            std::printf("    %s\n", check::Show(command.command).c_str());
        }
    }
}

// Position of a name in the platform's listing of a folder.
inline size_t IndexOf(const std::vector<std::wstring>& listing, const std::wstring& name) {
    return static_cast<size_t>(std::find(listing.begin(), listing.end(), name) - listing.begin());
}

// Runs frames until a command starting with `prefix` shows up (at most `limit` frames); gives
// the number of frames run, the frame with the command counted.
inline int RunUntil(const Session& session, rig::MediaWatch& watch, const std::wstring& prefix, int limit,
             std::vector<rig::MediaCommand>& media) {
    for (int frames = 1; frames <= limit; ++frames) {
        const FrameRecord frame = RunFrame(session, &watch);
        Append(media, frame.media);
        for (const rig::MediaCommand& command : frame.media) {
            if (command.command.compare(0, prefix.size(), prefix) == 0) {
                return frames;
            }
        }
    }
    return -1;
}

// Has the recording winmm end the track on `device`, then runs frames until the next open as
// RunUntil does.
inline int EndTrack(const Session& session, rig::MediaWatch& watch, const std::wstring& device, int limit,
                    std::vector<rig::MediaCommand>& media) {
    CHECK(watch.SetMode(device, L"stopped"));
    return RunUntil(session, watch, L"open ", limit, media);
}

// The wheel's station segments, at their centres as fractions of the client area.
constexpr float kStation1X = 0.51f, kStation1Y = 0.265f;
constexpr float kStation2X = 0.32f, kStation2Y = 0.575f;

// Opens the wheel, clicks at (x, y) and lets go of everything, each frame through `run`, which
// says whether the wheel ran in that frame. The walk of the chosen folder takes frames of its own,
// in which the wheel does not run: the button is let go only once the wheel runs again, so that it
// sees the button up over a slot and takes the next press as a new click.
template <typename Run>
void ClickOnWheel(HWND window, float x, float y, Run run) {
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    CHECK(run());
    CHECK(rig::MoveCursorTo(window, x, y));
    CHECK(rig::PressLeftButton(true));
    run();
    bool wheelAgain = false;
    for (int i = 0; i < 20 && !wheelAgain; ++i) {
        wheelAgain = run();
    }
    CHECK(wheelAgain);
    CHECK(rig::PressLeftButton(false));
    CHECK(run());
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    run();
    run();
}

// ClickOnWheel, the media commands of those frames appended to `media`, their natives to `natives`
// and (if given) each frame's media commands to `frames`.
inline void ChooseStation(const Session& session, rig::MediaWatch& watch, HWND window, float x, float y,
                   std::vector<rig::MediaCommand>& media, std::vector<FakeNativeCall>& natives,
                   std::vector<std::vector<rig::MediaCommand>>* frames = nullptr) {
    auto run = [&] {
        const FrameRecord frame = RunFrame(session, &watch);
        Append(media, frame.media);
        if (frames != nullptr) {
            frames->push_back(frame.media);
        }
        natives.insert(natives.end(), frame.natives.begin(), frame.natives.end());
        return HasTimeScale(frame, kWheelTimeScaleBits);
    };
    ClickOnWheel(window, x, y, run);
}

// Puts the player on a mount, runs a frame and chooses station 1 on the wheel, the cursor coming
// from a corner of the screen; the media commands and natives of those frames appended as
// ChooseStation does.
inline void RideAndChooseStationOne(const Session& session, rig::MediaWatch& watch, HWND window,
                                    std::vector<rig::MediaCommand>& media,
                                    std::vector<FakeNativeCall>& natives,
                                    std::vector<std::vector<rig::MediaCommand>>* frames = nullptr) {
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, &watch);
    CHECK(SetCursorPos(2, 2));
    ChooseStation(session, watch, window, kStation1X, kStation1Y, media, natives, frames);
}

// The volume arrows, as fractions of the client area.
constexpr float kVolumeDownX = 0.11f, kVolumeUpX = 0.88f, kVolumeY = 0.55f;

// Opens the wheel, holds the button at (x, y) for `frames` frames and closes the wheel, each frame
// through `run`: the frame after the keys are let go is the one in which the wheel closes.
template <typename Run>
void HoldOnWheel(HWND window, float x, float y, int frames, Run run) {
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    run();
    CHECK(rig::MoveCursorTo(window, x, y));
    CHECK(rig::PressLeftButton(true));
    for (int i = 0; i < frames; ++i) {
        run();
    }
    CHECK(rig::PressLeftButton(false));
    run();
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    run();
    run();
}

// Lets go of every key and button, unloads the plug-in (the hook stays) and closes the game window.
inline void CloseGame(Session& session, HWND window) {
    rig::ReleaseAll();
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// The media commands that open a device.
inline std::vector<std::wstring> OpensIn(const std::vector<rig::MediaCommand>& media) {
    std::vector<std::wstring> opens;
    for (const rig::MediaCommand& command : media) {
        if (command.command.compare(0, 5, L"open ") == 0) {
            opens.push_back(command.command);
        }
    }
    return opens;
}

inline size_t CountOpens(const std::vector<rig::MediaCommand>& media) {
    return OpensIn(media).size();
}

// How many of the media commands the host's own thread (the game's) sent.
inline size_t CountFromThisThread(const std::vector<rig::MediaCommand>& media) {
    const auto fromThisThread = [](const rig::MediaCommand& command) {
        return command.threadId == GetCurrentThreadId();
    };
    return static_cast<size_t>(std::count_if(media.begin(), media.end(), fromThisThread));
}

}  // namespace wine_session
