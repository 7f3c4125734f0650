// The wheel's clicks and volume hold: one click a press, the latch that waits for the button to be
// seen up over a slot, the off, skip and arrow buttons, checked on the exact calls the game sees.
#include "wheel_fixture.h"

namespace {

using namespace wheel_test;

TEST_F(Wheel, OnePressGivesOneClickUntilTheButtonIsSeenUpOverASlot) {
    WheelFrameOn(trallio::Station2, true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(NativeLines("STOP_SOUND_FRONTEND"),
              std::vector<std::string>{"native 0x0F2A2175734926D8 STOP_SOUND_FRONTEND(\"BACK\", \"HUD_SHOP_SOUNDSET\")"});
    EXPECT_EQ(NativeLines("PLAY_SOUND_FRONTEND"),
              std::vector<std::string>{"native 0x67C540AA08E4A6F5 PLAY_SOUND_FRONTEND(\"BACK\", \"HUD_SHOP_SOUNDSET\", 1, 0)"});
    EXPECT_EQ(radio.currentFolder, radio.stationFolders[1]);
    EXPECT_TRUE(radio.clickLatch);

    // Held and moved onto another slot: no click.
    WheelFrameOn(trallio::Station3, true);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(radio.currentFolder, radio.stationFolders[1]);

    // Released away from every slot: the latch stays, so the next press over a slot does not click.
    PointAt(0.01f, 0.01f);
    WheelFrame(false);
    EXPECT_TRUE(radio.clickLatch);
    WheelFrameOn(trallio::Station3, true);
    EXPECT_EQ(Clicks(), 0);

    // Seen up over a slot: the latch clears (the button is asked a second time), then a press clicks.
    WheelFrame(false);
    EXPECT_FALSE(radio.clickLatch);
    EXPECT_EQ(LinesStartingWith("win32 GetKeyState").size(), 2u);
    WheelFrame(true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(radio.currentFolder, radio.stationFolders[2]);
}

TEST_F(Wheel, APressThatBeginsOutsideClicksWhenItEntersASlot) {
    PointAt(0.01f, 0.01f);
    WheelFrame(true);
    EXPECT_EQ(Clicks(), 0);
    WheelFrameOn(trallio::Off, true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_TRUE(radio.stoppedByUser);
}

TEST_F(Wheel, OffAndSkipClicks) {
    // Off while already off: the sound plays and the flags are set again.
    WheelFrameOn(trallio::Off, true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(radio.radioOn);
    EXPECT_TRUE(radio.stoppedByUser);
    WheelFrame(false);

    // Skip with no track: sound, no request.
    WheelFrameOn(trallio::Skip, true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(radio.skipRequested);
    WheelFrame(false);

    // Skip while paused: sound, no request.
    PlayTrack();
    radio.paused = true;
    WheelFrame(true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(radio.skipRequested);
    WheelFrame(false);

    radio.paused = false;
    WheelFrame(true);
    EXPECT_TRUE(radio.skipRequested);
}

TEST_F(Wheel, ArrowPressWithoutATrackClicksOnceAndLeavesTheVolume) {
    WheelFrameOn(trallio::VolumeUp, true);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(radio.volume, 90);
    EXPECT_TRUE(LinesStartingWith("win32 GetAsyncKeyState").empty());
}

TEST_F(Wheel, HeldArrowMovesTheVolumeOneStepPerFrameWithinItsRange) {
    PlayTrack();
    WheelFrameOn(trallio::VolumeUp, true);
    EXPECT_EQ(Clicks(), 2) << "click edge, then the hold";
    EXPECT_EQ(radio.volume, 91);
    EXPECT_EQ(fakehost::Game().texts.back(), "Vol: 91");
    EXPECT_EQ(LinesStartingWith("media "),
              std::vector<std::string>{"media setaudio \"S1\\a.mp3\" volume to 91 -> 263"});
    for (int frame = 0; frame < 420; ++frame) {
        WheelFrame(true);
        ASSERT_EQ(Clicks(), 1);
    }
    EXPECT_EQ(radio.volume, 500);
    EXPECT_EQ(fakehost::Game().texts.back(), "Vol: 500");

    PointAtSlot(trallio::VolumeDown);
    for (int frame = 0; frame < 600; ++frame) {
        WheelFrame(true);
        ASSERT_GE(radio.volume, 0);
    }
    EXPECT_EQ(radio.volume, 0);
    EXPECT_EQ(Clicks(), 1) << "the sound still plays at the end of the range";
    EXPECT_EQ(LinesStartingWith("media "), std::vector<std::string>{"media setaudio \"S1\\a.mp3\" volume to 0 -> 263"});
}

}  // namespace
