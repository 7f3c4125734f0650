// The wine test host: plays the game around the real Trallio.asi. It loads the fake script hook
// and the plug-in from a game folder of its own, runs the plug-in's script one frame at a time,
// plays the player (mount, keys, mouse) and checks what the game and the media-control service
// are told.
//
//   trallio_wine_host load       loading, frames, unloading; the settings file in the game folder
//   trallio_wine_host wheel      the wheel end to end, media commands seen by the recording winmm
//   trallio_wine_host sound-mix  duck_dialogue and pause_in_menus on, then both off
//   trallio_wine_host real-mci   the same with the system's winmm playing a real file
//   trallio_wine_host refused    files the recording winmm refuses to open are passed over
//   trallio_wine_host refused-real-mci  a station of files the system's winmm refuses and plays
//   trallio_wine_host unicode    a station and tracks named in several scripts, unicode_names on and off
//   trallio_wine_host remember   two loads of the plug-in in one game folder keep the volume and
//                                station, and the radio switched off
//   trallio_wine_host pad        controller = True: the wheel on a game pad; off, no pad native
//   trallio_wine_host titles     titles = tags: each tagged file's line on the wheel, unicode_names
//                                off and on (the files come from trallio-tagged-files)
//   trallio_wine_host planted-hang  three frames' steps, then a wait that never ends: the watchdog
//                                stops the program and names the step (run with a short bound)
//
// Each scenario runs under a watchdog: one still running after 60 seconds prints "hang: ..." with
// its last step and ends with status 3, well before the test's own time limit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "game_names.h"
#include "media_commands.h"
#include "rig.h"
#include "media_thread_host.h"
#include "pad_wine.h"
#include "session.h"
#include "tags/wheel_text.h"

namespace {

using namespace wine_session;
// ---------------------------------------------------------------------------------------------
// load: the plug-in under the hook

void RegistersRunsAndUnregisters() {
    check::Section("load: registers with its module, runs frames, unregisters with its module");
    Session session(L"load");
    rig::MediaWatch watch;
    if (!CHECK(session.Load())) {
        return;
    }
    CHECK(watch.AttachRecorder());

    FakeHookStatus status = session.hook.Status();
    CHECK_EQ(status.registerCount, 1);
    CHECK_EQ(status.unregisterCount, 0);
    CHECK(status.registeredModule == session.plugin);
    CHECK(status.script != nullptr);
    HMODULE scriptOwner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(status.script)), &scriptOwner);
    CHECK(scriptOwner == session.plugin);
    // The plug-in's import bound to the hook the host loaded, not to another copy.
    CHECK(GetModuleHandleW(L"ScriptHookRDR2.dll") == session.hook.module());

    session.hook.SetPlayer(false, false, false, false);
    for (uint32_t frame = 1; frame <= 3; ++frame) {
        const FrameRecord record = RunFrame(session, &watch);
        CHECK(!record.natives.empty() && record.natives.front().hash == fakegame::kPlayerPedId);
        CHECK_EQ(rig::CallsOf(record.natives, fakegame::kPlayerPedId).size(), size_t{1});
        bool stamped = true;
        for (const FakeNativeCall& call : record.natives) {
            stamped = stamped && call.frame == frame;
        }
        CHECK(stamped);
        // On foot with no station chosen: the music flag is given back to the game and nothing
        // reaches the media service.
        CHECK_EQ(CountTextCalls(record, fakegame::kSetAudioFlag, "OpenWorldMusicDisabled"), size_t{1});
        CHECK(!HasTimeScale(record, kWheelTimeScaleBits));
        CHECK(record.media.empty());
    }
    status = session.hook.Status();
    CHECK_EQ(status.frames, 3u);
    CHECK_EQ(status.waits, 3u);
    CHECK_EQ(status.lastWait, 0u);
    CHECK_EQ(status.strayCalls, 0u);
    CHECK(!status.scriptReturned);

    HMODULE plugin = session.plugin;
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    status = session.hook.Status();
    CHECK_EQ(status.unregisterCount, 1);
    CHECK(status.unregisteredModule == plugin);
    CHECK_EQ(status.registerCount, 1);
    CHECK(GetModuleHandleW(L"Trallio.asi") == nullptr);
}

void UnloadsWithoutHavingRun() {
    check::Section("load: unloading before the script ever ran still unregisters");
    Session session(L"unload");
    if (!CHECK(session.Load())) {
        return;
    }
    HMODULE plugin = session.plugin;
    CHECK_EQ(session.hook.Status().registerCount, 1);
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    const FakeHookStatus status = session.hook.Status();
    CHECK_EQ(status.frames, 0u);
    CHECK_EQ(status.unregisterCount, 1);
    CHECK(status.unregisteredModule == plugin);
}

// With Q and R held for one frame: whether the wheel opened (time scale 0.1).
bool WheelOpensWith(const std::string* settings, bool mounted) {
    Session session(L"settings");
    if (settings != nullptr) {
        CHECK(session.folder.Write(L"Trallio\\Trallio.ini", *settings));
    }
    if (!CHECK(session.Load())) {
        return false;
    }
    session.hook.SetPlayer(false, false, false, mounted);
    RunFrame(session, nullptr);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    const FrameRecord frame = RunFrame(session, nullptr);
    rig::ReleaseAll();
    return HasTimeScale(frame, kWheelTimeScaleBits);
}

void SettingsComeFromTheGameFolder() {
    check::Section("load: media_player_mode from .\\Trallio\\Trallio.ini lets the wheel open on foot");
    const std::string on = "[config]\r\nmedia_player_mode = true\r\n";
    const std::string off = "[RADIOS]\r\nradio 1 = Music\r\n[config]\r\nmedia_player_mode=False\r\n";
    const std::string offNoNewline = "[config]\r\nmedia_player_mode=TRUE";
    CHECK(WheelOpensWith(&on, false));
    CHECK(!WheelOpensWith(&off, false));
    CHECK(!WheelOpensWith(&offNoNewline, false));
    CHECK(!WheelOpensWith(nullptr, false));
    // The same keys do open it on a mount, so the refusals above are the settings' doing.
    CHECK(WheelOpensWith(&off, true));
}

// ---------------------------------------------------------------------------------------------
// wheel / real-mci: the player rides, opens the wheel, clicks station 1 and listens

void WheelEndToEnd(bool realMci, bool unicodeNames = false) {
    check::Section(unicodeNames ? "real-mci: unicode_names=True, a Cyrillic station and tracks named in Cyrillic and emoji"
                   : realMci    ? "real-mci: the wheel with the system's winmm and real mp3 files"
                                : "wheel: the wheel with the recording winmm");
    Session session(unicodeNames ? L"real-mci-unicode" : realMci ? L"real-mci" : L"wheel");
    const std::wstring station = unicodeNames ? L"\u0421\u0442\u0430\u043D\u0446\u0438\u044F" : L"Stations\\Ride";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               unicodeNames ? "[RADIOS]\r\nradio 1 = " + check::Narrow(station) +
                                                  "\r\n[config]\r\nunicode_names=True\r\n"
                                            : std::string("[RADIOS]\r\nradio 1 = Stations\\Ride\r\n")));
    std::vector<std::wstring> tracks;
    if (realMci) {
        tracks = unicodeNames ? std::vector<std::wstring>{L"\u0414\u043E\u0440\u043E\u0433\u0430.mp3", L"\U0001F3B5 tune.mp3"}
                              : std::vector<std::wstring>{L"one.mp3", L"two.mp3"};
        for (const std::wstring& track : tracks) {
            CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tone.mp3", station + L"\\" + track));
        }
    } else {
        tracks = {L"first.mp3", L"second.ogg"};
        for (const std::wstring& track : tracks) {
            CHECK(session.folder.Write(station + L"\\" + track, "not really audio"));
        }
        CHECK(session.folder.MakeFolder(station + L"\\cover art"));
    }
    CHECK(session.folder.Write(station + L"\\notes.txt", "tracks from the ride"));

    // The tracks in the order the platform lists the folder, with their places in the listing.
    const std::vector<std::wstring> listing = session.folder.List(station);
    if (IndexOf(listing, tracks[1]) < IndexOf(listing, tracks[0])) {
        std::swap(tracks[0], tracks[1]);
    }
    const size_t firstAt = IndexOf(listing, tracks[0]);
    const size_t secondAt = IndexOf(listing, tracks[1]);
    if (!CHECK(secondAt < listing.size())) {
        return;
    }
    const std::wstring first = Device(station, tracks[0]);
    const std::wstring second = Device(station, tracks[1]);

    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    rig::MediaWatch watch;
    if (realMci) {
        CHECK(!watch.AttachRecorder());
        if (!CHECK(watch.AttachPassThrough(session.plugin))) {
            return;
        }
    } else if (!CHECK(watch.AttachRecorder())) {
        return;
    }

    check::Section("on a mount, keys up: no wheel, nothing played");
    session.hook.SetPlayer(false, false, false, true);
    for (int i = 0; i < 2; ++i) {
        const FrameRecord frame = RunFrame(session, &watch);
        CHECK(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).empty());
        CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).empty());
        CHECK(frame.media.empty());
    }

    check::Section("Q and R held: the wheel opens and centres the cursor");
    CHECK(SetCursorPos(2, 2));
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    FrameRecord frame = RunFrame(session, &watch);
    CHECK(HasTimeScale(frame, kWheelTimeScaleBits));
    CHECK_EQ(CountTextCalls(frame, fakegame::kAnimPostFxPlay, "WheelHUDIn"), size_t{1});
    CHECK_EQ(rig::CallsOf(frame.natives, fakegame::kDisableControlAction).size(), size_t{9});
    CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).size() >= 8);
    CHECK(frame.media.empty());
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT centre = rig::ClientCentreOnScreen(window);
    CHECK_EQ(cursor.x, centre.x);
    CHECK_EQ(cursor.y, centre.y);

    check::Section("a click on the top segment chooses station 1, from the settings file");
    CHECK(rig::MoveCursorTo(window, 0.51f, 0.265f));
    CHECK(rig::PressLeftButton(true));
    frame = RunFrame(session, &watch);
    CHECK_EQ(CountTextCalls(frame, fakegame::kStopSoundFrontend, "BACK"), size_t{1});
    CHECK_EQ(CountTextCalls(frame, fakegame::kPlaySoundFrontend, "BACK"), size_t{1});
    std::vector<rig::MediaCommand> media = frame.media;
    // The walk passes over the entries before the first track one frame each.
    int frames = 0;
    if (media.empty()) {
        frames = RunUntil(session, watch, L"open ", static_cast<int>(listing.size()) + 1, media);
    }
    CHECK_EQ(frames, static_cast<int>(firstAt));
    CHECK_EQ(Commands(media), (std::vector<std::wstring>{Open(first), Play(first), Volume(first, 90), Status(first)}));
    CheckCallShapes(media);
    std::vector<rig::MediaCommand> history = media;

    check::Section("button up, wheel still open: now playing shown, volume sent");
    CHECK(rig::PressLeftButton(false));
    frame = RunFrame(session, &watch);
    Append(history, frame.media);
    CHECK(HasTimeScale(frame, kWheelTimeScaleBits));
    CHECK_EQ(CountTextCalls(frame, fakegame::kDisplayText, check::Narrow(station) + "\n" + check::Narrow(tracks[0]) + "\n"),
             size_t{1});
    CHECK_EQ(Commands(frame.media), (std::vector<std::wstring>{Volume(first, 90), Status(first)}));
    CHECK_EQ(CountTextCalls(frame, fakegame::kPlaySoundFrontend, "BACK"), size_t{0});

    check::Section("keys released: time scale 1.0, effect stopped, wheel gone");
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    frame = RunFrame(session, &watch);
    Append(history, frame.media);
    CHECK(HasTimeScale(frame, kNormalTimeScaleBits));
    CHECK_EQ(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).size(), size_t{1});
    CHECK_EQ(CountTextCalls(frame, fakegame::kAnimPostFxStop, "WheelHUDIn"), size_t{1});
    CHECK(rig::CallsOf(frame.natives, fakegame::kDrawSprite).empty());
    CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Status(first)});
    frame = RunFrame(session, &watch);
    Append(history, frame.media);
    CHECK(rig::CallsOf(frame.natives, fakegame::kSetTimeScale).empty());

    if (realMci) {
        check::Section("real playback: playing, stopped at the end, the next track opens");
        // The tone lasts about a second; frames come every 20 ms until the next track is open.
        std::vector<rig::MediaCommand> played;
        bool nextOpened = false;
        for (int i = 0; i < 750 && !nextOpened; ++i) {
            Sleep(20);
            frame = RunFrame(session, &watch);
            for (const rig::MediaCommand& command : frame.media) {
                played.push_back(command);
                nextOpened = nextOpened || command.command == Open(second);
            }
        }
        Append(history, played);
        CHECK(nextOpened);
        bool sawPlaying = false;
        bool sawStopped = false;
        size_t stoppedAt = played.size();
        for (size_t i = 0; i < played.size(); ++i) {
            if (played[i].command != Status(first)) {
                continue;
            }
            if (played[i].reply == L"playing") {
                sawPlaying = sawPlaying || !sawStopped;
            } else if (played[i].reply == L"stopped" && !sawStopped) {
                sawStopped = true;
                stoppedAt = i;
            }
        }
        CHECK(sawPlaying);
        CHECK(sawStopped);
        std::vector<std::wstring> afterStop;
        for (size_t i = stoppedAt + 1; i < played.size(); ++i) {
            afterStop.push_back(played[i].command);
        }
        CHECK_EQ(afterStop, (std::vector<std::wstring>{Close(first), Open(second), Play(second), Volume(second, 90)}));
        for (const rig::MediaCommand& command : played) {
            if (command.command.compare(0, 5, L"open ") == 0 || command.command.compare(0, 5, L"play ") == 0) {
                CHECK_EQ(command.result, DWORD{0});
            }
        }
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        if (CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Status(second)})) {
            CHECK_EQ(frame.media[0].reply, std::wstring(L"playing"));
        }
        CheckCallShapes(history);
        watch.Send(L"close all");
    } else {
        check::Section("off the mount: the track pauses, once");
        session.hook.SetPlayer(false, false, false, false);
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        CHECK_EQ(Commands(frame.media), (std::vector<std::wstring>{Status(first), Pause(first)}));
        CHECK(!frame.media.empty() && frame.media[0].reply == L"playing");
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        CHECK(frame.media.empty());

        check::Section("back on the mount: the track resumes");
        session.hook.SetPlayer(false, false, false, true);
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Resume(first)});
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Status(first)});
        CHECK(!frame.media.empty() && frame.media[0].reply == L"playing");

        check::Section("the track ends: closed, and the next audio file of the folder opens");
        CHECK(watch.SetMode(first, L"stopped"));
        media.clear();
        frames = RunUntil(session, watch, L"open ", static_cast<int>(listing.size()) + 1, media);
        Append(history, media);
        // Entries between the two tracks cost a frame each, the first of them excepted.
        CHECK_EQ(frames, static_cast<int>(secondAt - firstAt - 1) + 1);
        CHECK_EQ(Commands(media), (std::vector<std::wstring>{Status(first), Close(first), Open(second), Play(second),
                                                             Volume(second, 90)}));
        CHECK(!media.empty() && media[0].reply == L"stopped");

        check::Section("the last track ends: the folder starts again from its first track");
        frame = RunFrame(session, &watch);
        Append(history, frame.media);
        CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Status(second)});
        CHECK(watch.SetMode(second, L"stopped"));
        media.clear();
        frames = RunUntil(session, watch, L"open ", 2 * static_cast<int>(listing.size()) + 2, media);
        Append(history, media);
        // The entries after the last track are passed over (the first without a wait), the
        // folder's end closes the pass, and the next pass walks to the first track again.
        const size_t after = listing.size() - 1 - secondAt;
        CHECK_EQ(frames, static_cast<int>((after > 0 ? after - 1 : 0) + 1 + firstAt + 1));
        CHECK_EQ(Commands(media), (std::vector<std::wstring>{Status(second), Close(second), Open(first), Play(first),
                                                             Volume(first, 90), Status(first)}));
        CheckCallShapes(history);
    }

    if (check::Counts().failed > 0 || std::getenv("TRALLIO_WINE_VERBOSE") != nullptr) {
        std::printf("station folder as listed:");
        for (const std::wstring& name : listing) {
            std::printf(" %s", check::Show(name).c_str());
        }
        std::printf("\nmedia commands:\n");
        for (const rig::MediaCommand& command : history) {
            std::printf("    %s -> %lu %s\n", check::Show(command.command).c_str(),
                        static_cast<unsigned long>(command.result), check::Show(command.reply).c_str());
        }
    }

    check::Section("unload");
    HMODULE plugin = session.plugin;
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    CHECK(session.hook.Status().unregisteredModule == plugin);
    DestroyWindow(window);
    rig::PumpMessages();
}

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

size_t CountHash(const std::vector<FakeNativeCall>& natives, uint64_t hash) {
    return rig::CallsOf(natives, hash).size();
}

void RefusedFiles() {
    check::Section("refused: the recording winmm refuses one file's open");
    Session session(L"refused");
    const std::wstring ride = L"Stations\\Ride";
    const std::wstring dead = L"Stations\\Dead";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Stations\\Ride\r\nradio 2 = Stations\\Dead\r\n"));
    for (const wchar_t* name : {L"a.mp3", L"b.mp3"}) {
        CHECK(session.folder.Write(ride + L"\\" + name, "not really audio"));
    }
    const std::vector<std::wstring> deadTracks = {L"x.mp3", L"y.ogg", L"z.wav"};
    for (const std::wstring& name : deadTracks) {
        CHECK(session.folder.Write(dead + L"\\" + name, "not really audio"));
    }
    // The two tracks in listing order; the folder holds nothing else, so they are neighbours.
    const std::vector<std::wstring> listing = session.folder.List(ride);
    std::vector<std::wstring> tracks = {L"a.mp3", L"b.mp3"};
    if (IndexOf(listing, tracks[1]) < IndexOf(listing, tracks[0])) {
        std::swap(tracks[0], tracks[1]);
    }
    CHECK_EQ(IndexOf(listing, tracks[1]), IndexOf(listing, tracks[0]) + 1);
    const std::wstring first = Device(ride, tracks[0]);
    const std::wstring second = Device(ride, tracks[1]);

    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    rig::MediaWatch watch;
    if (!CHECK(watch.AttachRecorder()) || !CHECK(watch.RefuseOpen(first))) {
        return;
    }
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, &watch);

    check::Section("the refused file is closed and the next file opens in the same frame");
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    CHECK(SetCursorPos(2, 2));
    std::vector<std::vector<rig::MediaCommand>> frames;
    ChooseStation(session, watch, window, kStation1X, kStation1Y, media, natives, &frames);
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
    if (CHECK_EQ(Commands(fromOpen), (std::vector<std::wstring>{Open(first), Close(first), Open(second), Play(second),
                                                                  Volume(second, 90)}))) {
        CHECK_EQ(fromOpen[0].result, DWORD{296});
        CHECK_EQ(fromOpen[1].result, DWORD{263});
        CHECK_EQ(fromOpen[2].result, DWORD{0});
    }
    CheckCallShapes(fromOpen);
    FrameRecord frame = RunFrame(session, &watch);
    CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Status(second)});
    CHECK_EQ(CountOpens(media), size_t{2});

    check::Section("a station whose every file is refused: one message, then no open for 1,000 frames");
    for (const std::wstring& name : deadTracks) {
        CHECK(watch.RefuseOpen(Device(dead, name)));
    }
    const std::string message = "No track in Stations\\Dead would play. Run TrallioCheck.exe";
    for (int round = 0; round < 2; ++round) {
        media.clear();
        natives.clear();
        ChooseStation(session, watch, window, kStation2X, kStation2Y, media, natives);
        size_t lateCommands = 0;
        for (int i = 0; i < 1000; ++i) {
            frame = RunFrame(session, &watch);
            Append(media, frame.media);
            natives.insert(natives.end(), frame.natives.begin(), frame.natives.end());
            lateCommands += i >= 10 ? frame.media.size() : 0;
        }
        // Round two is the same station chosen again: one more walk, one more message.
        CHECK_EQ(CountOpens(media), deadTracks.size());
        CHECK_EQ(CountRefusedMessages(natives, message), size_t{1});
        CHECK_EQ(CountHash(natives, fakegame::kMessageLogShow), size_t{1});
        for (const rig::MediaCommand& command : media) {
            if (!CHECK(command.command.compare(0, 7, L"status ") != 0 ||
                       command.command.find(dead) == std::wstring::npos)) {
                std::printf("    %s\n", check::Show(command.command).c_str());
            }
        }
        // The last 990 frames send nothing at all.
        CHECK_EQ(lateCommands, size_t{0});
    }

    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// The value after "volume=" in the state file's text, or -1.
int StateVolume(const std::string& text) {
    const size_t at = text.find("volume=");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 7);
}

std::string ReadGameFile(const Session& session, const std::wstring& relative) {
    std::string text;
    HANDLE file = CreateFileW(session.folder.At(relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char buffer[512];
        DWORD read = 0;
        if (ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
            text.assign(buffer, read);
        }
        CloseHandle(file);
    }
    return text;
}

// Opens the wheel, holds the button over (x, y) for `frames` frames and lets go of everything.
void HoldOnWheel(const Session& session, rig::MediaWatch& watch, HWND window, float x, float y, int frames) {
    wine_session::HoldOnWheel(window, x, y, frames, [&] { RunFrame(session, &watch); });
}

void RememberAcrossLoads() {
    check::Section("remember: the volume and the station of one load are the next load's");
    Session session(L"remember");
    const std::wstring station = L"Stations\\One";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Stations\\One\r\n[config]\r\nremember=true\r\n"));
    CHECK(session.folder.Write(station + L"\\a.mp3", "not really audio"));
    const std::wstring device = Device(station, L"a.mp3");
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    rig::MediaWatch watch;
    rig::FileWatch files;
    if (!CHECK(watch.AttachRecorder()) || !CHECK(files.Attach(session.plugin))) {
        return;
    }
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    RideAndChooseStationOne(session, watch, window, media, natives);
    CHECK_EQ(CountOpens(media), size_t{1});
    HoldOnWheel(session, watch, window, kVolumeUpX, kVolumeY, 12);
    // Each close of the wheel (after the station, then after the volume) renamed the state file
    // into place without waiting for the disk, so the game's frame goes on.
    CHECK_EQ(files.FlushCalls(), 0);
    CHECK_EQ(files.MoveFlags(), (std::vector<DWORD>{MOVEFILE_REPLACE_EXISTING, MOVEFILE_REPLACE_EXISTING}));
    const std::string written = ReadGameFile(session, L"Trallio\\state.ini");
    const int volume = StateVolume(written);
    CHECK(volume > 90 && volume <= 500);
    CHECK(written.find("station=0") != std::string::npos);
    CHECK(written.find("off=0") != std::string::npos);
    CHECK(ReadGameFile(session, L"Trallio\\state.ini.tmp").empty());
    session.Unload();

    check::Section("the second load plays the station on its first eligible frame, at that volume");
    // The recording winmm goes with the plug-in that imported it and comes back with the next load.
    if (!CHECK(session.Load()) || !CHECK(watch.AttachRecorder())) {
        return;
    }
    session.hook.SetPlayer(false, false, false, false);
    FrameRecord frame = RunFrame(session, &watch);
    CHECK_EQ(CountOpens(frame.media), size_t{0});
    // The walk starts on the first eligible frame and, as for a station the player chooses, waits
    // one frame for each of "." and ".." before the track.
    session.hook.SetPlayer(false, false, false, true);
    media.clear();
    for (int i = 0; i < 3; ++i) {
        Append(media, RunFrame(session, &watch).media);
    }
    CHECK_EQ(Commands(media), (std::vector<std::wstring>{Open(device), Play(device), Volume(device, volume),
                                                           Status(device)}));
    // The wheel's texts show once its texture dictionaries have loaded, a frame after it opens.
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    natives.clear();
    for (int i = 0; i < 3; ++i) {
        frame = RunFrame(session, &watch);
        natives.insert(natives.end(), frame.natives.begin(), frame.natives.end());
    }
    const std::string shown = "Vol: " + std::to_string(volume);
    bool volumeShown = false;
    for (const FakeNativeCall& call : rig::CallsOf(natives, fakegame::kCreateVarString)) {
        volumeShown = volumeShown || shown == call.texts[2];
    }
    CHECK(volumeShown);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);

    check::Section("switched off in one load, nothing plays in the next until the player chooses");
    HoldOnWheel(session, watch, window, 0.503f, 0.89f, 1);  // the off slot
    CHECK(ReadGameFile(session, L"Trallio\\state.ini").find("off=1") != std::string::npos);
    session.Unload();
    if (!CHECK(session.Load()) || !CHECK(watch.AttachRecorder())) {
        return;
    }
    session.hook.SetPlayer(false, false, false, true);
    media.clear();
    for (int i = 0; i < 30; ++i) {
        Append(media, RunFrame(session, &watch).media);
    }
    CHECK_EQ(CountOpens(media), size_t{0});
    media.clear();
    natives.clear();
    CHECK(SetCursorPos(2, 2));
    ChooseStation(session, watch, window, kStation1X, kStation1Y, media, natives);
    CHECK_EQ(CountOpens(media), size_t{1});

    session.Unload();
    DestroyWindow(window);
    rig::PumpMessages();
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

    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return;
    }
    rig::MediaWatch watch;
    CHECK(!watch.AttachRecorder());
    if (!CHECK(watch.AttachPassThrough(session.plugin))) {
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

    // Per device: the first open's answer, the status replies seen, and whether a refused device
    // was ever polled or left open past the frame of its open.
    for (const std::wstring& device : audio) {
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
        if (std::find(good.begin(), good.end(), device) != good.end()) {
            CHECK_EQ(openResult, DWORD{0});
            CHECK(std::find(replies.begin(), replies.end(), L"playing") != replies.end());
            CHECK(std::find(replies.begin(), replies.end(), L"stopped") != replies.end());
        }
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
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// ---------------------------------------------------------------------------------------------
// sound-mix: the track lowered while someone speaks, paused in the pause menu and in the
// background; and with both settings off, none of it asked

// Rides, opens the wheel, clicks station 1 and lets go; true once the track opened.
bool PickStationOne(const Session& session, HWND window, rig::MediaWatch& watch) {
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, &watch);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    RunFrame(session, &watch);
    CHECK(rig::MoveCursorTo(window, 0.51f, 0.265f));
    CHECK(rig::PressLeftButton(true));
    std::vector<rig::MediaCommand> media;
    const int frames = RunUntil(session, watch, L"open ", 6, media);
    CHECK(rig::PressLeftButton(false));
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);
    return frames > 0;
}

std::vector<std::wstring> VolumeCommands(const FrameRecord& frame) {
    std::vector<std::wstring> volumes;
    for (const std::wstring& command : Commands(frame.media)) {
        if (command.compare(0, 9, L"setaudio ") == 0) {
            volumes.push_back(command);
        }
    }
    return volumes;
}

// One frame at `ms` on the plug-in's clock; the volume commands it sent.
std::vector<std::wstring> VolumesAt(const Session& session, rig::MediaWatch& watch, const rig::DesktopWatch& desktop,
                                    DWORD ms, FrameRecord* record = nullptr) {
    desktop.AnswerTickCount(ms);
    const FrameRecord frame = RunFrame(session, &watch);
    if (record != nullptr) {
        *record = frame;
    }
    return VolumeCommands(frame);
}

void SoundMix() {
    check::Section("sound-mix: duck_dialogue=50 and pause_in_menus=True");
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    Session session(L"sound-mix");
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Ride\r\n[config]\r\n"
                                                        "duck_dialogue=50\r\npause_in_menus=True\r\n"));
    CHECK(session.folder.Write(L"Ride\\a.mp3", "not really audio"));
    const std::wstring device = Device(std::wstring(L"Ride"), std::wstring(L"a.mp3"));
    rig::MediaWatch watch;
    rig::DesktopWatch desktop;
    if (!CHECK(window != nullptr) || !CHECK(session.Load()) || !CHECK(watch.AttachRecorder()) ||
        !CHECK(desktop.Attach(session.plugin))) {
        return;
    }
    desktop.AnswerForeground(window);
    desktop.AnswerTickCount(0);
    if (!CHECK(PickStationOne(session, window, watch))) {
        return;
    }

    check::Section("sound-mix: a conversation lowers the track at once and it rises one second after");
    session.hook.SetSound(true, false, false);
    FrameRecord frame;
    CHECK_EQ(VolumesAt(session, watch, desktop, 10000, &frame), std::vector<std::wstring>{Volume(device, 45)});
    const std::vector<FakeNativeCall> conversation = rig::CallsOf(frame.natives, fakegame::kIsAnyConversationPlaying);
    CHECK(conversation.size() == 1 && conversation[0].argCount == 1 && conversation[0].args[0] == 0);
    CHECK(rig::CallsOf(frame.natives, fakegame::kIsAnySpeechPlaying).empty());
    CHECK(VolumesAt(session, watch, desktop, 10500).empty());
    session.hook.SetSound(false, false, false);
    CHECK(VolumesAt(session, watch, desktop, 11000).empty());
    CHECK(VolumesAt(session, watch, desktop, 11999).empty());
    CHECK_EQ(VolumesAt(session, watch, desktop, 12000), std::vector<std::wstring>{Volume(device, 90)});
    CHECK(VolumesAt(session, watch, desktop, 12100).empty());

    check::Section("sound-mix: the player speaking, asked with the character's handle");
    session.hook.SetSound(false, true, false);
    CHECK_EQ(VolumesAt(session, watch, desktop, 13000, &frame), std::vector<std::wstring>{Volume(device, 45)});
    const std::vector<FakeNativeCall> speech = rig::CallsOf(frame.natives, fakegame::kIsAnySpeechPlaying);
    CHECK(speech.size() == 1 && speech[0].argCount == 1 && speech[0].args[0] == kFakePlayerHandle);

    check::Section("sound-mix: the open wheel sends the lowered level every frame");
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    CHECK_EQ(VolumesAt(session, watch, desktop, 13100), std::vector<std::wstring>{Volume(device, 45)});
    CHECK_EQ(VolumesAt(session, watch, desktop, 13200), std::vector<std::wstring>{Volume(device, 45)});

    check::Section("sound-mix: the pause menu pauses the track and closes the wheel; closing it resumes");
    session.hook.SetSound(false, false, true);
    frame = RunFrame(session, &watch);
    CHECK_EQ(Commands(frame.media), (std::vector<std::wstring>{Status(device), Pause(device)}));
    CHECK(HasTimeScale(frame, kNormalTimeScaleBits));
    CHECK_EQ(CountTextCalls(frame, fakegame::kAnimPostFxStop, "WheelHUDIn"), size_t{1});
    CHECK_EQ(rig::CallsOf(frame.natives, fakegame::kIsPauseMenuActive).size(), size_t{1});
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    session.hook.SetSound(false, false, false);
    frame = RunFrame(session, &watch);
    CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Resume(device)});

    check::Section("sound-mix: another window in front pauses the track; the game in front resumes it");
    const int foregroundBefore = desktop.ForegroundCalls();
    desktop.AnswerForeground(GetDesktopWindow());
    frame = RunFrame(session, &watch);
    CHECK_EQ(Commands(frame.media), (std::vector<std::wstring>{Status(device), Pause(device)}));
    CHECK_EQ(desktop.ForegroundCalls(), foregroundBefore + 1);
    desktop.AnswerForeground(window);
    frame = RunFrame(session, &watch);
    CHECK_EQ(Commands(frame.media), std::vector<std::wstring>{Resume(device)});
    session.Unload();

    check::Section("sound-mix: with both settings off nothing of it is asked and the track plays on");
    Session plain(L"sound-mix-off");
    CHECK(plain.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Ride\r\n"));
    CHECK(plain.folder.Write(L"Ride\\a.mp3", "not really audio"));
    rig::MediaWatch plainWatch;
    rig::DesktopWatch plainDesktop;
    if (!CHECK(plain.Load()) || !CHECK(plainWatch.AttachRecorder()) || !CHECK(plainDesktop.Attach(plain.plugin)) ||
        !CHECK(PickStationOne(plain, window, plainWatch))) {
        return;
    }
    plain.hook.SetSound(true, true, true);
    plainDesktop.AnswerForeground(GetDesktopWindow());
    size_t asked = 0;
    std::vector<std::wstring> media;
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
        }
        frame = RunFrame(plain, &plainWatch);
        asked += rig::CallsOf(frame.natives, fakegame::kIsAnyConversationPlaying).size() +
                 rig::CallsOf(frame.natives, fakegame::kIsAnySpeechPlaying).size() +
                 rig::CallsOf(frame.natives, fakegame::kIsPauseMenuActive).size();
        for (const std::wstring& command : Commands(frame.media)) {
            media.push_back(command);
        }
    }
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    CHECK_EQ(asked, size_t{0});
    CHECK_EQ(plainDesktop.ForegroundCalls(), 0);
    CHECK_EQ(plainDesktop.TickCountCalls(), 0);
    CHECK_EQ(media, (std::vector<std::wstring>{Status(device), Status(device), Volume(device, 90), Status(device),
                                               Volume(device, 90), Status(device)}));
}

// ---------------------------------------------------------------------------------------------
// unicode: a station folder and tracks named in several scripts, with unicode_names on and off

// Whether the bytes are well-formed UTF-8, by the platform's strict decoder.
bool IsUtf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                               nullptr, 0) > 0;
}

// Loads the plug-in with the recording winmm, rides, opens the wheel and presses the left button
// over station 1, Q, R and the button left held. The game window, or nullptr when a step failed.
HWND PressOnStationOne(Session& session, rig::MediaWatch& watch) {
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load()) || !CHECK(watch.AttachRecorder())) {
        return nullptr;
    }
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, &watch);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    RunFrame(session, &watch);
    CHECK(rig::MoveCursorTo(window, kStation1X, kStation1Y));
    CHECK(rig::PressLeftButton(true));
    return window;
}

void UnicodeStation(const wchar_t* name, bool on, const std::string& markOrNot) {
    check::Section(on ? "unicode: unicode_names=True, each track opened under its own UTF-16 name"
                      : "unicode: unicode_names off, the same folder is not found, as before");
    Session session(name);
    const std::wstring station = L"\u0421\u0442\u0430\u043D\u0446\u0438\u044F";  // Станция
    const std::string stationUtf8 = check::Narrow(station);
    // The settings as UTF-8, with the byte order mark given, or as UTF-16 with its mark.
    const std::string settings = "; stations\r\n[RADIOS]\r\nradio 1 = " + stationUtf8 + "\r\n[config]\r\n" +
                                 "unicode_names = " + (on ? "True" : "False") + "\r\n";
    std::string bytes = markOrNot + settings;
    if (markOrNot == "UTF-16") {
        std::wstring wide(settings.size(), L'\0');
        wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, settings.data(),
                                                            static_cast<int>(settings.size()), &wide[0],
                                                            static_cast<int>(wide.size()))));
        bytes = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    }
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", bytes));
    std::vector<std::wstring> tracks = {L"\u0414\u043E\u0440\u043E\u0433\u0430.mp3", L"\u591C.flac", L"caf\u00E9.ogg",
                                        L"\U0001F3B5 tune.wav"};
    for (const std::wstring& track : tracks) {
        CHECK(session.folder.Write(station + L"\\" + track, "not really audio"));
    }
    const std::vector<std::wstring> listing = session.folder.List(station);
    std::vector<std::wstring> ordered;
    for (const std::wstring& name : listing) {
        if (IndexOf(tracks, name) < tracks.size()) {
            ordered.push_back(name);
        }
    }
    CHECK_EQ(ordered.size(), tracks.size());

    rig::MediaWatch watch;
    HWND window = PressOnStationOne(session, watch);
    if (window == nullptr) {
        return;
    }
    FrameRecord frame = RunFrame(session, &watch);
    std::vector<rig::MediaCommand> media = frame.media;
    const int limit = static_cast<int>(listing.size()) + 2;
    const int frames = RunUntil(session, watch, L"open ", limit, media);
    CHECK(rig::PressLeftButton(false));
    frame = RunFrame(session, &watch);
    Append(media, frame.media);

    if (!on) {
        // The folder's UTF-8 bytes are widened one by one: no such folder, nothing opened.
        CHECK_EQ(frames, -1);
        for (const rig::MediaCommand& command : media) {
            CHECK(command.command.compare(0, 5, L"open ") != 0);
        }
        rig::ReleaseAll();
        FreeLibrary(session.plugin);
        session.plugin = nullptr;
        DestroyWindow(window);
        rig::PumpMessages();
        return;
    }

    // The now-playing text is the folder and the first track, in UTF-8.
    bool shown = false;
    for (const FakeNativeCall& call : rig::CallsOf(frame.natives, fakegame::kDisplayText)) {
        const std::string text = call.texts[0];
        CHECK(IsUtf8(text));
        shown = shown || text == stationUtf8 + "\n" + check::Narrow(ordered[0]) + "\n";
    }
    CHECK(shown);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);

    // Each track, when the one before it ends, is opened and played under exactly its name.
    std::vector<std::wstring> opened;
    for (const rig::MediaCommand& command : media) {
        if (command.command.compare(0, 5, L"open ") == 0) {
            opened.push_back(command.command);
        }
    }
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        CHECK(watch.SetMode(Device(station, ordered[i]), L"stopped"));
        std::vector<rig::MediaCommand> next;
        RunUntil(session, watch, L"open ", limit, next);
        for (const rig::MediaCommand& command : next) {
            if (command.command.compare(0, 5, L"open ") == 0) {
                opened.push_back(command.command);
            }
        }
    }
    std::vector<std::wstring> expected;
    for (const std::wstring& track : ordered) {
        expected.push_back(Open(Device(station, track)));
    }
    CHECK_EQ(opened, expected);
    rig::ReleaseAll();
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// ---------------------------------------------------------------------------------------------
// titles: titles = tags, each tagged file's line on the wheel when it starts; names go to the tag
// library as wide names, from the code page with unicode_names off and from UTF-8 with it on

struct TaggedTrack {
    std::wstring name;
    std::string line;
};

std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                        &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// The tagged files the native maker wrote beside this program, from its manifest.
std::vector<TaggedTrack> ReadManifest() {
    std::vector<TaggedTrack> tracks;
    std::string text;
    HANDLE file = CreateFileW((rig::ProgramFolder() + L"\\tagged\\manifest.txt").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            text.append(buffer, read);
        }
        CloseHandle(file);
    }
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            tracks.push_back({FromUtf8(line.substr(0, tab)), line.substr(tab + 1)});
        }
        at = end + 1;
    }
    return tracks;
}

void TitlesFromTags(bool unicodeNames) {
    check::Section(unicodeNames ? "titles: titles = tags, unicode_names on" : "titles: titles = tags, unicode_names off");
    Session session(unicodeNames ? L"titles-unicode" : L"titles");
    std::vector<TaggedTrack> tracks = ReadManifest();
    if (!CHECK(tracks.size() >= 13u)) {
        return;
    }
    const std::wstring station = L"Tagged";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               std::string("[RADIOS]\r\nradio 1 = Tagged\r\n[config]\r\ntitles = Tags\r\norder = name\r\n") +
                                   "unicode_names = " + (unicodeNames ? "True" : "False") + "\r\n"));
    for (const TaggedTrack& track : tracks) {
        CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + track.name, station + L"\\" + track.name));
    }
    if (unicodeNames) {
        // A name the code page cannot hold: found and read only through UTF-8.
        const TaggedTrack cyrillic{L"14 \u0414\u043E\u0440\u043E\u0433\u0430.mp3", tracks[0].line};  // 14 Дорога.mp3
        CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + tracks[0].name, station + L"\\" + cyrillic.name));
        tracks.insert(tracks.begin() + 13, cyrillic);
    } else {
        // Units U+0080..U+009F, whose bytes the code page 1252 reads as other characters (here the
        // curly quotes): the tags are read from the file the media commands name, byte for unit.
        const TaggedTrack quoted{L"14 \u0093Quoted\u0094.mp3", tracks[0].line};
        CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + tracks[0].name, station + L"\\" + quoted.name));
        tracks.insert(tracks.begin() + 13, quoted);
    }

    // The wheel stays open throughout: each track's line is read in the frame after its open.
    rig::MediaWatch watch;
    HWND window = PressOnStationOne(session, watch);
    if (window == nullptr) {
        return;
    }
    std::vector<rig::MediaCommand> media;
    CHECK(RunUntil(session, watch, L"open ", 6, media) > 0);
    CHECK(rig::PressLeftButton(false));
    for (const TaggedTrack& track : tracks) {
        const FrameRecord frame = RunFrame(session, &watch);
        const std::string expected = tags_test::WheelTextOf("Tagged", track.line);
        bool shown = false;
        for (const FakeNativeCall& call : rig::CallsOf(frame.natives, fakegame::kDisplayText)) {
            shown = shown || call.texts[0] == expected;
        }
        if (!CHECK(shown)) {
            std::printf("    %s: expected %s\n", check::Narrow(track.name).c_str(), check::Show(expected).c_str());
        }
        CHECK(watch.SetMode(Device(station, track.name), L"stopped"));
        std::vector<rig::MediaCommand> next;
        RunUntil(session, watch, L"open ", 6, next);
    }
    rig::ReleaseAll();
    FreeLibrary(session.plugin);
    session.plugin = nullptr;
    DestroyWindow(window);
    rig::PumpMessages();
}

// ---------------------------------------------------------------------------------------------
// planted-hang: the watchdog's own check, with the steps a scenario's frames record

void PlantedHang() {
    check::Section("planted-hang: three frames, then a wait that never ends");
    for (int i = 0; i < 3; ++i) {
        check::Frame();
        check::Step("between frames");
    }
    check::Step("the planted wait");
    Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    rig::StartWatchdog("trallio_wine_host " + scenario, 60);
    rig::ReleaseAll();
    if (scenario == "load") {
        RegistersRunsAndUnregisters();
        UnloadsWithoutHavingRun();
        SettingsComeFromTheGameFolder();
    } else if (scenario == "wheel") {
        WheelEndToEnd(false);
    } else if (scenario == "sound-mix") {
        SoundMix();
    } else if (scenario == "real-mci") {
        WheelEndToEnd(true);
        WheelEndToEnd(true, true);
    } else if (scenario == "refused") {
        RefusedFiles();
    } else if (scenario == "refused-real-mci") {
        RefusedFilesRealMci();
    } else if (scenario == "unicode") {
        UnicodeStation(L"unicode-utf8", true, "");
        UnicodeStation(L"unicode-utf8-mark", true, "\xEF\xBB\xBF");
        UnicodeStation(L"unicode-utf16", true, "UTF-16");
        UnicodeStation(L"unicode-off", false, "");
    } else if (scenario == "remember") {
        RememberAcrossLoads();
    } else if (scenario == "pad") {
        PadWheel();
    } else if (scenario == "media-thread") {
        MediaThreadOnRecorder();
        MediaThreadLoads(50);
    } else if (scenario == "titles") {
        TitlesFromTags(false);
        TitlesFromTags(true);
    } else if (scenario == "planted-hang") {
        PlantedHang();
    } else {
        std::printf("usage: trallio_wine_host load|wheel|sound-mix|real-mci|refused|refused-real-mci|unicode|remember|pad|"
                    "media-thread|titles|planted-hang\n");
        return 2;
    }
    rig::ReleaseAll();
    return check::Summary(("trallio_wine_host " + scenario).c_str());
}
