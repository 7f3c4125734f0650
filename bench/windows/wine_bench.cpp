// The wine frame-cost measurements (not tests): the real Trallio.asi under the fake script hook,
// with the system's winmm playing real files, timed against the same media commands sent bare by
// this program to the same winmm in the same run.
//
//   trallio_wine_bench frame-cost   a riding frame with a track playing, against a bare status poll
//   trallio_wine_bench change-cost  a frame in which a track changes, and one that passes over a
//                                   refused file, against the same commands sent bare
//   trallio_wine_bench tag-cost     the frame in which a track starts with titles = tags, against
//                                   titles = file, on the recording winmm (run with
//                                   WINEDLLOVERRIDES=winmm=n; the files from trallio-tagged-files
//                                   FOLDER --big, in the tagged folder beside this program)
//   trallio_wine_bench save-cost    the frame in which the wheel closes and the remembered state is
//                                   written, against one in which it closes with nothing to write,
//                                   on the recording winmm (WINEDLLOVERRIDES=winmm=n)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "session.h"
#include "tags/wheel_text.h"

namespace {

using namespace wine_session;

// frame-cost: how long a riding frame with a track playing takes, against a bare status poll of
// the same device sent by the host to the same winmm, in the same run.

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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
                *std::min_element(frames.begin(), frames.end()));
    std::printf("bare status poll of the same device:           median %.1f us, best %.1f us\n", Median(polls),
                *std::min_element(polls.begin(), polls.end()));
    std::printf("frame / poll (medians): %.2f\n", Median(frames) / Median(polls));
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// change-cost: a station of "1 good.mp3", "2 good.mp3", "3 bad.mp3" (refused), "4 good.mp3" played
// through; each frame timed; the frames in which a track changes (1 to 2: close, open, play, volume;
// and 2 to 4 over the refused 3) are picked out from the commands they sent, and each is followed
// by the same kinds of command sent bare by the host on a device of its own: close, open, play,
// volume, status (the status of the next track comes in the radio's next frame).
void ChangeCost() {
    check::Section("change-cost: frames in which a track changes, against the same commands sent bare");
    Session session(L"change-cost");
    const std::wstring station = L"Stations\\Ride";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Stations\\Ride\r\n"));
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
    std::vector<double> changes, changesBare, refused, refusedBare;
    const std::wstring second = Device(station, L"2 good.mp3");
    for (int i = 0; i < 6000 && (changes.size() < 10 || refused.size() < 10); ++i) {
        Sleep(5);
        rig::PumpMessages();
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        session.hook.RunFrame();
        QueryPerformanceCounter(&b);
        session.hook.Take();
        const std::vector<rig::MediaCommand> frame = watch.Take();
        const std::vector<std::wstring> commands = Commands(frame);
        const size_t opens = CountOpens(frame);
        const bool closes = std::any_of(commands.begin(), commands.end(),
                                        [](const std::wstring& c) { return c.compare(0, 6, L"close ") == 0; });
        if (closes && opens == 1 && std::find(commands.begin(), commands.end(), Open(second)) != commands.end()) {
            changes.push_back(Microseconds(a, b));
            changesBare.push_back(sendBare());
        } else if (closes && opens == 2) {
            refused.push_back(Microseconds(a, b));
            refusedBare.push_back(sendBare());
        }
    }
    watch.Send(Close(bare));
    CHECK(changes.size() >= 10 && refused.size() >= 10);
    if (!changes.empty() && !refused.empty()) {
        std::printf("track change frame (status, close, open, play, volume): median %.1f us, best %.1f us, %zu frames\n",
                    Median(changes), *std::min_element(changes.begin(), changes.end()), changes.size());
        std::printf("  five commands sent bare (close, open, play, volume, status): median %.1f us, best %.1f us\n",
                    Median(changesBare), *std::min_element(changesBare.begin(), changesBare.end()));
        std::printf("frame passing over a refused file (adds its open and close): median %.1f us, best %.1f us, "
                    "%zu frames\n",
                    Median(refused), *std::min_element(refused.begin(), refused.end()), refused.size());
        std::printf("  five commands sent bare, after it: median %.1f us, best %.1f us\n", Median(refusedBare),
                    *std::min_element(refusedBare.begin(), refusedBare.end()));
    }
    watch.Send(L"close all");
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// tag-cost: the frame in which a track starts with titles = tags, against the same frame with
// titles = file, on the recording winmm: its answers cost next to nothing, so the media service's
// own time is out of both figures and what is left between them is the tag read. A station of one
// file: the first start is chosen on the wheel, and each time the host then marks the track
// stopped the radio starts the same file again. Every frame is timed; the ones that sent the open
// of the file are the start frames. Afterwards the wheel is opened again for its now-playing text.

struct TaggedFile {
    const wchar_t* name;
    const char* line;  // what the wheel shows under the folder with titles = tags
};

constexpr int kRestarts = 30;

struct StartFrames {
    std::vector<double> times;  // microseconds, in order; the first is the start chosen on the wheel
    std::string shown;          // the wheel's now-playing text after the last start
};

double Maximum(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// One frame, as RunFrame runs it, its time (the frame alone, without the recording's) in
// `microseconds`.
FrameRecord TimedFrame(const Session& session, rig::MediaWatch& watch, double& microseconds) {
    rig::PumpMessages();
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    const bool ran = session.hook.RunFrame();
    QueryPerformanceCounter(&b);
    CHECK(ran);
    microseconds = Microseconds(a, b);
    FrameRecord frame;
    frame.natives = session.hook.Take();
    frame.media = watch.Take();
    return frame;
}

StartFrames TimeStarts(const TaggedFile& file, int index, bool tags) {
    StartFrames result;
    // A game folder of its own for each load: an earlier load's station folder can stay behind.
    Session session((std::wstring(tags ? L"tag-cost-tags-" : L"tag-cost-file-") + std::to_wstring(index)).c_str());
    const std::wstring station = L"Tagged";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", std::string("[RADIOS]\r\nradio 1 = Tagged\r\n[config]\r\n") +
                                                            "titles = " + (tags ? "tags" : "file") + "\r\n"));
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + file.name, station + L"\\" + file.name));
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    rig::MediaWatch watch;
    if (!CHECK(window != nullptr) || !CHECK(session.Load()) || !CHECK(watch.AttachRecorder())) {
        return result;
    }
    const std::wstring device = Device(station, std::wstring(file.name));
    const std::wstring open = Open(device);
    auto run = [&] {
        double time = 0;
        const FrameRecord frame = TimedFrame(session, watch, time);
        const std::vector<std::wstring> commands = Commands(frame.media);
        if (std::find(commands.begin(), commands.end(), open) != commands.end()) {
            result.times.push_back(time);
        }
        return frame;
    };

    // Chosen on the wheel as ChooseStation does it, each frame through `run`.
    session.hook.SetPlayer(false, false, false, true);
    run();
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    run();
    CHECK(rig::MoveCursorTo(window, kStation1X, kStation1Y));
    CHECK(rig::PressLeftButton(true));
    run();
    bool wheelAgain = false;
    for (int i = 0; i < 20 && !wheelAgain; ++i) {
        wheelAgain = HasTimeScale(run(), kWheelTimeScaleBits);
    }
    CHECK(wheelAgain);
    CHECK(rig::PressLeftButton(false));
    run();
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    run();
    run();
    CHECK_EQ(result.times.size(), 1u);

    for (int i = 0; i < kRestarts; ++i) {
        const size_t starts = result.times.size();
        CHECK(watch.SetMode(device, L"stopped"));
        for (int frames = 0; frames < 20 && result.times.size() == starts; ++frames) {
            run();
        }
        if (!CHECK_EQ(result.times.size(), starts + 1)) {
            break;
        }
    }

    // The wheel again: its now-playing text is the folder and the line of the last start.
    const std::string nowPlayingStart = "Tagged\n";
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    for (int i = 0; i < 2; ++i) {
        for (const FakeNativeCall& call : rig::CallsOf(run().natives, fakegame::kDisplayText)) {
            const std::string text = call.texts[0];
            if (text.compare(0, nowPlayingStart.size(), nowPlayingStart) == 0) {
                result.shown = text;
            }
        }
    }
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    run();
    run();
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
    return result;
}

void TagCost() {
    check::Section("tag-cost: the frame in which a track starts, titles = tags against titles = file");
    const TaggedFile files[] = {{L"01 id3v2.mp3", "Dust Riders - Canyon Song"},
                                {L"20 cover art.mp3", "Big Sky - Open Range"},
                                {L"21 huge art.mp3", "21 huge art.mp3"},
                                {L"22 art first.mp3", "Big Sky - Open Range"},
                                {L"23 cover art.flac", "Big Sky - Open Range"},
                                {L"24 big art.flac", "24 big art.flac"}};
    int index = 0;
    for (const TaggedFile& file : files) {
        ++index;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        const std::wstring path = rig::ProgramFolder() + L"\\tagged\\" + file.name;
        if (!CHECK(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))) {
            std::printf("    %s: made by trallio-tagged-files FOLDER --big into the rig's tagged folder\n",
                        check::Narrow(path).c_str());
            continue;
        }
        const double megabytes =
            static_cast<double>((static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow) /
            (1024.0 * 1024.0);
        std::printf("%s (%.1f MB):\n", check::Narrow(file.name).c_str(), megabytes);
        double medians[2] = {0, 0};
        for (const bool tags : {false, true}) {
            const StartFrames starts = TimeStarts(file, index, tags);
            if (starts.times.empty()) {
                continue;
            }
            medians[tags ? 1 : 0] = Median(starts.times);
            std::printf("  start frame, titles = %s: first %.1f us, median %.1f us, max %.1f us, %zu starts\n",
                        tags ? "tags" : "file", starts.times.front(), Median(starts.times), Maximum(starts.times),
                        starts.times.size());
            std::printf("    now playing: %s\n", check::Show(starts.shown).c_str());
            CHECK_EQ(starts.shown,
                     tags_test::WheelTextOf("Tagged", tags ? std::string(file.line) : check::Narrow(file.name)));
        }
        std::printf("  tags - file (medians): %.1f us\n", medians[1] - medians[0]);
    }
}

// save-cost: remember = true; the wheel is opened and closed again and again, the button held for
// one frame over a volume arrow (one step up, then one down: the state file is written in the
// frame the wheel closes) or over the middle of the wheel, where nothing changes and nothing is
// written. The frames that close the wheel (the time scale back to normal) are timed, and sorted
// by whether the plug-in renamed the state file in them. On the recording winmm, so the media
// service's time is out of both.

constexpr int kSaveRounds = 30;

void SaveCost() {
    check::Section("save-cost: the frame that writes the remembered state, against a close with nothing to write");
    Session session(L"save-cost");
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Stations\\One\r\n[config]\r\nremember=true\r\n"));
    CHECK(session.folder.Write(L"Stations\\One\\a.mp3", "not really audio"));
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    rig::MediaWatch watch;
    rig::FileWatch files;
    if (!CHECK(window != nullptr) || !CHECK(session.Load()) || !CHECK(watch.AttachRecorder()) ||
        !CHECK(files.Attach(session.plugin))) {
        return;
    }
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    // A track must be playing for the arrows to change the volume.
    RideAndChooseStationOne(session, watch, window, media, natives);
    CHECK_EQ(CountOpens(media), size_t{1});

    std::vector<double> saves, closes;
    for (int round = 0; round < 2 * kSaveRounds; ++round) {
        const bool change = round % 2 == 0;
        const size_t moves = files.MoveFlags().size();
        int closeFrames = 0;
        auto run = [&] {
            double time = 0;
            if (HasTimeScale(TimedFrame(session, watch, time), kNormalTimeScaleBits)) {
                ++closeFrames;
                (files.MoveFlags().size() > moves ? saves : closes).push_back(time);
            }
        };
        const float x = !change ? 0.5f : round % 4 == 0 ? kVolumeUpX : kVolumeDownX;
        HoldOnWheel(window, x, change ? kVolumeY : 0.45f, 1, run);
        CHECK_EQ(closeFrames, 1);
        CHECK_EQ(files.MoveFlags().size(), moves + (change ? 1 : 0));
    }
    if (CHECK_EQ(saves.size(), size_t{kSaveRounds}) && CHECK_EQ(closes.size(), size_t{kSaveRounds})) {
        std::printf("wheel closes, state written (FlushFileBuffers %d calls, MoveFileExA flags 0x%lx): "
                    "median %.1f us, max %.1f us, %zu frames\n",
                    files.FlushCalls(), files.MoveFlags().empty() ? 0ul : static_cast<unsigned long>(files.MoveFlags()[0]),
                    Median(saves), Maximum(saves), saves.size());
        std::printf("wheel closes, nothing to write: median %.1f us, max %.1f us, %zu frames\n", Median(closes),
                    Maximum(closes), closes.size());
    }
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    rig::ReleaseAll();
    if (scenario == "frame-cost") {
        FrameCost();
    } else if (scenario == "change-cost") {
        ChangeCost();
    } else if (scenario == "tag-cost") {
        TagCost();
    } else if (scenario == "save-cost") {
        SaveCost();
    } else {
        std::printf("usage: trallio_wine_bench frame-cost|change-cost|tag-cost|save-cost\n");
        return 2;
    }
    rig::ReleaseAll();
    return check::Summary(("trallio_wine_bench " + scenario).c_str());
}
