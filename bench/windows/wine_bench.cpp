// The wine frame-cost measurements (not tests): the real Trallio.asi under the fake script hook,
// with the system's winmm playing real files, timed against the same media commands sent bare by
// this program to the same winmm in the same run.
//
//   trallio_wine_bench frame-cost   a riding frame with a track playing, against a bare status poll
//   trallio_wine_bench change-cost  a frame in which a track changes, and one that passes over a
//                                   refused file, against the same commands sent bare
//   trallio_wine_bench change-cost-thread  the same with media_thread on: the frames around each
//                                   change, and which thread sent the commands
//   trallio_wine_bench tag-cost     the frame in which a track starts with titles = tags, against
//                                   titles = file, on the recording winmm (run with
//                                   WINEDLLOVERRIDES=winmm=n; the files from trallio-tagged-files
//                                   FOLDER --big, in the tagged folder beside this program)
//   trallio_wine_bench save-cost    the frame in which the wheel closes and the remembered state is
//                                   written, against one in which it closes with nothing to write,
//                                   on the recording winmm (WINEDLLOVERRIDES=winmm=n)
//   trallio_wine_bench loudness-cost  the frame in which a tagged track starts with loudness = track,
//                                   against titles = tags, on the recording winmm (the same files)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "session.h"
#include "wine_bench.h"

namespace {

using namespace wine_bench;
using namespace wine_session;

// frame-cost: how long a riding frame with a track playing takes, against a bare status poll of
// the same device sent by the host to the same winmm, in the same run.

void FrameCost() {
    check::Section("frame-cost: a riding frame against a bare status poll");
    Session session(L"frame-cost");
    const std::wstring station = L"Stations\\Ride";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Stations\\Ride\r\n"));
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tone.mp3", station + L"\\tone.mp3"));
    const std::wstring device = Device(station, L"tone.mp3");
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    // The host's own polls go straight to the winmm the plug-in imports; the plug-in's commands
    // are not watched, so its frames carry no recording.
    using MciSend = MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);
    const MciSend mci = reinterpret_cast<MciSend>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"winmm.dll"), "mciSendStringW")));
    if (!CHECK(mci != nullptr)) {
        return;
    }
    const std::wstring statusCommand = L"status " + device + L" mode";
    wchar_t reply[64];
    auto poll = [&] {
        reply[0] = L' ';
        reply[1] = 0;
        const MCIERROR error = mci(statusCommand.c_str(), reply, 64, nullptr);
        return error;
    };
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, nullptr);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    RunFrame(session, nullptr);
    CHECK(rig::MoveCursorTo(window, 0.51f, 0.265f));
    CHECK(rig::PressLeftButton(true));
    std::wstring mode;
    for (int i = 0; i < 20 && mode != L"playing"; ++i) {
        RunFrame(session, nullptr);
        const MCIERROR error = poll();
        mode = reply;
        if (std::getenv("TRALLIO_WINE_VERBOSE") != nullptr) {
            std::printf("frame %d: %s -> %lu %s\n", i, check::Show(device).c_str(), static_cast<unsigned long>(error),
                        check::Show(mode).c_str());
        }
    }
    CHECK(rig::PressLeftButton(false));
    RunFrame(session, nullptr);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, nullptr);
    if (!CHECK(mode == L"playing")) {
        return;
    }

    // Interleaved, so both see the same machine: one frame, then one poll, 400 times.
    std::vector<double> frames;
    std::vector<double> polls;
    for (int i = 0; i < 400; ++i) {
        rig::PumpMessages();
        LARGE_INTEGER a, b, c;
        QueryPerformanceCounter(&a);
        session.hook.RunFrame();
        QueryPerformanceCounter(&b);
        poll();
        QueryPerformanceCounter(&c);
        mode = reply;
        session.hook.Take();
        frames.push_back(Microseconds(a, b));
        polls.push_back(Microseconds(b, c));
    }
    CHECK(mode == L"playing");
    std::printf("riding frame (fake hook recording every native): median %.1f us, best %.1f us\n", Median(frames),
                Best(frames));
    std::printf("bare status poll of the same device:           median %.1f us, best %.1f us\n", Median(polls),
                Best(polls));
    std::printf("frame / poll (medians): %.2f\n", Median(frames) / Median(polls));
    CloseGame(session, window);
}

// change-cost: a station of "1 good.mp3", "2 good.mp3", "3 bad.mp3" (refused), "4 good.mp3" played
// through; each frame timed; the frames in which a track changes (1 to 2: close, open, play, volume;
// and 2 to 4 over the refused 3) are picked out from the commands they sent, and each is followed
// by the same kinds of command sent bare by the host on a device of its own: close, open, play,
// volume, status (the status of the next track comes in the radio's next frame).
//
// With media_thread on (change-cost-thread) the commands come from the plug-in's own thread
// between and during frames: a change is every frame from the one in which a status poll answered
// "stopped" to the one in which the next track's play was sent, and its cost is the slowest of
// them (over the refused file when "3 bad.mp3" was opened in between).
struct ChangeWindow {
    bool open = false;
    bool overRefused = false;
    double slowest = 0;
};

struct ChangeFigures {
    std::vector<double> changes, changesBare, refused, refusedBare, frames;
    size_t fromGameThread = 0, commandsSeen = 0;
};

// media_thread on: follows the change windows through one frame's commands.
template <typename SendBare>
void FollowChanges(const std::vector<rig::MediaCommand>& frame, double took, const std::wstring& bad,
                   ChangeWindow& change, ChangeFigures& figures, SendBare sendBare) {
    change.slowest = std::max(change.slowest, took);
    for (const rig::MediaCommand& command : frame) {
        if (command.command.compare(0, 7, L"status ") == 0 && command.reply == L"stopped") {
            change = ChangeWindow{true, false, took};
        } else if (change.open && command.command == bad) {
            change.overRefused = true;
        } else if (change.open && command.command.compare(0, 5, L"play ") == 0) {
            (change.overRefused ? figures.refused : figures.changes).push_back(change.slowest);
            (change.overRefused ? figures.refusedBare : figures.changesBare).push_back(sendBare());
            change = ChangeWindow{};
        }
    }
}

// media_thread off: a frame that sent a close and the open of `secondOpen` is a change, one that
// sent a close and two opens passed over the refused file.
template <typename SendBare>
void PickChangeFrame(const std::vector<rig::MediaCommand>& frame, double took, const std::wstring& secondOpen,
                     ChangeFigures& figures, SendBare sendBare) {
    const std::vector<std::wstring> commands = Commands(frame);
    const size_t opens = CountOpens(frame);
    const bool closes = std::any_of(commands.begin(), commands.end(),
                                    [](const std::wstring& c) { return c.compare(0, 6, L"close ") == 0; });
    if (closes && opens == 1 && std::find(commands.begin(), commands.end(), secondOpen) != commands.end()) {
        figures.changes.push_back(took);
        figures.changesBare.push_back(sendBare());
    } else if (closes && opens == 2) {
        figures.refused.push_back(took);
        figures.refusedBare.push_back(sendBare());
    }
}

void PrintChangeFigures(bool threaded, const ChangeFigures& f) {
    const char* const kind = threaded ? "frames around a track change (slowest of each)"
                                      : "track change frame (status, close, open, play, volume)";
    std::printf("%s: median %.1f us, worst %.1f us, best %.1f us, %zu changes\n", kind, Median(f.changes),
                *std::max_element(f.changes.begin(), f.changes.end()), Best(f.changes), f.changes.size());
    std::printf("  five commands sent bare (close, open, play, volume, status): median %.1f us, best %.1f us\n",
                Median(f.changesBare), Best(f.changesBare));
    std::printf("%s over a refused file: median %.1f us, worst %.1f us, best %.1f us, %zu passes\n",
                threaded ? "frames around a change" : "frame passing", Median(f.refused),
                *std::max_element(f.refused.begin(), f.refused.end()), Best(f.refused), f.refused.size());
    std::printf("  five commands sent bare, after it: median %.1f us, best %.1f us\n", Median(f.refusedBare),
                Best(f.refusedBare));
    std::printf("every frame of the run: median %.1f us, worst %.1f us, %zu frames; media commands %zu, "
                "from the game's thread %zu\n",
                Median(f.frames), *std::max_element(f.frames.begin(), f.frames.end()), f.frames.size(),
                f.commandsSeen, f.fromGameThread);
}

void ChangeCost(bool threaded) {
    check::Section(threaded ? "change-cost-thread: frames around each change of track, media_thread on"
                            : "change-cost: frames in which a track changes, against the same commands sent bare");
    Session session(threaded ? L"change-cost-thread" : L"change-cost");
    const std::wstring station = L"Stations\\Ride";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", std::string("[RADIOS]\r\nradio 1 = Stations\\Ride\r\n") +
                                                           (threaded ? "[config]\r\nmedia_thread = True\r\n" : "")));
    const std::wstring tone = rig::ProgramFolder() + L"\\tone.mp3";
    for (const wchar_t* name : {L"1 good.mp3", L"2 good.mp3", L"4 good.mp3"}) {
        CHECK(session.folder.CopyIn(tone, station + L"\\" + name));
    }
    CHECK(session.folder.CopyIn(tone, L"bare.mp3"));
    CHECK(session.folder.Write(station + L"\\3 bad.mp3", std::string(6000, '\x55')));
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    rig::MediaWatch watch;
    if (!CHECK(watch.AttachPassThrough(session.plugin))) {
        return;
    }
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    RideAndChooseStationOne(session, watch, window, media, natives);

    const std::wstring bare = L"\"bare.mp3\"";
    const std::vector<std::wstring> bareCommands = {Close(bare), Open(bare), Play(bare), Volume(bare, 90), Status(bare)};
    auto sendBare = [&] {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        for (const std::wstring& command : bareCommands) {
            std::wstring reply;
            watch.Send(command, command.compare(0, 7, L"status ") == 0 ? &reply : nullptr);
        }
        QueryPerformanceCounter(&b);
        return Microseconds(a, b);
    };
    watch.Send(Open(bare));  // so that the first bare close has a device to close
    ChangeFigures f;
    ChangeWindow change;
    const std::wstring second = Device(station, L"2 good.mp3");
    const std::wstring bad = Open(Device(station, L"3 bad.mp3"));
    for (int i = 0; i < 6000 && (f.changes.size() < 10 || f.refused.size() < 10); ++i) {
        Sleep(5);
        rig::PumpMessages();
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        session.hook.RunFrame();
        QueryPerformanceCounter(&b);
        session.hook.Take();
        const double took = Microseconds(a, b);
        f.frames.push_back(took);
        const std::vector<rig::MediaCommand> frame = watch.Take();
        f.commandsSeen += frame.size();
        for (const rig::MediaCommand& command : frame) {
            f.fromGameThread += command.threadId == GetCurrentThreadId() ? 1 : 0;
        }
        if (threaded) {
            FollowChanges(frame, took, bad, change, f, sendBare);
        } else {
            PickChangeFrame(frame, took, Open(second), f, sendBare);
        }
    }
    watch.Send(Close(bare));
    if (CHECK(f.changes.size() >= 10 && f.refused.size() >= 10)) {
        PrintChangeFigures(threaded, f);
    }
    // The plug-in's own thread closes its devices as the plug-in unloads; a "close all" from this
    // thread would reach for them across threads.
    if (!threaded) {
        watch.Send(L"close all");
    }
    CloseGame(session, window);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    rig::ReleaseAll();
    if (scenario == "frame-cost") {
        FrameCost();
    } else if (scenario == "change-cost") {
        ChangeCost(false);
    } else if (scenario == "change-cost-thread") {
        ChangeCost(true);
    } else if (scenario == "tag-cost") {
        TagCost();
    } else if (scenario == "save-cost") {
        SaveCost();
    } else if (scenario == "loudness-cost") {
        LoudnessCost();
    } else {
        std::printf("usage: trallio_wine_bench frame-cost|change-cost|tag-cost|save-cost|loudness-cost\n");
        return 2;
    }
    rig::ReleaseAll();
    return check::Summary(("trallio_wine_bench " + scenario).c_str());
}
