// The wine host's remember and sound-mix scenarios: the state kept across loads, and the track
// lowered and paused by what the game is doing.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame_script.h"
#include "host_scenarios.h"

namespace wine_scenarios {

using namespace wine_session;

// The value after "volume=" in the state file's text, or -1.
int StateVolume(const std::string& text) {
    const size_t at = text.find("volume=");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 7);
}

// Opens the wheel, holds the button over (x, y) for `frames` frames and lets go of everything.
void HoldOnWheel(const Session& session, rig::MediaWatch& watch, HWND window, float x, float y, int frames) {
    wine_session::HoldOnWheel(window, x, y, frames, [&] { RunFrame(session, &watch); });
}

// Switched off in one load, nothing plays in the next until the player chooses a station.
void SwitchedOffStaysOff(Session& session, rig::MediaWatch& watch, HWND window) {
    check::Section("switched off in one load, nothing plays in the next until the player chooses");
    HoldOnWheel(session, watch, window, 0.503f, 0.89f, 1);  // the off slot
    CHECK(ReadWholeFile(session.folder.At(L"Trallio\\state.ini")).find("off=1") != std::string::npos);
    session.Unload();
    if (!LoadWatched(session, watch)) {
        return;
    }
    session.hook.SetPlayer(false, false, false, true);
    CHECK_EQ(CountOpens(RunFrames(session, watch, 30).media), size_t{0});
    std::vector<rig::MediaCommand> media;
    std::vector<FakeNativeCall> natives;
    CHECK(SetCursorPos(2, 2));
    ChooseStation(session, watch, window, kStation1X, kStation1Y, media, natives);
    CHECK_EQ(CountOpens(media), size_t{1});
}

void RememberAcrossLoads() {
    check::Section("remember: the volume and the station of one load are the next load's");
    Session session(L"remember");
    const std::wstring station = L"Stations\\One";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               "[RADIOS]\r\nradio 1 = Stations\\One\r\n[config]\r\nremember=true\r\n"));
    WriteTracks(session, station, {L"a.mp3"});
    const std::wstring device = Device(station, L"a.mp3");
    rig::MediaWatch watch;
    rig::FileWatch files;
    HWND window = OpenGame(session, &watch);
    if (window == nullptr || !CHECK(files.Attach(session.plugin))) {
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
    const std::string written = ReadWholeFile(session.folder.At(L"Trallio\\state.ini"));
    const int volume = StateVolume(written);
    CHECK(volume > 90 && volume <= 500);
    CHECK(written.find("station=0") != std::string::npos);
    CHECK(written.find("off=0") != std::string::npos);
    CHECK(ReadWholeFile(session.folder.At(L"Trallio\\state.ini.tmp")).empty());
    session.Unload();

    check::Section("the second load plays the station on its first eligible frame, at that volume");
    // The recording winmm goes with the plug-in that imported it and comes back with the next load.
    if (!LoadWatched(session, watch)) {
        return;
    }
    session.hook.SetPlayer(false, false, false, false);
    CHECK_EQ(CountOpens(RunFrame(session, &watch).media), size_t{0});
    // The walk starts on the first eligible frame and, as for a station the player chooses, waits
    // one frame for each of "." and ".." before the track.
    session.hook.SetPlayer(false, false, false, true);
    CHECK_EQ(Commands(RunFrames(session, watch, 3).media),
             (Texts{Open(device), Play(device), Volume(device, volume), Status(device)}));
    // The wheel's texts show once its texture dictionaries have loaded, a frame after it opens.
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    CHECK(CountMadeTexts(RunFrames(session, watch, 3).natives, "Vol: " + std::to_string(volume)) > 0);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);

    SwitchedOffStaysOff(session, watch, window);
    CloseGame(session, window);
}

// ---------------------------------------------------------------------------------------------
// sound-mix: the track lowered while someone speaks, paused in the pause menu and in the
// background; and with both settings off, none of it asked

// Rides, opens the wheel, clicks station 1 and lets go; true once the track opened.
bool PickStationOne(const Session& session, HWND window, rig::MediaWatch& watch) {
    std::vector<rig::MediaCommand> media;
    const int frames = ClickStationOne(session, watch, window, 6, media);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);
    return frames > 0;
}

// With both settings off: nothing of the sound mix is asked and the track plays on.
void SoundMixOff(HWND window, const std::wstring& device) {
    check::Section("sound-mix: with both settings off nothing of it is asked and the track plays on");
    Session plain(L"sound-mix-off");
    rig::MediaWatch plainWatch;
    rig::DesktopWatch plainDesktop;
    if (!LoadRide(plain, "", plainWatch, plainDesktop) || !CHECK(PickStationOne(plain, window, plainWatch))) {
        return;
    }
    plain.hook.SetSound(true, true, true);
    plainDesktop.AnswerForeground(GetDesktopWindow());
    size_t asked = 0;
    std::vector<rig::MediaCommand> media;
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
        }
        const FrameRecord frame = RunFrame(plain, &plainWatch);
        asked += rig::CallsOf(frame.natives, fakegame::kIsAnyConversationPlaying).size() +
                 rig::CallsOf(frame.natives, fakegame::kIsAnySpeechPlaying).size() +
                 rig::CallsOf(frame.natives, fakegame::kIsPauseMenuActive).size();
        Append(media, frame.media);
    }
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    CHECK_EQ(asked, size_t{0});
    CHECK_EQ(plainDesktop.ForegroundCalls(), 0);
    CHECK_EQ(plainDesktop.TickCountCalls(), 0);
    CHECK_EQ(Commands(media), (Texts{Status(device), Status(device), Volume(device, 90), Status(device),
                                               Volume(device, 90), Status(device)}));
}

void SoundMix() {
    check::Section("sound-mix: duck_dialogue=50 and pause_in_menus=True");
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    Session session(L"sound-mix");
    const std::wstring device = Device(std::wstring(L"Ride"), std::wstring(L"a.mp3"));
    rig::MediaWatch watch;
    rig::DesktopWatch desktop;
    if (!CHECK(window != nullptr) ||
        !LoadRide(session, "[config]\r\nduck_dialogue=50\r\npause_in_menus=True\r\n", watch, desktop)) {
        return;
    }
    desktop.AnswerForeground(window);
    desktop.AnswerTickCount(0);
    if (!CHECK(PickStationOne(session, window, watch))) {
        return;
    }

    const FrameScript script{session, watch, &desktop, window};
    check::Section("sound-mix: a conversation lowers the track at once and it rises one second after");
    const FrameRecord talk = PlaySteps(script, {Sends({Volume(device, 45)}).Sound(kConversation).Tick(10000),
                                                Sends({}).Tick(10500), Sends({}).Sound(0).Tick(11000),
                                                Sends({}).Tick(11999), Sends({Volume(device, 90)}).Tick(12000),
                                                Sends({}).Tick(12100)})[0];
    const std::vector<FakeNativeCall> conversation = rig::CallsOf(talk.natives, fakegame::kIsAnyConversationPlaying);
    CHECK(conversation.size() == 1 && conversation[0].argCount == 1 && conversation[0].args[0] == 0);
    CHECK(rig::CallsOf(talk.natives, fakegame::kIsAnySpeechPlaying).empty());

    check::Section("sound-mix: the player speaking, asked with the character's handle");
    const FrameRecord spoken = PlaySteps(script, {Sends({Volume(device, 45)}).Sound(kSpeech).Tick(13000)})[0];
    const std::vector<FakeNativeCall> speech = rig::CallsOf(spoken.natives, fakegame::kIsAnySpeechPlaying);
    CHECK(speech.size() == 1 && speech[0].argCount == 1 && speech[0].args[0] == kFakePlayerHandle);

    check::Section("sound-mix: the open wheel sends the lowered level every frame");
    PlaySteps(script,
              {Sends({Volume(device, 45)}).WheelKeys(true).Tick(13100), Sends({Volume(device, 45)}).Tick(13200)});

    check::Section("sound-mix: the pause menu pauses the track and closes the wheel; closing it resumes");
    const FrameRecord paused = PlaySteps(script, {Sends({Status(device), Pause(device)}).Sound(kPauseMenu)})[0];
    CHECK(HasTimeScale(paused, kNormalTimeScaleBits));
    CHECK_EQ(CountTextCalls(paused, fakegame::kAnimPostFxStop, "WheelHUDIn"), size_t{1});
    CHECK_EQ(rig::CallsOf(paused.natives, fakegame::kIsPauseMenuActive).size(), size_t{1});
    PlaySteps(script, {Sends({Resume(device)}).WheelKeys(false).Sound(0)});

    check::Section("sound-mix: another window in front pauses the track; the game in front resumes it");
    const int foregroundBefore = desktop.ForegroundCalls();
    PlaySteps(script, {Sends({Status(device), Pause(device)}).GameInFront(false)});
    CHECK_EQ(desktop.ForegroundCalls(), foregroundBefore + 1);
    PlaySteps(script, {Sends({Resume(device)}).GameInFront(true)});
    session.Unload();

    SoundMixOff(window, device);
}

}  // namespace wine_scenarios
