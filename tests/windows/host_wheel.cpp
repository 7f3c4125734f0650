// The wine host's wheel and real-mci scenarios: the player rides, opens the wheel, clicks
// station 1 and listens.
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
// wheel / real-mci: the player rides, opens the wheel, clicks station 1 and listens

namespace {

// The ride's station folder: its two tracks in the order the platform lists them, and the listing.
struct Ride {
    std::wstring station;
    std::vector<std::wstring> tracks;
    std::vector<std::wstring> listing;
    size_t firstAt = 0;
    size_t secondAt = 0;
    std::wstring first;  // the tracks' devices
    std::wstring second;
};

// Writes the settings and the station folder: copies of the tone for the system's winmm, files
// of any bytes for the recording one; false when the tracks are not both listed.
bool LayOutStation(const Session& session, bool realMci, bool unicodeNames, Ride& ride) {
    ride.station = unicodeNames ? L"\u0421\u0442\u0430\u043D\u0446\u0438\u044F" : L"Stations\\Ride";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               unicodeNames ? "[RADIOS]\r\nradio 1 = " + check::Narrow(ride.station) +
                                                  "\r\n[config]\r\nunicode_names=True\r\n"
                                            : std::string("[RADIOS]\r\nradio 1 = Stations\\Ride\r\n")));
    std::vector<std::wstring>& tracks = ride.tracks;
    if (realMci) {
        tracks = unicodeNames ? std::vector<std::wstring>{L"\u0414\u043E\u0440\u043E\u0433\u0430.mp3", L"\U0001F3B5 tune.mp3"}
                              : std::vector<std::wstring>{L"one.mp3", L"two.mp3"};
        for (const std::wstring& track : tracks) {
            CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tone.mp3", ride.station + L"\\" + track));
        }
    } else {
        tracks = {L"first.mp3", L"second.ogg"};
        WriteTracks(session, ride.station, tracks);
        CHECK(session.folder.MakeFolder(ride.station + L"\\cover art"));
    }
    CHECK(session.folder.Write(ride.station + L"\\notes.txt", "tracks from the ride"));
    ride.listing = session.folder.List(ride.station);
    tracks = InListingOrder(ride.listing, tracks);
    ride.firstAt = IndexOf(ride.listing, tracks[0]);
    ride.secondAt = IndexOf(ride.listing, tracks[1]);
    ride.first = Device(ride.station, tracks[0]);
    ride.second = Device(ride.station, tracks[1]);
    return CHECK(ride.secondAt < ride.listing.size());
}

void OpenWheel(const FrameScript& script) {
    check::Section("Q and R held: the wheel opens and centres the cursor");
    CHECK(SetCursorPos(2, 2));
    const FrameRecord frame = PlaySteps(script, {Sends({}).WheelKeys(true)})[0];
    CHECK(HasTimeScale(frame, kWheelTimeScaleBits));
    CHECK_EQ(CountTextCalls(frame, fakegame::kAnimPostFxPlay, "WheelHUDIn"), size_t{1});
    CHECK_EQ(rig::CallsOf(frame.natives, fakegame::kDisableControlAction).size(), size_t{9});
    CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).size() >= 8);
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT centre = rig::ClientCentreOnScreen(script.window);
    CHECK_EQ(cursor.x, centre.x);
    CHECK_EQ(cursor.y, centre.y);
}

// Clicks station 1 and closes the wheel; the media commands of those frames.
std::vector<rig::MediaCommand> ChooseStationOne(const FrameScript& script, const Ride& ride) {
    const std::wstring& first = ride.first;
    check::Section("a click on the top segment chooses station 1, from the settings file");
    CHECK(rig::MoveCursorTo(script.window, 0.51f, 0.265f));
    CHECK(rig::PressLeftButton(true));
    FrameRecord frame = RunFrame(script.session, &script.watch);
    CHECK_EQ(CountTextCalls(frame, fakegame::kStopSoundFrontend, "BACK"), size_t{1});
    CHECK_EQ(CountTextCalls(frame, fakegame::kPlaySoundFrontend, "BACK"), size_t{1});
    std::vector<rig::MediaCommand> history = frame.media;
    // The walk passes over the entries before the first track one frame each.
    int frames = 0;
    if (history.empty()) {
        frames = RunUntil(script.session, script.watch, L"open ", static_cast<int>(ride.listing.size()) + 1, history);
    }
    CHECK_EQ(frames, static_cast<int>(ride.firstAt));
    CHECK_EQ(Commands(history), (Texts{Open(first), Play(first), Volume(first, 90), Status(first)}));
    CheckCallShapes(history);

    check::Section("button up, wheel still open: now playing shown, volume sent");
    frame = PlaySteps(script, {Sends({Volume(first, 90), Status(first)}).LeftButton(false)}, &history)[0];
    CHECK(HasTimeScale(frame, kWheelTimeScaleBits));
    const std::string nowPlaying = check::Narrow(ride.station) + "\n" + check::Narrow(ride.tracks[0]) + "\n";
    CHECK_EQ(CountTextCalls(frame, fakegame::kDisplayText, nowPlaying), size_t{1});
    CHECK_EQ(CountTextCalls(frame, fakegame::kPlaySoundFrontend, "BACK"), size_t{0});

    check::Section("keys released: time scale 1.0, effect stopped, wheel gone");
    frame = PlaySteps(script, {Sends({Status(first)}).WheelKeys(false)}, &history)[0];
    CHECK(HasTimeScale(frame, kNormalTimeScaleBits));
    CHECK_EQ(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).size(), size_t{1});
    CHECK_EQ(CountTextCalls(frame, fakegame::kAnimPostFxStop, "WheelHUDIn"), size_t{1});
    CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).empty());
    frame = RunFrame(script.session, &script.watch);
    Append(history, frame.media);
    CHECK(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).empty());
    return history;
}

void HearRealPlayback(const FrameScript& script, const Ride& ride, std::vector<rig::MediaCommand>& history) {
    const std::wstring& first = ride.first;
    const std::wstring& second = ride.second;
    check::Section("real playback: playing, stopped at the end, the next track opens");
    // The tone lasts about a second; frames come every 20 ms until the next track is open.
    std::vector<rig::MediaCommand> played;
    bool nextOpened = false;
    for (int i = 0; i < 750 && !nextOpened; ++i) {
        Sleep(20);
        for (const rig::MediaCommand& command : RunFrame(script.session, &script.watch).media) {
            played.push_back(command);
            nextOpened = nextOpened || command.command == Open(second);
        }
    }
    Append(history, played);
    CHECK(nextOpened);
    // The first track's polls: playing before the first "stopped", then the next track's start.
    const auto polled = [&](const wchar_t* reply) {
        return [&, reply](const rig::MediaCommand& command) {
            return command.command == Status(first) && command.reply == reply;
        };
    };
    const auto stopped = std::find_if(played.begin(), played.end(), polled(L"stopped"));
    CHECK(std::any_of(played.begin(), stopped, polled(L"playing")));
    CHECK(stopped != played.end());
    const std::vector<rig::MediaCommand> afterStop(stopped + (stopped == played.end() ? 0 : 1), played.end());
    CHECK_EQ(Commands(afterStop), (Texts{Close(first), Open(second), Play(second), Volume(second, 90)}));
    for (const rig::MediaCommand& command : played) {
        if (command.command.compare(0, 5, L"open ") == 0 || command.command.compare(0, 5, L"play ") == 0) {
            CHECK_EQ(command.result, DWORD{0});
        }
    }
    const FrameRecord frame = RunFrame(script.session, &script.watch);
    Append(history, frame.media);
    if (CHECK_EQ(Commands(frame.media), (Texts{Status(second)}))) {
        CHECK_EQ(frame.media[0].reply, std::wstring(L"playing"));
    }
    CheckCallShapes(history);
    script.watch.Send(L"close all");
}

void HearRecordedPlayback(const FrameScript& script, const Ride& ride, std::vector<rig::MediaCommand>& history) {
    const std::wstring& first = ride.first;
    const std::wstring& second = ride.second;
    check::Section("off the mount: the track pauses, once");
    PlaySteps(script, {Sends({Status(first), Pause(first)}).Mounted(false).Reply(L"playing"), Sends({})}, &history);
    check::Section("back on the mount: the track resumes");
    PlaySteps(script, {Sends({Resume(first)}).Mounted(true), Sends({Status(first)}).Reply(L"playing")}, &history);

    check::Section("the track ends: closed, and the next audio file of the folder opens");
    std::vector<rig::MediaCommand> media;
    const int listed = static_cast<int>(ride.listing.size());
    int frames = EndTrack(script.session, script.watch, first, listed + 1, media);
    Append(history, media);
    // Entries between the two tracks cost a frame each, the first of them excepted.
    CHECK_EQ(frames, static_cast<int>(ride.secondAt - ride.firstAt - 1) + 1);
    CHECK_EQ(Commands(media), (Texts{Status(first), Close(first), Open(second), Play(second), Volume(second, 90)}));
    CHECK(!media.empty() && media[0].reply == L"stopped");

    check::Section("the last track ends: the folder starts again from its first track");
    PlaySteps(script, {Sends({Status(second)})}, &history);
    media.clear();
    frames = EndTrack(script.session, script.watch, second, 2 * listed + 2, media);
    Append(history, media);
    // The entries after the last track are passed over (the first without a wait), the
    // folder's end closes the pass, and the next pass walks to the first track again.
    const size_t after = ride.listing.size() - 1 - ride.secondAt;
    CHECK_EQ(frames, static_cast<int>((after > 0 ? after - 1 : 0) + 1 + ride.firstAt + 1));
    CHECK_EQ(Commands(media),
             (Texts{Status(second), Close(second), Open(first), Play(first), Volume(first, 90), Status(first)}));
    CheckCallShapes(history);
}

void PrintRide(const Ride& ride, const std::vector<rig::MediaCommand>& history) {
    if (check::Counts().failed > 0 || std::getenv("TRALLIO_WINE_VERBOSE") != nullptr) {
        std::printf("station folder as listed:");
        for (const std::wstring& name : ride.listing) {
            std::printf(" %s", check::Show(name).c_str());
        }
        std::printf("\nmedia commands:\n");
        for (const rig::MediaCommand& command : history) {
            std::printf("    %s -> %lu %s\n", check::Show(command.command).c_str(),
                        static_cast<unsigned long>(command.result), check::Show(command.reply).c_str());
        }
    }
}

}  // namespace

void WheelEndToEnd(bool realMci, bool unicodeNames) {
    check::Section(unicodeNames ? "real-mci: unicode_names=True, a Cyrillic station and tracks named in Cyrillic and emoji"
                   : realMci    ? "real-mci: the wheel with the system's winmm and real mp3 files"
                                : "wheel: the wheel with the recording winmm");
    Session session(unicodeNames ? L"real-mci-unicode" : realMci ? L"real-mci" : L"wheel");
    Ride ride;
    if (!LayOutStation(session, realMci, unicodeNames, ride)) {
        return;
    }
    rig::MediaWatch watch;
    HWND window = OpenGame(session, &watch, realMci);
    if (window == nullptr) {
        return;
    }
    const FrameScript script{session, watch, nullptr, window};
    check::Section("on a mount, keys up: no wheel, nothing played");
    for (const FrameRecord& frame : PlaySteps(script, {Sends({}).Mounted(true), Sends({})})) {
        CHECK(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).empty());
        CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).empty());
    }
    OpenWheel(script);
    std::vector<rig::MediaCommand> history = ChooseStationOne(script, ride);
    if (realMci) {
        HearRealPlayback(script, ride, history);
    } else {
        HearRecordedPlayback(script, ride, history);
    }
    PrintRide(ride, history);
    // With media_thread off every media call is the game thread's own.
    CHECK_EQ(CountFromThisThread(history), history.size());

    check::Section("unload");
    HMODULE plugin = session.plugin;
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    CHECK(session.hook.Status().unregisteredModule == plugin);
    DestroyWindow(window);
    rig::PumpMessages();
}

}  // namespace wine_scenarios
