// The radio in the game's sound mix: lowered while someone speaks (duck_dialogue), paused while the
// pause menu is open or the game is in the background (pause_in_menus), and neither asked about
// while its setting is off.
#include <string>
#include <vector>

#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"

namespace {

using namespace testing_support;

const std::string kSetAudio = "media setaudio \"Trallio\\Radio 1\\a.mp3\" volume to ";

class SoundMix : public testing_support::WheelFrameTest {
protected:
    void SetUp() override {
        WheelFrameTest::SetUp();
        RideWithStationOne();
        ASSERT_TRUE(radio.trackActive);
    }
    // One frame at `ms` on the desktop's clock.
    static void FrameAt(uint32_t ms) {
        fakehost::GetWorld().tickCount = ms;
        Frame();
    }
    static std::vector<std::string> SetAudio() { return LinesStartingWith("media setaudio"); }
    static void Wheel(bool open) { Keys(open, open); }
};

TEST_F(SoundMix, SettingsValues) {
    const struct {
        const char* file;
        int32_t percent;
        bool pause;
    } cases[] = {
        {"", -1, false},
        {"[config]\nduck_dialogue=50\npause_in_menus=True\n", 50, true},
        {"[config]\nduck_dialogue=0\npause_in_menus=true\n", 0, true},
        {"[config]\nduck_dialogue=100\npause_in_menus=TRUE\n", 100, false},
        {"[config]\nduck_dialogue = 40 \npause_in_menus=1\n", 40, false},
        {"[config]\nduck_dialogue=-5\n", -1, false},
        {"[config]\nduck_dialogue=101\n", -1, false},
        {"[config]\nduck_dialogue=abc\n", -1, false},
        {"[config]\nduck_dialogue=\n", -1, false},
        {"[config]\nduck_dialogue=+5\n", -1, false},
        {"[config]\nduck_dialogue=0050\n", -1, false},
        {"[config]\nduck_dialogue=5 %\n", -1, false},
    };
    for (const auto& c : cases) {
        ReadSettings(c.file);
        EXPECT_EQ(radio.config.duckPercent, c.percent) << c.file;
        EXPECT_EQ(radio.config.pauseInMenus, c.pause) << c.file;
    }
}

TEST_F(SoundMix, BothOffNeverAsksTheNewQuestions) {
    // Whatever the game and the desktop show, with a track playing and with the wheel open.
    fakehost::World& w = fakehost::GetWorld();
    w.conversationPlaying = true;
    w.playerSpeaking = true;
    w.pauseMenuOpen = true;
    w.gameInForeground = false;
    for (bool wheel : {false, true, false}) {
        Wheel(wheel);
        FrameAt(5000);
        EXPECT_EQ(CountNatives("IS_ANY_CONVERSATION_PLAYING"), 0);
        EXPECT_EQ(CountNatives("IS_ANY_SPEECH_PLAYING"), 0);
        EXPECT_EQ(CountNatives("IS_PAUSE_MENU_ACTIVE"), 0);
        EXPECT_TRUE(LinesStartingWith("win32 GetForegroundWindow").empty());
        EXPECT_TRUE(LinesStartingWith("win32 GetTickCount").empty());
        EXPECT_TRUE(radio.radioOn);
        EXPECT_FALSE(radio.paused);
        EXPECT_EQ(SetAudio(), wheel ? std::vector<std::string>{kSetAudio + "90"} : std::vector<std::string>{})
            << "only the wheel's own volume";
    }
}

TEST_F(SoundMix, SpeechLowersAtOnceAndRisesOneSecondAfter) {
    const struct {
        int32_t percent;
        bool conversation;
        bool speaking;
        int32_t lowered;
    } cases[] = {
        {50, true, false, 45}, {50, false, true, 45}, {50, true, true, 45}, {33, true, false, 29},
        {0, false, true, 0},   {100, true, false, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("percent " + std::to_string(c.percent) + " conversation " + std::to_string(c.conversation) +
                     " speaking " + std::to_string(c.speaking));
        radio.config.duckPercent = c.percent;
        fakehost::World& w = fakehost::GetWorld();
        FrameAt(0);
        EXPECT_TRUE(SetAudio().empty());
        EXPECT_EQ(NativeLines("IS_ANY_CONVERSATION_PLAYING"),
                  std::vector<std::string>{"native 0xA2CAC9DEF0195E6F IS_ANY_CONVERSATION_PLAYING(0)"});
        EXPECT_EQ(NativeLines("IS_ANY_SPEECH_PLAYING"),
                  std::vector<std::string>{"native 0x729072355FA39EC9 IS_ANY_SPEECH_PLAYING(0x2A)"});

        w.conversationPlaying = c.conversation;
        w.playerSpeaking = c.speaking;
        FrameAt(100);
        const std::vector<std::string> lowered =
            c.lowered == 90 ? std::vector<std::string>{} : std::vector<std::string>{kSetAudio + std::to_string(c.lowered)};
        EXPECT_EQ(SetAudio(), lowered);
        EXPECT_EQ(CountNatives("IS_ANY_SPEECH_PLAYING"), c.conversation ? 0 : 1) << "asked only without a conversation";
        FrameAt(600);
        EXPECT_TRUE(SetAudio().empty());

        w.conversationPlaying = false;
        w.playerSpeaking = false;
        for (uint32_t ms : {1000u, 1500u, 1999u}) {
            FrameAt(ms);
            EXPECT_TRUE(SetAudio().empty()) << ms;
        }
        FrameAt(2000);
        EXPECT_EQ(SetAudio(), c.lowered == 90 ? std::vector<std::string>{} : std::vector<std::string>{kSetAudio + "90"});
        FrameAt(2100);
        EXPECT_TRUE(SetAudio().empty());
        EXPECT_TRUE(LinesStartingWith("win32 GetTickCount").empty()) << "no clock once the level is back";
        EXPECT_EQ(radio.volume, 90);
    }
}

TEST_F(SoundMix, SpeechAgainBeforeTheSecondKeepsTheLevelDown) {
    radio.config.duckPercent = 50;
    // Speaking from 0, quiet from 500, speaking again from 900, quiet from 1600.
    for (const uint32_t ms : {0u, 500u, 900u, 1600u}) {
        fakehost::GetWorld().playerSpeaking = ms == 0 || ms == 900;
        FrameAt(ms);
    }
    EXPECT_TRUE(SetAudio().empty()) << "the second counts from the last quiet start, at 1600";
    FrameAt(2599);
    EXPECT_TRUE(SetAudio().empty());
    FrameAt(2600);
    EXPECT_EQ(SetAudio(), std::vector<std::string>{kSetAudio + "90"});
}

TEST_F(SoundMix, TheOpenWheelSendsTheLevelInForceAndShowsItsOwnVolume) {
    radio.config.duckPercent = 50;
    Wheel(true);
    FrameAt(0);
    EXPECT_EQ(SetAudio(), std::vector<std::string>{kSetAudio + "90"});
    fakehost::GetWorld().conversationPlaying = true;
    FrameAt(100);
    EXPECT_EQ(SetAudio(), std::vector<std::string>{kSetAudio + "45"}) << "one command on the change frame";
    FrameAt(200);
    EXPECT_EQ(SetAudio(), std::vector<std::string>{kSetAudio + "45"});
    EXPECT_EQ(fakehost::Game().texts.back(), "Vol: 90");
    Wheel(false);
    FrameAt(300);
    EXPECT_TRUE(SetAudio().empty());
    fakehost::GetWorld().conversationPlaying = false;
    FrameAt(400);
    FrameAt(1400);
    EXPECT_EQ(SetAudio(), std::vector<std::string>{kSetAudio + "90"});
}

TEST_F(SoundMix, PauseMenuOrBackgroundPausesAndResumes) {
    radio.config.pauseInMenus = true;
    const std::string pause = "media pause \"Trallio\\Radio 1\\a.mp3\"";
    const std::string resume = "media resume \"Trallio\\Radio 1\\a.mp3\" notify";
    const struct {
        bool menu;
        bool background;
        bool wheelOpen;
        bool switchedOff;
    } cases[] = {
        {true, false, false, false}, {false, true, false, false}, {true, true, false, false},
        {true, false, true, false},  {false, true, true, false},  {false, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("menu " + std::to_string(c.menu) + " background " + std::to_string(c.background) + " wheel " +
                     std::to_string(c.wheelOpen) + " off " + std::to_string(c.switchedOff));
        fakehost::World& w = fakehost::GetWorld();
        Wheel(c.wheelOpen);
        Frame();
        EXPECT_EQ(NativeLines("IS_PAUSE_MENU_ACTIVE"),
                  std::vector<std::string>{"native 0x535384D6067BA42E IS_PAUSE_MENU_ACTIVE()"});
        EXPECT_EQ(LinesStartingWith("win32 GetForegroundWindow"), std::vector<std::string>{"win32 GetForegroundWindow() = 0x1234"});
        EXPECT_TRUE(radio.radioOn);

        w.pauseMenuOpen = c.menu;
        w.gameInForeground = !c.background;
        Frame();
        EXPECT_EQ(LinesStartingWith("media pause"), std::vector<std::string>{pause});
        EXPECT_TRUE(radio.paused);
        EXPECT_FALSE(radio.wheelOpen);
        EXPECT_EQ(fakehost::Game().timeScale, 1.0f);
        EXPECT_FALSE(fakehost::Game().effectRunning);
        EXPECT_EQ(LinesStartingWith("win32 GetForegroundWindow").empty(), c.menu) << "the menu answers first";
        Frame();
        EXPECT_TRUE(LinesStartingWith("media ").empty());

        radio.stoppedByUser = c.switchedOff;
        w.pauseMenuOpen = false;
        w.gameInForeground = true;
        Wheel(false);
        Frame();
        EXPECT_EQ(LinesStartingWith("media resume"),
                  c.switchedOff ? std::vector<std::string>{} : std::vector<std::string>{resume});
        EXPECT_EQ(radio.radioOn, !c.switchedOff);
        radio.stoppedByUser = false;
        radio.radioOn = true;
        Frame();
        ASSERT_FALSE(radio.paused);
    }
}

TEST_F(SoundMix, WithoutAGameWindowTheGameCountsAsInFront) {
    radio.config.pauseInMenus = true;
    fakehost::GetWorld().windowExists = false;
    Frame();
    EXPECT_EQ(LinesStartingWith("win32 GetForegroundWindow").size(), 1u);
    EXPECT_TRUE(radio.radioOn);
    EXPECT_FALSE(radio.paused);
}

}  // namespace
