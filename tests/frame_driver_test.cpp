// One game frame: eligibility, the radio following the player, the wheel's keys, and the
// playback pass at the end of every frame.
#include <algorithm>

#include "game_names.h"
#include "host/frame_driver.h"
#include "natives_catalog.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"
#include "wheel/layout.h"
#include "wheel_points.h"

namespace {

using namespace testing_support;

const std::string kTimeScaleSlow = "native 0x9682AF6050854856 SET_TIME_SCALE(0.100000001)";
const std::string kTimeScaleNormal = "native 0x9682AF6050854856 SET_TIME_SCALE(1)";
const std::string kEffectStart = "native 0x4102732DF6B4005F ANIMPOSTFX_PLAY(\"WheelHUDIn\")";
const std::string kEffectStop = "native 0xB4FD7446BAB2F394 ANIMPOSTFX_STOP(\"WheelHUDIn\")";
const std::string kWheelFrameCall = "native 0xF12E4CCAF249DC10 WHEEL_FRAME()";

class FrameDriver : public testing_support::WheelFrameTest {
protected:
    // Index of the first line equal to `line` among the native lines, or -1.
    static int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
        const auto at = std::find(lines.begin(), lines.end(), line);
        return at == lines.end() ? -1 : static_cast<int>(at - lines.begin());
    }
    bool WheelDrawn() { return CountNatives("DRAW_SPRITE") > 0; }
};

TEST_F(FrameDriver, EligibilityQuestionsStopAtTheFirstYes) {
    fakehost::GetWorld().inVehicle = true;
    Frame();
    auto natives = LinesStartingWith("native ");
    ASSERT_GE(natives.size(), 2u);
    EXPECT_EQ(natives[0], "native 0x096275889B8E0EE0 PLAYER_PED_ID()");
    EXPECT_EQ(natives[1], "native 0x997ABD671D25CA0B IS_PED_IN_ANY_VEHICLE(0x2A, 0)");
    EXPECT_EQ(natives[2], "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)");
    EXPECT_EQ(LinesStartingWith("win32 GetAsyncKeyState").size(), 1u) << "eligible: Q is read";

    fakehost::GetWorld() = fakehost::World{};
    fakehost::GetWorld().onMount = true;
    Frame();
    natives = LinesStartingWith("native ");
    EXPECT_EQ(natives[1], "native 0x997ABD671D25CA0B IS_PED_IN_ANY_VEHICLE(0x2A, 0)");
    EXPECT_EQ(natives[2], "native 0x2E0E1C2B4F6CB339 IS_PED_IN_ANY_BOAT(0x2A)");
    EXPECT_EQ(natives[3], "native 0x6F972C1AB75A1ED0 IS_PED_IN_ANY_TRAIN(0x2A)");
    EXPECT_EQ(natives[4], "native 0x460BC76A0E10655E IS_PED_ON_MOUNT(0x2A)");
}

TEST_F(FrameDriver, OnFootTheKeysAreReadOnlyInMediaPlayerMode) {
    Frame();
    EXPECT_EQ(CountNatives("IS_PED_ON_MOUNT"), 1);
    EXPECT_TRUE(LinesStartingWith("win32 ").empty()) << "not eligible: no key is read";
    radio.mediaPlayerMode = true;
    Keys(true, true);
    Frame();
    EXPECT_EQ(CountNatives("IS_PED_ON_MOUNT"), 1) << "all four questions are still asked";
    EXPECT_TRUE(WheelDrawn());
}

TEST_F(FrameDriver, QAloneOrRAloneNeverOpensTheWheel) {
    fakehost::GetWorld().onMount = true;
    Keys(true, false);
    Frame();
    EXPECT_EQ(LinesStartingWith("win32 GetAsyncKeyState"),
              (std::vector<std::string>{"win32 GetAsyncKeyState(0x51) = 0x8000", "win32 GetAsyncKeyState(0x52) = 0x0"}));
    EXPECT_FALSE(WheelDrawn());
    Keys(false, true);
    Frame();
    EXPECT_EQ(LinesStartingWith("win32 GetAsyncKeyState"), std::vector<std::string>{"win32 GetAsyncKeyState(0x51) = 0x0"})
        << "R is read only when Q is held";
    EXPECT_FALSE(WheelDrawn());
    EXPECT_FALSE(radio.wheelOpen);
    EXPECT_EQ(CountNatives("SET_TIME_SCALE"), 0) << "closing a closed wheel does nothing";
}

TEST_F(FrameDriver, OpeningFrameCentresTheCursorAndEveryWheelFrameSlowsTime) {
    fakehost::GetWorld().onMount = true;
    Keys(false, true);
    Frame();
    Keys(true, true);
    Frame();
    EXPECT_TRUE(radio.wheelOpen);
    EXPECT_EQ(LinesStartingWith("win32 SetCursorPos"), std::vector<std::string>{"win32 SetCursorPos(1060, 590)"});
    const auto natives = LinesStartingWith("native ");
    // Controls blocked, then the wheel's mood, then the wheel, then the playback pass.
    const int slow = IndexOf(natives, kTimeScaleSlow);
    ASSERT_EQ(slow, 5 + 18);
    EXPECT_EQ(natives[slow + 1], kEffectStart);
    EXPECT_EQ(natives[slow + 2], kWheelFrameCall);
    EXPECT_EQ(natives[slow + 3], "native 0x7F5858AAB5A58CCE SET_CURSOR_STYLE(0)");
    EXPECT_EQ(natives.back(), "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)");
    EXPECT_EQ(fakehost::Game().timeScale, 0.1f);
    EXPECT_TRUE(fakehost::Game().effectRunning);

    // The next frame repeats the mood but does not centre again.
    fakehost::GetWorld().cursorX = 5;
    Frame();
    EXPECT_TRUE(LinesStartingWith("win32 SetCursorPos").empty());
    EXPECT_EQ(NativeLines("SET_TIME_SCALE"), std::vector<std::string>{kTimeScaleSlow});
    EXPECT_EQ(CountNatives("ANIMPOSTFX_PLAY"), 1);
    EXPECT_EQ(CountNatives("WHEEL_FRAME"), 1);

    // A key let go closes it.
    Keys(true, false);
    Frame();
    EXPECT_EQ(NativeLines("SET_TIME_SCALE"), std::vector<std::string>{kTimeScaleNormal});
    EXPECT_EQ(NativeLines("ANIMPOSTFX_STOP"), std::vector<std::string>{kEffectStop});
    EXPECT_FALSE(radio.wheelOpen);
    EXPECT_FALSE(WheelDrawn());
    EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
    EXPECT_FALSE(fakehost::Game().effectRunning);
}

TEST_F(FrameDriver, AttackControlsAreBlockedByTheirFreshHashes) {
    trallio::SuppressAttackControls();
    const char* names[] = {"INPUT_RELOAD",        "INPUT_ATTACK",          "INPUT_COVER",
                           "INPUT_HORSE_ATTACK",  "INPUT_VEH_CAR_ATTACK",  "INPUT_VEH_BOAT_ATTACK",
                           "INPUT_VEH_ATTACK",    "INPUT_VEH_PASSENGER_ATTACK", "INPUT_VEH_DRAFT_ATTACK"};
    std::vector<std::string> expected;
    for (const char* name : names) {
        char hash[16];
        std::snprintf(hash, sizeof hash, "0x%X", fakegame::NameHash(name));
        expected.push_back(std::string("native 0xFD340785ADF8CFB7 GET_HASH_KEY(\"") + name + "\")");
        expected.push_back(std::string("native 0xFE99B66D079CF6BC DISABLE_CONTROL_ACTION(0, ") + hash + ", 1)");
    }
    EXPECT_EQ(LinesStartingWith("native "), expected);
}

TEST_F(FrameDriver, WithoutTheGameWindowTheCursorIsNotCentred) {
    fakehost::GetWorld().onMount = true;
    fakehost::GetWorld().windowExists = false;
    Keys(true, true);
    Frame();
    EXPECT_TRUE(radio.wheelOpen);
    EXPECT_TRUE(LinesStartingWith("win32 SetCursorPos").empty());
    EXPECT_TRUE(LinesStartingWith("win32 ClientToScreen").empty());
    EXPECT_TRUE(WheelDrawn());
}

TEST_F(FrameDriver, LeavingTheMountWithTheWheelOpenClosesIt) {
    fakehost::GetWorld().onMount = true;
    Keys(true, true);
    Frame();
    ASSERT_TRUE(radio.wheelOpen);
    fakehost::GetWorld().onMount = false;
    Frame();
    EXPECT_FALSE(radio.wheelOpen);
    EXPECT_EQ(NativeLines("SET_TIME_SCALE"), std::vector<std::string>{kTimeScaleNormal});
    EXPECT_EQ(NativeLines("ANIMPOSTFX_STOP"), std::vector<std::string>{kEffectStop});
    EXPECT_TRUE(LinesStartingWith("win32 ").empty()) << "keys are not read on foot";
    EXPECT_FALSE(WheelDrawn());
    EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
    // Later frames on foot change nothing more.
    Frame();
    EXPECT_EQ(CountNatives("SET_TIME_SCALE"), 0);
    // Mounting again with both keys still held opens the wheel afresh, centring the cursor.
    fakehost::GetWorld().onMount = true;
    Frame();
    EXPECT_EQ(LinesStartingWith("win32 SetCursorPos").size(), 1u);
    EXPECT_TRUE(WheelDrawn());
}

class FrameDriverWithStation : public FrameDriver {
protected:
    void SetUp() override {
        FrameDriver::SetUp();
        RideWithStationOne();
        ASSERT_TRUE(radio.trackActive);
    }
    std::vector<std::string> Media() { return LinesStartingWith("media "); }
};

TEST_F(FrameDriverWithStation, DismountPausesAndRemountResumes) {
    fakehost::GetWorld().onMount = false;
    Frame();
    EXPECT_FALSE(radio.radioOn);
    EXPECT_TRUE(radio.paused);
    EXPECT_EQ(Media().back(), "media pause \"Trallio\\Radio 1\\a.mp3\"");
    EXPECT_EQ(fakehost::Game().musicDisabled, 0);
    // Later frames on foot with the track paused send nothing.
    Frame();
    EXPECT_FALSE(radio.radioOn);
    EXPECT_TRUE(radio.paused);
    EXPECT_TRUE(Media().empty());

    fakehost::GetWorld().onMount = true;
    Frame();
    EXPECT_TRUE(radio.radioOn);
    EXPECT_FALSE(radio.paused);
    EXPECT_EQ(Media(), std::vector<std::string>{"media resume \"Trallio\\Radio 1\\a.mp3\" notify"});
    EXPECT_EQ(fakehost::Game().musicDisabled, 1);
}

TEST_F(FrameDriverWithStation, SwitchedOffByTheUserStaysOffOnRemount) {
    fakehost::GetWorld().onMount = false;
    Frame();
    ASSERT_TRUE(radio.paused);
    radio.stoppedByUser = true;
    fakehost::GetWorld().onMount = true;
    Frame();
    EXPECT_FALSE(radio.radioOn);
    EXPECT_TRUE(radio.paused);
    EXPECT_TRUE(Media().empty());
}

TEST_F(FrameDriverWithStation, AStoppedTrackIsNotResumedByRemounting) {
    fakehost::FinishAllTracks();
    fakehost::GetWorld().onMount = false;
    Frame();
    EXPECT_FALSE(radio.paused);
    fakehost::GetWorld().onMount = true;
    Frame();
    EXPECT_FALSE(radio.radioOn);
}

TEST_F(FrameDriverWithStation, ThePlaybackPassRunsOnceOnEveryPathAfterTheWheel) {
    const struct {
        bool mounted, q, r;
    } frames[] = {{true, false, false}, {true, true, true}, {true, true, true}, {false, true, true},
                  {true, true, false},  {false, false, false}};
    for (const auto& f : frames) {
        fakehost::GetWorld().onMount = f.mounted;
        Keys(f.q, f.r);
        Frame();
        const auto natives = LinesStartingWith("native ");
        EXPECT_EQ(CountNatives("SET_AUDIO_FLAG"), 1);
        const auto isSprite = [](const std::string& line) { return line.find("DRAW_SPRITE") != std::string::npos; };
        const auto sprite = std::find_if(natives.rbegin(), natives.rend(), isSprite);
        const int lastSprite = static_cast<int>(natives.rend() - sprite) - 1;
        const int flag = IndexOf(natives, radio.radioOn
                                              ? "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 1)"
                                              : "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)");
        EXPECT_GT(flag, lastSprite);
    }
}

TEST_F(FrameDriverWithStation, AClickOnTheWheelTakesEffectInTheSameFrame) {
    MakeFile("Trallio/Radio 2/b.mp3");
    fakehost::World& w = fakehost::GetWorld();
    Keys(true, true);
    Frame();  // opening frame: the cursor moves to the centre
    fakehost::PointCursorAt(fakehost::SlotCentre(trallio::Station2).x, fakehost::SlotCentre(trallio::Station2).y);
    w.leftButton = true;
    Frame();
    // The wheel sends the volume after its clicks, so in the frame of a station change it names the
    // old track under the new folder, a device that is not open.
    EXPECT_EQ(Media(), (std::vector<std::string>{
                           "media close \"Trallio\\Radio 1\\a.mp3\"",
                           "media setaudio \"Trallio\\Radio 2\\a.mp3\" volume to 90 -> 263",
                           "media open \"Trallio\\Radio 2\\b.mp3\" type MPEGVideo",
                           "media play \"Trallio\\Radio 2\\b.mp3\"",
                           "media setaudio \"Trallio\\Radio 2\\b.mp3\" volume to 90",
                           "media status \"Trallio\\Radio 2\\b.mp3\" mode [reply 64] = \"playing\"",
                       }));
}

}  // namespace
