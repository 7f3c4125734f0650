// The wheel on a game pad (controller): the settings and their checker lines, the hold that opens
// the wheel, the stick's choice, the pad's buttons, and no pad native asked while the keyboard is
// in use or the setting is off.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "game_names.h"
#include "host/settings.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"
#include "wheel/layout.h"

namespace {

using namespace testing_support;

// Every native of the pad, by the names the stand-in game gives them.
const char* const kPadNatives[] = {"IS_USING_KEYBOARD_AND_MOUSE", "IS_DISABLED_CONTROL_PRESSED",
                                   "IS_DISABLED_CONTROL_JUST_PRESSED", "GET_DISABLED_CONTROL_NORMAL"};

int CountPadNatives() {
    int count = 0;
    for (const char* name : kPadNatives) {
        count += CountNatives(name);
    }
    return count;
}

class Pad : public testing_support::WheelFrameTest {
protected:
    void SetUp() override {
        WheelFrameTest::SetUp();
        MakeFile("Trallio/Radio 1/b.mp3");
        MakeFile("Trallio/Radio 2/c.mp3");
        RideWithStationOne();
        ASSERT_TRUE(radio.trackActive);
        radio.config.controller = true;
        pad().inUse = true;
    }
    static fakehost::PadInput& pad() { return fakehost::GetWorld().pad; }
    // One frame at `ms` on the desktop's clock, the wheel button held or not.
    static void FrameAt(uint32_t ms, bool held) {
        fakehost::GetWorld().tickCount = ms;
        pad().wheelButton = held;
        Frame();
    }
    // Holds the wheel button from `start` until the wheel is open.
    static void OpenWheel(uint32_t start = 1000) {
        FrameAt(start, true);
        FrameAt(start + 300, true);
        ASSERT_TRUE(radio.wheelOpen);
    }
    static bool SlotHovered(int slot) {
        const trallio::SpriteSpec& s = trallio::wheelSpritesHover[slot];
        for (const fakehost::GameState::Sprite& sprite : fakehost::Game().sprites) {
            if (sprite.texture == s.texture && sprite.red == s.red && sprite.green == s.green && sprite.blue == s.blue &&
                sprite.alpha == s.alpha) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(Pad, SettingsAndTheirCheckerLines) {
    const std::string on = "Wheel on a game pad (controller): on, hold ";
    const std::string holdWarning = "\" is not a whole number from 100 to 2000; the wheel opens after 300 ms\n";
    const struct {
        const char* file;
        bool controller;
        const char* button;
        int32_t holdMs;
        std::string lines;
    } cases[] = {
        {"", false, "INPUT_SELECT_RADAR_MODE", 300, ""},
        {"controller=True\n", true, "INPUT_SELECT_RADAR_MODE", 300, on + "INPUT_SELECT_RADAR_MODE for 300 ms to open the wheel\n"},
        {"controller=true\ncontroller_button=INPUT_FRONTEND_Y\ncontroller_hold_ms=2000\n", true, "INPUT_FRONTEND_Y", 2000,
         on + "INPUT_FRONTEND_Y for 2000 ms to open the wheel\n"},
        {"controller=TRUE\ncontroller_hold_ms=100\n", false, "INPUT_SELECT_RADAR_MODE", 100, ""},
        {"controller=True\ncontroller_hold_ms=99\n", true, "INPUT_SELECT_RADAR_MODE", 300,
         on + "INPUT_SELECT_RADAR_MODE for 300 ms to open the wheel\n  Warning: controller_hold_ms = \"99" + holdWarning},
        {"controller_hold_ms=2001\n", false, "INPUT_SELECT_RADAR_MODE", 300,
         "Wheel on a game pad (controller): off\n  Warning: controller_hold_ms = \"2001" + holdWarning},
        {"controller_hold_ms=+300\n", false, "INPUT_SELECT_RADAR_MODE", 300,
         "Wheel on a game pad (controller): off\n  Warning: controller_hold_ms = \"+300" + holdWarning},
        {"controller=True\ncontroller_button=\n", true, "INPUT_SELECT_RADAR_MODE", 300,
         on + "INPUT_SELECT_RADAR_MODE for 300 ms to open the wheel\n  Warning: controller_button = \"\" names no "
              "control; the wheel opens with INPUT_SELECT_RADAR_MODE\n"},
        {"controller=True\ncontroller_button=dpad down\n", true, "dpad down", 300,
         on + "dpad down for 300 ms to open the wheel\n  Warning: controller_button = \"dpad down\" is not a control "
              "name (INPUT_...); the game may know no such control\n"},
    };
    for (const auto& c : cases) {
        trallio::ResetRadioState();
        MakeFile("Trallio/Trallio.ini", std::string("[config]\n") + c.file);
        static trallio::ConfigTexts texts;
        trallio::LoadSettings(&texts);
        EXPECT_EQ(radio.config.controller, c.controller) << c.file;
        EXPECT_STREQ(radio.config.controllerButton, c.button) << c.file;
        EXPECT_EQ(radio.config.controllerHoldMs, c.holdMs) << c.file;
        char text[1024];
        trallio::SettingLines lines{text, sizeof text, 0};
        trallio::DescribeSettings({texts, false}, lines);
        const std::string all(text, lines.length);
        const size_t start = all.find("Wheel on a game pad");
        EXPECT_EQ(start == std::string::npos ? "" : all.substr(start), c.lines) << c.file;
    }
}

// With the setting off nothing of the pad is asked; with it on and the keyboard in use, only the
// question of which input is in use. Q and R work as before in both.
TEST_F(Pad, OffOrWithTheKeyboardInUseNoPadControlIsRead) {
    for (const bool controller : {false, true}) {
        SCOPED_TRACE(controller ? "keyboard in use" : "controller off");
        radio.config.controller = controller;
        pad() = {controller ? false : true, true, true, true, true, true, 0.0f, -1.0f, "INPUT_SELECT_RADAR_MODE"};
        for (uint32_t ms : {0u, 300u, 2500u}) {
            FrameAt(ms, true);
            EXPECT_EQ(CountPadNatives(), controller ? 1 : 0);
            EXPECT_EQ(NativeLines("IS_USING_KEYBOARD_AND_MOUSE").size(), controller ? 1u : 0u);
            EXPECT_EQ(CountNatives("DISABLE_CONTROL_ACTION"), 0);
            EXPECT_FALSE(radio.wheelOpen);
        }
        Keys(true, true);
        FrameAt(3000, true);
        EXPECT_TRUE(radio.wheelOpen);
        EXPECT_EQ(CountNatives("SET_CURSOR_STYLE"), 1) << "the mouse wheel";
        EXPECT_EQ(CountPadNatives(), controller ? 1 : 0);
        Keys(false, false);
        FrameAt(3100, false);
        EXPECT_FALSE(radio.wheelOpen);
    }
}

// The button's own frame: the input question, the button and (for the default button) the HUD
// reveal and the radar disabled, then the button read; the clock from the first held frame.
TEST_F(Pad, HeldFramesDisableAndReadTheButtonInOrder) {
    const auto hashOf = [](const char* name) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", fakegame::NameHash(name));
        return std::string(text);
    };
    for (const char* button : {"INPUT_SELECT_RADAR_MODE", "INPUT_FRONTEND_Y"}) {
        SCOPED_TRACE(button);
        std::snprintf(radio.config.controllerButton, sizeof radio.config.controllerButton, "%s", button);
        std::vector<std::string> expected = {"IS_USING_KEYBOARD_AND_MOUSE(0)"};
        std::vector<const char*> disabled = {button};
        if (std::string(button) == "INPUT_SELECT_RADAR_MODE") {
            disabled = {button, "INPUT_REVEAL_HUD", "INPUT_EXPAND_RADAR"};
        }
        for (const char* name : disabled) {
            expected.push_back("GET_HASH_KEY(\"" + std::string(name) + "\")");
            expected.push_back("DISABLE_CONTROL_ACTION(0, " + hashOf(name) + ", 1)");
        }
        expected.push_back("IS_DISABLED_CONTROL_PRESSED(0, " + hashOf(button) + ")");
        pad().wheelControl = button;
        FrameAt(0, true);
        std::vector<std::string> seen;
        for (const std::string& line : fakehost::Lines(fakehost::EventKind::Native)) {
            const std::string call = line.substr(line.find(' ', 7) + 1);
            if (call.rfind("PLAYER_PED_ID", 0) != 0 && call.rfind("IS_PED_", 0) != 0) {
                seen.push_back(call);
            }
        }
        seen.resize(std::min(seen.size(), expected.size()));
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(LinesStartingWith("win32 GetTickCount"), std::vector<std::string>{"win32 GetTickCount() = 0"});
        FrameAt(100, false);
    }
}

// Held for the hold time the wheel opens as with Q and R but without the mouse; a shorter press
// does nothing, and the next press counts afresh.
TEST_F(Pad, OpensAfterTheHoldAndNotBefore) {
    for (const int32_t hold : {100, 300, 2000}) {
        SCOPED_TRACE(hold);
        radio.config.controllerHoldMs = hold;
        const uint32_t start = 10000u * static_cast<uint32_t>(hold);
        FrameAt(start, true);
        FrameAt(start + hold - 1, true);
        FrameAt(start + hold - 1, false);
        EXPECT_FALSE(radio.wheelOpen);
        EXPECT_EQ(Clicks(), 0);
        EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
        FrameAt(start + hold + 50, true);
        FrameAt(start + 2 * hold + 49, true);
        EXPECT_FALSE(radio.wheelOpen) << "a new press counts from its own first frame";
        FrameAt(start + 2 * hold + 50, true);
        EXPECT_TRUE(radio.wheelOpen);
        EXPECT_EQ(fakehost::Game().timeScale, 0.1f);
        EXPECT_TRUE(fakehost::Game().effectRunning);
        EXPECT_EQ(CountNatives("WHEEL_FRAME"), 1);
        EXPECT_EQ(CountNatives("SET_CURSOR_STYLE"), 0);
        EXPECT_TRUE(LinesStartingWith("win32 SetCursorPos").empty());
        EXPECT_TRUE(LinesStartingWith("win32 GetCursorPos").empty());
        EXPECT_TRUE(LinesStartingWith("win32 GetKeyState").empty());
        EXPECT_EQ(fakehost::Game().texts.back(), "Release to choose - A skip - LB/RB volume - B cancel");
        FrameAt(start + 5000, true);
        EXPECT_TRUE(LinesStartingWith("win32 GetTickCount").empty()) << "no clock once open";
        FrameAt(start + 5001, false);
        EXPECT_FALSE(radio.wheelOpen);
        EXPECT_EQ(Clicks(), 0) << "nothing highlighted: closed without a choice";
        EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
    }
}

// The stick highlights by quarter circle and keeps the highlight at the centre; letting go of the
// button chooses the highlighted slot, or nothing.
TEST_F(Pad, StickHighlightsAndReleaseChooses) {
    const int none = 0;
    const struct {
        float x, y;
        int slot;
    } cases[] = {
        {0.0f, -1.0f, trallio::Station1}, {-1.0f, 0.0f, trallio::Station2}, {1.0f, 0.0f, trallio::Station3},
        {0.0f, 1.0f, trallio::Off},       {0.6f, -0.7f, trallio::Station1}, {0.7f, -0.6f, trallio::Station3},
        {-0.7f, 0.6f, trallio::Station2}, {-0.6f, 0.7f, trallio::Off},      {0.3f, -0.4f, none},
        {0.35f, 0.35f, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        radio.radioOn = true;
        radio.stoppedByUser = false;
        trallio::SelectStation(radio.stationFolders[0]);
        OpenWheel();
        pad().stickX = c.x;
        pad().stickY = c.y;
        FrameAt(1400, true);
        for (int slot : {trallio::Off, trallio::Station1, trallio::Station2, trallio::Station3}) {
            EXPECT_EQ(SlotHovered(slot), slot == c.slot) << slot;
        }
        pad().stickX = pad().stickY = 0.0f;
        FrameAt(1500, true);
        EXPECT_EQ(c.slot == none || SlotHovered(c.slot), true) << "the highlight stays at the centre";
        FrameAt(1600, false);
        EXPECT_FALSE(radio.wheelOpen);
        EXPECT_EQ(Clicks(), c.slot == none ? 0 : 1);
        if (c.slot == trallio::Off) {
            EXPECT_FALSE(radio.radioOn);
            EXPECT_TRUE(radio.stoppedByUser);
        } else {
            EXPECT_TRUE(radio.radioOn);
            const int station = c.slot == none ? 0 : c.slot - trallio::Station1;
            EXPECT_STREQ(radio.currentFolder, radio.stationFolders[station]);
        }
        FrameAt(1700, false);
        EXPECT_EQ(Clicks(), 0);
    }
}

// A skips once per press; LB and RB held move the volume one step a frame, drawn in their hover
// look; B closes without a choice until the button is let go and held again.
TEST_F(Pad, ButtonsSkipSweepAndCancel) {
    OpenWheel();
    const struct {
        bool accept, lb, rb;
        int clicks;
        int32_t volume;
        bool skip;
    } frames[] = {
        {true, false, false, 1, 90, true},  {true, false, false, 0, 90, false}, {false, false, false, 0, 90, false},
        {true, false, false, 1, 90, true},  {false, true, false, 1, 89, false}, {false, true, false, 1, 88, false},
        {false, false, true, 1, 89, false}, {false, false, true, 1, 90, false}, {false, false, true, 1, 91, false},
    };
    uint32_t ms = 2000;
    for (const auto& f : frames) {
        SCOPED_TRACE(ms);
        pad().accept = f.accept;
        pad().leftBumper = f.lb;
        pad().rightBumper = f.rb;
        FrameAt(ms += 16, true);
        EXPECT_EQ(Clicks(), f.clicks);
        EXPECT_EQ(radio.volume, f.volume);
        EXPECT_EQ(SlotHovered(trallio::Skip), f.skip);
        EXPECT_EQ(SlotHovered(trallio::VolumeDown), f.lb);
        EXPECT_EQ(SlotHovered(trallio::VolumeUp), f.rb);
        EXPECT_EQ(LinesStartingWith("media close").size(), f.skip ? 1u : 0u) << "the skip reaches playback";
    }
    pad() = {true, true, false, false, false, false, 0.0f, -1.0f, "INPUT_SELECT_RADAR_MODE"};
    FrameAt(ms += 16, true);
    pad().cancel = true;
    FrameAt(ms += 16, true);
    EXPECT_FALSE(radio.wheelOpen);
    EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
    pad().cancel = false;
    for (int i = 0; i < 3; ++i) {
        FrameAt(ms += 400, true);
        EXPECT_FALSE(radio.wheelOpen) << "not again while the button stays held";
    }
    FrameAt(ms += 16, false);
    EXPECT_EQ(Clicks(), 0) << "the highlight is not chosen after B";
    EXPECT_STREQ(radio.currentFolder, radio.stationFolders[0]);
    OpenWheel(ms + 16);
}

// Leaving the mount with the pad's wheel open closes it as with Q and R, asks nothing of the pad,
// and chooses nothing; back on the mount, the held button counts afresh.
TEST_F(Pad, LeavingTheMountWithThePadWheelOpen) {
    OpenWheel();
    pad().stickY = -1.0f;
    FrameAt(1400, true);
    fakehost::GetWorld().onMount = false;
    FrameAt(1500, true);
    EXPECT_FALSE(radio.wheelOpen);
    EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
    EXPECT_FALSE(fakehost::Game().effectRunning);
    EXPECT_EQ(CountPadNatives(), 0);
    fakehost::GetWorld().onMount = true;
    FrameAt(1600, true);
    FrameAt(1899, true);
    EXPECT_FALSE(radio.wheelOpen);
    FrameAt(1950, false);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_STREQ(radio.currentFolder, radio.stationFolders[0]);
}

}  // namespace
