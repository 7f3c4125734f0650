// media_thread on the real plug-in with the recording winmm: every media call made by the
// plug-in's own thread, a track that ends and starts again, an open that hangs, and loads and
// unloads with a track playing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "frame_script.h"
#include "host_scenarios.h"

namespace wine_scenarios {

namespace {

using namespace wine_session;

const std::wstring kRide = L"Stations\\Ride";
const char kHungMessage[] = "The media service is not answering. Trallio is paused.";

// Runs game frames, each with about a frame's time after it in which the plug-in's thread works,
// until `command` is among `media` (at most `limit` frames), their commands appended to it.
bool RunUntilCommand(const Session& session, rig::MediaWatch& watch, const std::wstring& command,
                     std::vector<rig::MediaCommand>& media, int limit = 200) {
    const auto sent = [&] {
        const std::vector<std::wstring> texts = Commands(media);
        return std::find(texts.begin(), texts.end(), command) != texts.end();
    };
    for (int i = 0; i < limit && !sent(); ++i) {
        Append(media, RunFrame(session, &watch).media);
        Sleep(16);
    }
    return sent();
}

std::vector<std::wstring> WithoutPolls(const std::vector<rig::MediaCommand>& media) {
    std::vector<std::wstring> commands;
    for (const rig::MediaCommand& command : media) {
        if (command.command.compare(0, 7, L"status ") != 0) {
            commands.push_back(command.command);
        }
    }
    return commands;
}

// Loads the plug-in with the setting on and plays the one track of station `ride`. Null on failure.
HWND StartPlaying(Session& session, rig::MediaWatch& watch, std::vector<rig::MediaCommand>& media,
                  const std::wstring& ride = kRide) {
    const std::string settings = "[RADIOS]\r\nradio 1 = " + std::string(ride.begin(), ride.end()) +
                                 "\r\n[config]\r\nmedia_thread = True\r\n";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", settings));
    WriteTracks(session, ride, {L"a.mp3"});
    HWND window = OpenGame(session, &watch);
    if (window == nullptr) {
        return nullptr;
    }
    std::vector<FakeNativeCall> natives;
    RideAndChooseStationOne(session, watch, window, media, natives);
    CHECK(RunUntilCommand(session, watch, Volume(Device(ride, L"a.mp3"), 90), media));
    return window;
}

// An open held for 2.5 s: frames go on, the message shows once, nothing is sent meanwhile.
void HungOpen(const Session& session, rig::MediaWatch& watch, const std::wstring& track) {
    check::Section("media_thread: an open that does not return for 2.5 s");
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    CHECK(watch.HoldOpens(true));
    CHECK(watch.SetMode(track, L"stopped"));
    LARGE_INTEGER ticksPerSecond, before, after;
    QueryPerformanceFrequency(&ticksPerSecond);
    const DWORD start = GetTickCount();
    LONGLONG slowest = 0;  // microseconds
    size_t frames = 0;
    size_t sentAfterMessage = 0;
    while (GetTickCount() - start < 2500) {
        QueryPerformanceCounter(&before);
        const FrameRecord frame = RunFrame(session, &watch);
        QueryPerformanceCounter(&after);
        Append(media, frame.media);
        Sleep(16);
        slowest = std::max<LONGLONG>(slowest, (after.QuadPart - before.QuadPart) * 1000000 / ticksPerSecond.QuadPart);
        ++frames;
        const bool shown = CountMadeTexts(natives, kHungMessage) > 0;
        natives.insert(natives.end(), frame.natives.begin(), frame.natives.end());
        sentAfterMessage += shown ? frame.media.size() : 0;
    }
    CHECK_EQ(CountMadeTexts(natives, kHungMessage), size_t{1});
    CHECK_EQ(sentAfterMessage, size_t{0});
    // The frame never waits for the held open (a generous bound under wine; the figure is printed).
    CHECK(slowest < 500000);
    std::printf("    %zu frames while the open was held, the slowest %.3f ms\n", frames, slowest / 1000.0);
    CHECK(watch.HoldOpens(false));
    CHECK(RunUntilCommand(session, watch, Volume(track, 90), media));
    CHECK_EQ(WithoutPolls(media), (Texts{Close(track), Open(track), Play(track), Volume(track, 90)}));
}

}  // namespace

void MediaThreadOnRecorder() {
    check::Section("media_thread: every media call from the plug-in's own thread, today's commands in order");
    Session session(L"media-thread");
    rig::MediaWatch watch;
    std::vector<rig::MediaCommand> media;
    HWND window = StartPlaying(session, watch, media);
    if (window == nullptr) {
        return;
    }
    const std::wstring track = Device(kRide, L"a.mp3");
    std::vector<std::wstring> started = WithoutPolls(media);
    started.resize(std::min<size_t>(started.size(), 3));
    CHECK_EQ(started, (Texts{Open(track), Play(track), Volume(track, 90)}));
    std::vector<rig::MediaCommand> after;
    CHECK(watch.SetMode(track, L"stopped"));
    CHECK(RunUntilCommand(session, watch, Volume(track, 90), after));
    CHECK_EQ(WithoutPolls(after), (Texts{Close(track), Open(track), Play(track), Volume(track, 90)}));
    Append(media, after);
    HungOpen(session, watch, track);

    CHECK_EQ(CountFromThisThread(media), size_t{0});
    session.Unload();
    CHECK(GetModuleHandleW(L"Trallio.asi") == nullptr);
    CHECK(GetModuleHandleW(L"ScriptHookRDR2.dll") == nullptr);
    DestroyWindow(window);
    rig::PumpMessages();
}

// Loads and unloads with a track playing, the same file each time: each unload pauses the track,
// and the parked thread closes its devices as it ends, so that each load plays the file again.
void MediaThreadLoads(int loads) {
    check::Section("media_thread: loads and unloads with a track playing");
    // The recorder stays loaded between the plug-in's loads, so that its record outlives each.
    HMODULE winmm = LoadLibraryW(L"winmm.dll");
    const std::wstring track = Device(kRide, L"a.mp3");
    for (int load = 0; load < loads; ++load) {
        Session session((L"media-thread-load-" + std::to_wstring(load)).c_str());
        rig::MediaWatch watch;
        std::vector<rig::MediaCommand> media;
        HWND window = StartPlaying(session, watch, media);
        if (window == nullptr) {
            return;
        }
        session.Unload();
        for (int wait = 0; wait < 100 && (media.empty() || media.back().command != L"close all"); ++wait) {
            Sleep(10);
            Append(media, watch.Take());
        }
        const std::vector<std::wstring> last = WithoutPolls(media);
        if (!CHECK(last.size() >= 2 && last[last.size() - 2] == Pause(track) && last.back() == L"close all")) {
            std::printf("    load %d, last %s\n", load, last.empty() ? "none" : check::Show(last.back()).c_str());
            break;
        }
        DestroyWindow(window);
        rig::PumpMessages();
    }
    FreeLibrary(winmm);
}

// An unload while the thread is inside an open that does not return: the unload ends within its
// bound and the thread never runs the unmapped plug-in's code again (the process goes on); a new
// load plays.
void MediaThreadUnloadDuringOpen() {
    check::Section("media_thread: unloaded while an open does not return");
    HMODULE winmm = LoadLibraryW(L"winmm.dll");  // the held open waits inside it
    {
        Session session(L"media-thread-held-unload");
        rig::MediaWatch watch;
        std::vector<rig::MediaCommand> media;
        const std::wstring ride = kRide + L"Held";
        HWND window = StartPlaying(session, watch, media, ride);
        if (window == nullptr) {
            return;
        }
        const std::wstring track = Device(ride, L"a.mp3");
        CHECK(watch.HoldOpens(true));
        CHECK(watch.SetMode(track, L"stopped"));
        CHECK(RunUntilCommand(session, watch, Close(track), media));
        Sleep(50);  // the thread is inside the next open now
        session.Unload();
        CHECK(GetModuleHandleW(L"Trallio.asi") == nullptr);
        CHECK(watch.HoldOpens(false));
        Sleep(200);  // the open could return now: the frozen thread must not run on
        DestroyWindow(window);
        rig::PumpMessages();
    }
    Session session(L"media-thread-after-held-unload");
    rig::MediaWatch watch;
    std::vector<rig::MediaCommand> media;
    HWND window = StartPlaying(session, watch, media, kRide + L"Again");
    if (CHECK(window != nullptr)) {
        session.Unload();
        DestroyWindow(window);
        rig::PumpMessages();
    }
    FreeLibrary(winmm);
}

}  // namespace wine_scenarios
