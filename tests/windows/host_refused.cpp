// The wine host's refused and refused-real-mci scenarios: files the media service will not open.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame_script.h"
#include "host_scenarios.h"

namespace wine_scenarios {

using namespace wine_session;

// ---------------------------------------------------------------------------------------------
// refused / refused-real-mci: files the media service will not open

// The message the radio shows for a station whose every file was refused, counted where its four
// natives follow each other in that order.
size_t CountRefusedMessages(const std::vector<FakeNativeCall>& natives, const std::string& text) {
    size_t count = 0;
    for (size_t i = 0; i + 3 < natives.size(); ++i) {
        if (natives[i].hash == fakegame::kCreateVarString && text == natives[i].texts[2] &&
            natives[i + 1].hash == fakegame::kMessageLogAddText && natives[i + 2].hash == fakegame::kMessageLogShow &&
            natives[i + 3].hash == fakegame::kMessageLogClear) {
            ++count;
        }
    }
    return count;
}

// A station whose every file is refused, chosen twice: each time one walk, one message, and
// nothing sent for the rest of 1,000 frames.
void RefusedStation(const Session& session, rig::MediaWatch& watch, HWND window, const std::wstring& dead,
                    const std::vector<std::wstring>& deadTracks) {
    check::Section("a station whose every file is refused: one message, then no open for 1,000 frames");
    for (const std::wstring& name : deadTracks) {
        CHECK(watch.RefuseOpen(Device(dead, name)));
    }
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    const std::string message = "No track in Stations\\Dead would play. Run TrallioCheck.exe";
    for (int round = 0; round < 2; ++round) {
        media.clear();
        natives.clear();
        ChooseStation(session, watch, window, kStation2X, kStation2Y, media, natives);
        size_t lateCommands = 0;
        for (int i = 0; i < 1000; ++i) {
            const FrameRecord frame = RunFrame(session, &watch);
            Append(media, frame.media);
            natives.insert(natives.end(), frame.natives.begin(), frame.natives.end());
            lateCommands += i >= 10 ? frame.media.size() : 0;
        }
        // Round two is the same station chosen again: one more walk, one more message.
        CHECK_EQ(CountOpens(media), deadTracks.size());
        CHECK_EQ(CountRefusedMessages(natives, message), size_t{1});
        CHECK_EQ(rig::CallsOf(natives, fakegame::kMessageLogShow).size(), size_t{1});
        for (const rig::MediaCommand& command : media) {
            if (!CHECK(command.command.compare(0, 7, L"status ") != 0 ||
                       command.command.find(dead) == std::wstring::npos)) {
                std::printf("    %s\n", check::Show(command.command).c_str());
            }
        }
        // The last 990 frames send nothing at all.
        CHECK_EQ(lateCommands, size_t{0});
    }
}

void RefusedFiles() {
    check::Section("refused: the recording winmm refuses one file's open");
    Session session(L"refused");
    const std::wstring ride = L"Stations\\Ride";
    const std::wstring dead = L"Stations\\Dead";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Stations\\Ride\r\nradio 2 = Stations\\Dead\r\n"));
    WriteTracks(session, ride, {L"a.mp3", L"b.mp3"});
    const std::vector<std::wstring> deadTracks = {L"x.mp3", L"y.ogg", L"z.wav"};
    WriteTracks(session, dead, deadTracks);
    // The two tracks in listing order; the folder holds nothing else, so they are neighbours.
    const std::vector<std::wstring> listing = session.folder.List(ride);
    const std::vector<std::wstring> tracks = InListingOrder(listing, {L"a.mp3", L"b.mp3"});
    CHECK_EQ(IndexOf(listing, tracks[1]), IndexOf(listing, tracks[0]) + 1);
    const std::wstring first = Device(ride, tracks[0]);
    const std::wstring second = Device(ride, tracks[1]);

    rig::MediaWatch watch;
    HWND window = OpenGame(session, &watch);
    if (window == nullptr || !CHECK(watch.RefuseOpen(first))) {
        return;
    }

    check::Section("the refused file is closed and the next file opens in the same frame");
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    std::vector<std::vector<rig::MediaCommand>> frames;
    RideAndChooseStationOne(session, watch, window, media, natives, &frames);
    // The frame of the first open, from that open on.
    std::vector<rig::MediaCommand> fromOpen;
    for (const std::vector<rig::MediaCommand>& commands : frames) {
        bool seen = false;
        for (const rig::MediaCommand& command : commands) {
            seen = seen || command.command == Open(first);
            if (seen) {
                fromOpen.push_back(command);
            }
        }
    }
    if (CHECK_EQ(Commands(fromOpen), (Texts{Open(first), Close(first), Open(second), Play(second),
                                                                  Volume(second, 90)}))) {
        CHECK_EQ(fromOpen[0].result, DWORD{296});
        CHECK_EQ(fromOpen[1].result, DWORD{263});
        CHECK_EQ(fromOpen[2].result, DWORD{0});
    }
    CheckCallShapes(fromOpen);
    CHECK_EQ(Commands(RunFrame(session, &watch).media), Texts{Status(second)});
    CHECK_EQ(CountOpens(media), size_t{2});

    RefusedStation(session, watch, window, dead, deadTracks);
    CloseGame(session, window);
}

// One device of the station across every frame: the first open's answer and the status replies
// printed; checks that it opened, that a refused one was neither polled nor left open past the
// frame of its open, and that a good one played and stopped.
void CheckDevice(const std::vector<std::vector<rig::MediaCommand>>& frames, const std::wstring& device, bool good) {
    bool opened = false;
    DWORD openResult = 0;
    std::vector<std::wstring> replies;
    bool refusedPolled = false;
    bool refusedLeftOpen = false;
    bool lastRefused = false;
    for (const std::vector<rig::MediaCommand>& frame : frames) {
        bool openInFrame = false;
        for (const rig::MediaCommand& command : frame) {
            if (command.command == Open(device)) {
                if (!opened) {
                    openResult = command.result;
                }
                opened = true;
                openInFrame = true;
                lastRefused = command.result != 0;
            } else if (command.command == Status(device)) {
                refusedPolled = refusedPolled || lastRefused;
                if (replies.empty() || replies.back() != command.reply) {
                    replies.push_back(command.reply);
                }
            } else if (command.command == Close(device)) {
                openInFrame = false;
            }
        }
        refusedLeftOpen = refusedLeftOpen || (openInFrame && lastRefused);
    }
    wchar_t reason[256] = L"";
    if (openResult != 0) {
        using ErrorText = BOOL(WINAPI*)(DWORD, LPWSTR, UINT);
        const ErrorText text = reinterpret_cast<ErrorText>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"winmm.dll"), "mciGetErrorStringW")));
        if (text != nullptr) {
            text(openResult, reason, 256);
        }
    }
    std::printf("%s: open -> %lu %s; status replies:", check::Show(device).c_str(),
                static_cast<unsigned long>(openResult), check::Show(std::wstring(reason)).c_str());
    for (const std::wstring& reply : replies) {
        std::printf(" %s", check::Show(reply).c_str());
    }
    std::printf("\n");
    CHECK(opened);
    CHECK(!refusedPolled);
    CHECK(!refusedLeftOpen);
    if (good) {
        CHECK_EQ(openResult, DWORD{0});
        CHECK(std::find(replies.begin(), replies.end(), L"playing") != replies.end());
        CHECK(std::find(replies.begin(), replies.end(), L"stopped") != replies.end());
    }
}

// The station of refused and playable files, with the system's winmm: the listing order is the
// platform's; each file's open, and for the accepted ones the replies, are printed.
void RefusedFilesRealMci() {
    check::Section("refused-real-mci: corrupt, good, folder, empty, good, with the system's winmm");
    Session session(L"refused-real-mci");
    const std::wstring station = L"Stations\\Mixed";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Stations\\Mixed\r\n"));
    std::string corrupt(6000, '\0');
    for (size_t i = 0; i < corrupt.size(); ++i) {
        corrupt[i] = static_cast<char>((i * 7919u + 13u) % 251u);  // no frame sync, no tag
    }
    CHECK(session.folder.Write(station + L"\\1 corrupt.mp3", corrupt));
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tone.mp3", station + L"\\2 good.mp3"));
    CHECK(session.folder.MakeFolder(station + L"\\3 live.wav"));
    CHECK(session.folder.Write(station + L"\\4 empty.ogg", ""));
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tone.mp3", station + L"\\5 good.mp3"));
    const std::vector<std::wstring> good = {Device(station, L"2 good.mp3"), Device(station, L"5 good.mp3")};
    std::vector<std::wstring> audio;  // the devices in listing order
    std::printf("station folder as listed:");
    for (const std::wstring& name : session.folder.List(station)) {
        std::printf(" %s", check::Show(name).c_str());
        if (name != L"." && name != L"..") {
            audio.push_back(Device(station, name));
        }
    }
    std::printf("\n");
    CHECK_EQ(audio.size(), size_t{5});

    rig::MediaWatch watch;
    HWND window = OpenGame(session, &watch, true);
    if (window == nullptr) {
        return;
    }
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    RideAndChooseStationOne(session, watch, window, media, natives);
    std::vector<std::vector<rig::MediaCommand>> frames = {media};

    // Frames every 20 ms until the first file of the listing is opened a second time: the loop.
    size_t firstOpens = 0;
    for (const rig::MediaCommand& command : media) {
        firstOpens += command.command == Open(audio[0]) ? 1 : 0;
    }
    for (int i = 0; i < 1500 && firstOpens < 2; ++i) {
        Sleep(20);
        frames.push_back(RunFrame(session, &watch).media);
        for (const rig::MediaCommand& command : frames.back()) {
            firstOpens += command.command == Open(audio[0]) ? 1 : 0;
        }
    }
    CHECK_EQ(firstOpens, size_t{2});

    for (const std::wstring& device : audio) {
        CheckDevice(frames, device, std::find(good.begin(), good.end(), device) != good.end());
    }
    // The accepted files keep today's sequence: open, play, volume, then one poll a frame.
    for (const std::wstring& device : good) {
        for (const std::vector<rig::MediaCommand>& frame : frames) {
            const std::vector<std::wstring> commands = Commands(frame);
            const auto at = std::find(commands.begin(), commands.end(), Open(device));
            if (at != commands.end()) {
                CHECK(commands.end() - at >= 3 && at[1] == Play(device) && at[2] == Volume(device, 90));
            }
        }
    }
    if (check::Counts().failed > 0 || std::getenv("TRALLIO_WINE_VERBOSE") != nullptr) {
        std::printf("media commands:\n");
        for (size_t f = 0; f < frames.size(); ++f) {
            for (const rig::MediaCommand& command : frames[f]) {
                std::printf("    frame %zu: %s -> %lu %s\n", f, check::Show(command.command).c_str(),
                            static_cast<unsigned long>(command.result), check::Show(command.reply).c_str());
            }
        }
    }
    watch.Send(L"close all");
    CloseGame(session, window);
}

}  // namespace wine_scenarios
