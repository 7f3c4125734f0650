// The simulator's core in-process: the trace it writes, what it keeps for the window (the media
// device and its mode, the texts with their place and scale), and the cursor the radio moves.
#include <sstream>

#include "fake_host.h"
#include "fake_media.h"
#include "run_program.h"
#include "simulator.h"
#include "support.h"

namespace {

using sim::Controls;
using sim::Simulator;

class SimulatorRun : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        MakeFile("Trallio/Radio 1/only.mp3");
    }

    // Mount, hold Q and R, click station 1; leaves the wheel open with the button up.
    void PickStationOne(Simulator& simulator) {
        controls.onMount = true;
        simulator.RunFrame(controls);
        controls.keyQ = controls.keyR = true;
        simulator.RunFrame(controls);
        controls.cursorX = 980;  // inside station 1's slot of a 1920 x 1080 window
        controls.cursorY = 280;
        simulator.RunFrame(controls);
        controls.leftButton = true;
        simulator.RunFrame(controls);
        controls.leftButton = false;
        // "." and ".." are passed over a frame each before the track opens.
        for (int i = 0; i < 3; ++i) {
            simulator.RunFrame(controls);
        }
    }

    // The player's input, kept from frame to frame as a driver keeps it.
    Controls controls;
};

TEST_F(SimulatorRun, TraceLinesCarryTheirFrameAndNotesTheFrameAboutToRun) {
    std::ostringstream trace;
    {
        Simulator simulator(&trace);
        simulator.Note("input mount on");
        controls.onMount = true;
        simulator.RunFrame(controls);
        EXPECT_EQ(simulator.Frame(), 1);
        simulator.Note("input key q down");
    }
    const std::vector<std::string> all = testing_support::SplitLines(trace.str());
    ASSERT_GE(all.size(), 5u);
    EXPECT_EQ(all[0], "0 hook scriptRegister(0x7A110000)");
    EXPECT_EQ(all[1], "1 input mount on");
    EXPECT_EQ(all[2], "1 native 0x096275889B8E0EE0 PLAYER_PED_ID()");
    EXPECT_EQ(all[all.size() - 2], "2 input key q down");
    // Unloading the radio unregisters its script, as the loader's detach does.
    EXPECT_EQ(all.back(), "1 hook scriptUnregister(0x7A110000)");
}

TEST_F(SimulatorRun, TheRadioCentringTheCursorMovesTheControlsInClientPixels) {
    Simulator simulator(nullptr);
    controls.onMount = true;
    controls.cursorX = 5;
    controls.cursorY = 7;
    EXPECT_FALSE(simulator.RunFrame(controls));
    controls.keyQ = controls.keyR = true;
    EXPECT_TRUE(simulator.RunFrame(controls));  // the wheel opens and centres the cursor
    EXPECT_EQ(controls.cursorX, 960);
    EXPECT_EQ(controls.cursorY, 540);
    EXPECT_EQ(fakehost::GetWorld().cursorX, 100 + 960);  // on the screen, past the window's corner
    EXPECT_FALSE(simulator.RunFrame(controls));  // only the opening frame centres it
}

TEST_F(SimulatorRun, MediaStatusFollowsOpenPlayPauseResumeAndClose) {
    Simulator simulator(nullptr);
    EXPECT_EQ(simulator.Media().device, "");
    PickStationOne(simulator);
    const std::string device = "\"Trallio\\Radio 1\\only.mp3\"";
    EXPECT_EQ(simulator.Media().device, device);
    EXPECT_EQ(simulator.Media().mode, "playing");
    EXPECT_EQ(fakehost::DeviceMode(device), "playing");

    controls.keyQ = controls.keyR = false;
    controls.onMount = false;
    simulator.RunFrame(controls);
    EXPECT_EQ(simulator.Media().mode, "paused");
    controls.onMount = true;
    simulator.RunFrame(controls);
    EXPECT_EQ(simulator.Media().mode, "playing");

    // The track ends; the only track of the station comes round again after a close.
    EXPECT_TRUE(sim::FinishPlayingTracks());
    simulator.RunFrame(controls);
    EXPECT_EQ(simulator.Media().device, "");
    for (int i = 0; i < 4; ++i) {
        simulator.RunFrame(controls);
    }
    EXPECT_EQ(simulator.Media().device, device);
}

TEST_F(SimulatorRun, AConversationLowersTheTrackAndThePauseMenuPausesIt) {
    MakeFile("Trallio/Trallio.ini", "[config]\nduck_dialogue=50\npause_in_menus=True\n");
    std::ostringstream trace;
    Simulator simulator(&trace);
    PickStationOne(simulator);
    controls.keyQ = controls.keyR = false;
    simulator.RunFrame(controls);
    trace.str("");
    controls.conversationPlaying = true;
    simulator.RunFrame(controls);
    EXPECT_NE(trace.str().find("media setaudio \"Trallio\\Radio 1\\only.mp3\" volume to 45"), std::string::npos)
        << trace.str();
    controls.conversationPlaying = false;
    trace.str("");
    // The simulator's clock: one second is 60 frames.
    for (int i = 0; i < 61; ++i) {
        simulator.RunFrame(controls);
    }
    EXPECT_NE(trace.str().find("media setaudio \"Trallio\\Radio 1\\only.mp3\" volume to 90"), std::string::npos);
    controls.pauseMenuOpen = true;
    simulator.RunFrame(controls);
    EXPECT_EQ(simulator.Media().mode, "paused");
    controls.pauseMenuOpen = false;
    simulator.RunFrame(controls);
    EXPECT_EQ(simulator.Media().mode, "playing");
}

TEST_F(SimulatorRun, AFailedOpenShowsInTheMode) {
    fakehost::FailOpen("\"Trallio\\Radio 1\\only.mp3\"");
    Simulator simulator(nullptr);
    PickStationOne(simulator);
    EXPECT_EQ(simulator.Media().mode, "open failed (275)");
}

TEST_F(SimulatorRun, TextsKeepTheirPlaceAndScaleForThisFrameOnly) {
    Simulator simulator(nullptr);
    PickStationOne(simulator);
    simulator.RunFrame(controls);
    const std::vector<sim::HudText>& texts = simulator.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Trallio\\Radio 1\nonly.mp3\n");
    EXPECT_FLOAT_EQ(texts[0].x, 0.51f);
    EXPECT_FLOAT_EQ(texts[0].y, 0.51f);
    EXPECT_FLOAT_EQ(texts[0].scale, 0.36f);
    EXPECT_EQ(texts[1].text, "Vol: 90");
    EXPECT_FLOAT_EQ(texts[1].y, 0.7f);
    EXPECT_FLOAT_EQ(texts[1].scale, 0.56f);

    controls.keyQ = false;  // the wheel closes: nothing is drawn
    simulator.RunFrame(controls);
    EXPECT_TRUE(simulator.Texts().empty());
}

TEST_F(SimulatorRun, WatchSeesOnlyLinesAfterItStarts) {
    Simulator simulator(nullptr);
    controls.onMount = true;
    simulator.RunFrame(controls);
    simulator.Watch("IS_PED_ON_MOUNT");
    EXPECT_FALSE(simulator.WatchSeen());
    simulator.RunFrame(controls);
    EXPECT_TRUE(simulator.WatchSeen());
    simulator.Watch("ANIMPOSTFX_PLAY");
    simulator.RunFrame(controls);
    EXPECT_FALSE(simulator.WatchSeen());
}

}  // namespace
