// pad: the wheel on a game pad with controller = True, on the real plug-in, the fake hook answering
// the pad natives from the pad the host sets; and with the setting off, none of them asked.
#include <algorithm>

#include "frame_script.h"
#include "host_scenarios.h"

namespace {

using namespace wine_session;

size_t PadCalls(const FrameRecord& frame) {
    return rig::CallsOf(frame.natives, fakegame::kIsUsingKeyboardAndMouse).size() +
           rig::CallsOf(frame.natives, fakegame::kIsDisabledControlPressed).size() +
           rig::CallsOf(frame.natives, fakegame::kIsDisabledControlJustPressed).size() +
           rig::CallsOf(frame.natives, fakegame::kGetDisabledControlNormal).size();
}

bool WheelRuns(const FrameRecord& frame) {
    return HasTimeScale(frame, kWheelTimeScaleBits);
}

size_t Clicks(const FrameRecord& frame) {
    return rig::CallsOf(frame.natives, fakegame::kPlaySoundFrontend).size();
}

// One frame at `ms` on the plug-in's clock with the pad as given.
FrameRecord PadFrame(const Session& session, rig::MediaWatch& watch, const rig::DesktopWatch& desktop, DWORD ms,
                     const FakePad& pad) {
    session.hook.SetPad(pad);
    desktop.AnswerTickCount(ms);
    return RunFrame(session, &watch);
}

bool Contains(const std::vector<std::wstring>& commands, const std::wstring& command) {
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

void PadOff() {
    check::Section("pad: with controller off no pad native is asked, whatever the pad does");
    Session session(L"pad-off");
    rig::MediaWatch watch;
    rig::DesktopWatch desktop;
    if (!LoadRide(session, "", watch, desktop)) {
        return;
    }
    session.hook.SetPlayer(false, false, false, true);
    size_t asked = 0;
    bool opened = false;
    for (DWORD ms : {0u, 400u, 800u, 1200u}) {
        const FrameRecord frame = PadFrame(session, watch, desktop, ms, FakePad{true, true, true, true, true, true, 0.0f, -1.0f});
        asked += PadCalls(frame);
        opened = opened || WheelRuns(frame);
    }
    CHECK_EQ(asked, size_t{0});
    CHECK(!opened);
    CHECK_EQ(desktop.TickCountCalls(), 0);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    const FrameRecord frame = RunFrame(session, &watch);
    CHECK(WheelRuns(frame));
    CHECK_EQ(PadCalls(frame), size_t{0});
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);
}

// A, LB, B and leaving the mount, with station 1 playing.
void PadButtonsAndLeaving(const Session& session, rig::MediaWatch& watch, const rig::DesktopWatch& desktop,
                          const std::wstring& rideA) {
    FakePad pad{true, true, false, false, false, false, 0.0f, 0.0f};
    FrameRecord frame;
    check::Section("pad: A skips once per press, LB held lowers the volume a step a frame");
    pad.wheelButton = true;
    PadFrame(session, watch, desktop, 2000, pad);
    CHECK(WheelRuns(PadFrame(session, watch, desktop, 2250, pad)));
    pad.accept = true;
    frame = PadFrame(session, watch, desktop, 2266, pad);
    CHECK_EQ(Clicks(frame), size_t{1});
    CHECK(Contains(Commands(frame.media), Close(rideA)));
    CHECK_EQ(Clicks(PadFrame(session, watch, desktop, 2282, pad)), size_t{0});
    pad.accept = false;
    pad.leftBumper = true;
    for (DWORD ms : {2298u, 2314u, 2330u}) {
        CHECK_EQ(Clicks(PadFrame(session, watch, desktop, ms, pad)), size_t{1});
    }
    pad.leftBumper = false;
    frame = PadFrame(session, watch, desktop, 2346, pad);
    const std::vector<std::wstring> commands = Commands(frame.media);
    CHECK(!commands.empty() && commands[0].find(L" volume to 87") != std::wstring::npos);

    check::Section("pad: B closes the wheel until the button is let go and held again");
    pad.cancel = true;
    frame = PadFrame(session, watch, desktop, 2362, pad);
    CHECK(HasTimeScale(frame, kNormalTimeScaleBits));
    pad.cancel = false;
    CHECK(!WheelRuns(PadFrame(session, watch, desktop, 3000, pad)));
    CHECK(!WheelRuns(PadFrame(session, watch, desktop, 4000, pad)));
    pad.wheelButton = false;
    CHECK_EQ(Clicks(PadFrame(session, watch, desktop, 4016, pad)), size_t{0});

    check::Section("pad: leaving the mount with the pad's wheel open closes it and asks nothing of the pad");
    pad.wheelButton = true;
    PadFrame(session, watch, desktop, 5000, pad);
    CHECK(WheelRuns(PadFrame(session, watch, desktop, 5250, pad)));
    session.hook.SetPlayer(false, false, false, false);
    frame = PadFrame(session, watch, desktop, 5266, pad);
    CHECK(HasTimeScale(frame, kNormalTimeScaleBits));
    CHECK_EQ(PadCalls(frame), size_t{0});
}

}  // namespace

void wine_scenarios::PadWheel() {
    check::Section("pad: controller=True, the keyboard in use reads no pad control");
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    Session session(L"pad");
    WriteTracks(session, L"Ride", {L"b.mp3"});
    WriteTracks(session, L"Trot", {L"c.mp3"});
    const std::wstring rideA = Device(std::wstring(L"Ride"), std::wstring(L"a.mp3"));
    rig::MediaWatch watch;
    rig::DesktopWatch desktop;
    const std::string more = "radio 2 = Trot\r\n[config]\r\ncontroller=True\r\ncontroller_hold_ms=250\r\n";
    if (!CHECK(window != nullptr) || !LoadRide(session, more, watch, desktop)) {
        return;
    }
    session.hook.SetPlayer(false, false, false, true);
    FakePad pad{false, true, false, false, false, false, 0.0f, 0.0f};
    FrameRecord frame = PadFrame(session, watch, desktop, 0, pad);
    const std::vector<FakeNativeCall> asked = rig::CallsOf(frame.natives, fakegame::kIsUsingKeyboardAndMouse);
    CHECK(asked.size() == 1 && asked[0].argCount == 1 && asked[0].args[0] == 0);
    CHECK_EQ(PadCalls(frame), size_t{1});
    CHECK_EQ(desktop.TickCountCalls(), 0);

    check::Section("pad: held 250 ms the wheel opens, without the mouse");
    CHECK(rig::MoveCursorTo(window, 0.05f, 0.05f));
    POINT before{};
    GetCursorPos(&before);
    pad.inUse = true;
    frame = PadFrame(session, watch, desktop, 1000, pad);
    const std::vector<FakeNativeCall> button = rig::CallsOf(frame.natives, fakegame::kIsDisabledControlPressed);
    CHECK(button.size() == 1 && button[0].args[1] == fakegame::NameHash("INPUT_SELECT_RADAR_MODE"));
    CHECK(!WheelRuns(frame));
    CHECK(!WheelRuns(PadFrame(session, watch, desktop, 1249, pad)));
    frame = PadFrame(session, watch, desktop, 1250, pad);
    CHECK(WheelRuns(frame));
    CHECK(rig::CallsOf(frame.natives, fakegame::kSetCursorStyle).empty());
    POINT after{};
    GetCursorPos(&after);
    CHECK(after.x == before.x && after.y == before.y);

    check::Section("pad: the stick up and letting go chooses station 1");
    pad.stickY = -1.0f;
    PadFrame(session, watch, desktop, 1300, pad);
    pad.stickY = 0.0f;
    PadFrame(session, watch, desktop, 1316, pad);
    pad.wheelButton = false;
    frame = PadFrame(session, watch, desktop, 1332, pad);
    CHECK_EQ(Clicks(frame), size_t{1});
    std::vector<rig::MediaCommand> media = frame.media;
    CHECK(RunUntil(session, watch, L"play ", 6, media) >= 0 || Contains(Commands(media), Play(rideA)));
    CHECK(Contains(Commands(media), Open(rideA)));

    PadButtonsAndLeaving(session, watch, desktop, rideA);
    session.Unload();

    PadOff();
    DestroyWindow(window);
    rig::PumpMessages();
}
