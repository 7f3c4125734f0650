// The real main loop on its own script thread, so that the folder walk's waits really span
// frames: a station of 10,000 entries walked while the player keeps switching stations.

#include "host/script.h"
#include "playback/radio_state.h"
#include "stream_order.h"
#include "support.h"
#include "wheel/layout.h"
#include "wheel_points.h"

namespace {

using namespace testing_support;

class Walk : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        fakehost::World& w = fakehost::GetWorld();
        w.onMount = true;
        w.dictionariesLoadAtOnce = true;
        fakehost::StartScript(&trallio::ScriptEntry);
    }
    void TearDown() override {
        fakehost::StopScript();
        RadioTest::TearDown();
    }
    void RunFrame() {
        fakehost::ClearEvents();
        ASSERT_TRUE(fakehost::RunFrame());
    }
    // Holds Q and R (the wheel centres the cursor on the frame it opens), then presses over a slot.
    void Click(int slot) {
        fakehost::World& w = fakehost::GetWorld();
        if (!w.keyQ) {
            w.keyQ = w.keyR = true;
            RunFrame();
        }
        fakehost::PointCursorAt(fakehost::SlotCentre(slot).x, fakehost::SlotCentre(slot).y);
        w.leftButton = true;
        // A press made while a folder walk holds the script is seen on the first frame the wheel
        // runs again.
        for (int frame = 0; frame < 20000; ++frame) {
            RunFrame();
            if (!testing_support::NativeLines("PLAY_SOUND_FRONTEND").empty()) {
                return;
            }
        }
        FAIL() << "the click never came through";
    }
    // Lets the button go over the slot, on a frame the wheel sees it, then lets the keys go.
    void Release() {
        fakehost::World& w = fakehost::GetWorld();
        w.leftButton = false;
        do {
            RunFrame();
        } while (testing_support::NativeLines("DRAW_SPRITE").empty());
        w.keyQ = w.keyR = false;
    }
    bool FrameTicked() { return !testing_support::NativeLines("PLAYER_PED_ID").empty(); }
};

TEST_F(Walk, TenThousandEntriesSpreadOverFramesWhileStationsSwitch) {
    for (int i = 0; i < 10000; ++i) {
        MakeFile("Trallio/Radio 1/junk" + std::to_string(i) + ".txt", "");
    }
    MakeFile("Trallio/Radio 1/tune.mp3");
    MakeFile("Trallio/Radio 2/a.mp3");
    MakeFile("Trallio/Radio 2/b.mp3");

    const int tunePosition = StreamPosition("Trallio/Radio 1", "tune.mp3");

    RunFrame();  // settings, first frame
    for (int round = 0; round < 3; ++round) {
        Click(trallio::Station1);
        // The walk holds the script: frames go by with nothing but the wait, until the track opens.
        int walkingFrames = 0;
        while (LinesStartingWith("media open").empty()) {
            RunFrame();
            ASSERT_FALSE(FrameTicked()) << "frame " << walkingFrames << " of the walk";
            ++walkingFrames;
            ASSERT_LE(walkingFrames, tunePosition);
        }
        EXPECT_EQ(walkingFrames, tunePosition) << "one frame per entry passed over";
        EXPECT_EQ(LinesStartingWith("media open"),
                  std::vector<std::string>{"media open \"Trallio\\Radio 1\\tune.mp3\" type MPEGVideo"});
        EXPECT_STREQ(radio.currentTrack, "tune.mp3");
        Release();
        EXPECT_TRUE(FrameTicked()) << "after the walk the frame driver runs again";

        Click(trallio::Station2);
        ASSERT_FALSE(LinesStartingWith("media close").empty());
        EXPECT_EQ(LinesStartingWith("media close").front(), "media close \"Trallio\\Radio 1\\tune.mp3\"");
        Release();
        // Let station 2 play through once: both tracks, then the loop back.
        for (int track = 0; track < 3; ++track) {
            fakehost::FinishAllTracks();
            RunFrame();
            RunFrame();
        }
        EXPECT_EQ(radio.currentFolder, radio.stationFolders[1]);
        EXPECT_EQ(fakehost::DoubleOpens(), 0);
    }
    EXPECT_LE(fakehost::OpenDeviceCount(), 1);
}

TEST_F(Walk, SwitchingToAMissingFolderKeepsTheLastNameReadable) {
    MakeFile("Trallio/Radio 1/a.mp3");
    RunFrame();
    Click(trallio::Station1);
    Release();
    fakehost::FinishAllTracks();
    RunFrame();  // the folder's end: the stream has ended, the name is its last entry
    Click(trallio::Station3);
    Release();
    EXPECT_EQ(radio.folderStream, nullptr);
    EXPECT_NE(radio.currentTrack, trallio::emptyText);
    // The wheel shows and sends the kept name.
    fakehost::GetWorld().keyQ = fakehost::GetWorld().keyR = true;
    RunFrame();
    ASSERT_FALSE(fakehost::Game().texts.empty());
    EXPECT_EQ(fakehost::Game().texts[0], std::string("Trallio\\Radio 3\n") + radio.currentTrack + "\n");
    EXPECT_EQ(fakehost::Game().lastMessage, "Directory doesn't exist. Check your directories");
}

}  // namespace
