// The wine benchmarks tag-cost and save-cost (see wine_bench.cpp), on the recording winmm.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "session.h"
#include "tags/wheel_text.h"
#include "wine_bench.h"

namespace wine_bench {

using namespace wine_session;

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

StartFrames TimeStarts(const std::wstring& source, const wchar_t* name, const std::wstring& sessionName,
                       const std::string& config) {
    StartFrames result;
    // A game folder of its own for each load: an earlier load's station folder can stay behind.
    Session session(sessionName.c_str());
    const std::wstring station = L"Tagged";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Tagged\r\n[config]\r\n" + config + "\r\n"));
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\" + source + L"\\" + name, station + L"\\" + name));
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    rig::MediaWatch watch;
    if (!CHECK(window != nullptr) || !CHECK(session.Load()) || !CHECK(watch.AttachRecorder())) {
        return result;
    }
    const std::wstring device = Device(station, std::wstring(name));
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
    ClickOnWheel(window, kStation1X, kStation1Y, [&] { return HasTimeScale(run(), kWheelTimeScaleBits); });
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
    CloseGame(session, window);
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
            const StartFrames starts =
                TimeStarts(L"tagged", file.name, (tags ? L"tag-cost-tags-" : L"tag-cost-file-") + std::to_wstring(index),
                           std::string("titles = ") + (tags ? "tags" : "file"));
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
    CloseGame(session, window);
}

}  // namespace wine_bench
