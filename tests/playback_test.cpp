// The playback controller's scenarios on real folders, checked on the exact media commands, game
// natives and waits.
#include <algorithm>

#include "playback_fixture.h"

namespace {

using namespace playback_test;

const char kMissingMessage[] = "Directory doesn't exist. Check your directories";

TEST_F(Playback, FirstPassOpensTheFirstTrackSetsItsVolumeAndWatchesIt) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 1/notes.txt");
    const int first = StreamPosition("Trallio\\Radio 1", "a.mp3");
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 1", "a.mp3"));
    EXPECT_EQ(NativeLines("SET_AUDIO_FLAG"),
              std::vector<std::string>{"native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 1)"});
    EXPECT_EQ(fakehost::WaitCount(), first) << "one wait before each entry tested after the first";
    EXPECT_STREQ(radio.currentTrack, "a.mp3");
    EXPECT_TRUE(radio.folderOpen);
    EXPECT_TRUE(radio.trackActive);
    EXPECT_FALSE(radio.stationSwitchPending);

    // Later passes poll once each.
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status("Trallio\\Radio 1", "a.mp3", "playing")});
}

TEST_F(Playback, TracksFollowInTheFoldersOrderAndTheStationLoops) {
    for (const char* name : {"one.mp3", "two.ogg", "three.flac", "cover.jpg"}) {
        MakeFile(std::string("Trallio/Radio 1/") + name);
    }
    const auto tracks = TracksInOrder("Trallio\\Radio 1");
    ASSERT_EQ(tracks.size(), 3u);
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), Start(kRadio1, tracks[0]));
    for (size_t i = 1; i < tracks.size(); ++i) {
        Finish(kRadio1, tracks[i - 1]);
        Pass();
        EXPECT_EQ(Media(), Next(kRadio1, tracks[i - 1], "stopped", tracks[i]));
    }
    // The last track ends: the folder's end is reached and the next pass starts from the top.
    Finish(kRadio1, tracks[2]);
    Pass();
    EXPECT_EQ(Media(), Next(kRadio1, tracks[2], "stopped"));
    EXPECT_TRUE(radio.stationSwitchPending);
    EXPECT_FALSE(radio.trackActive);
    Pass();
    EXPECT_EQ(Media(), Start(kRadio1, tracks[0]));
    EXPECT_EQ(fakehost::DoubleOpens(), 0);
}

TEST_F(Playback, AOneTrackFolderPlaysItAgainAndAgain) {
    MakeFile("Trallio/Radio 1/only.wav");
    Choose(0);
    Pass();
    for (int round = 0; round < 3; ++round) {
        Finish(kRadio1, "only.wav");
        Pass();
        EXPECT_EQ(Media(), Next(kRadio1, "only.wav", "stopped"));
        Pass();
        EXPECT_EQ(Media(), Start(kRadio1, "only.wav"));
    }
}

TEST_F(Playback, SkipOnTheLastTrackReachesTheEndAndStartsTheFirstNext) {
    const auto tracks = TwoTracks();
    Choose(0);
    Pass();
    radio.skipRequested = true;
    Pass();
    EXPECT_EQ(Media(), Next(kRadio1, tracks[0], "playing", tracks[1]));
    EXPECT_FALSE(radio.skipRequested);
    radio.skipRequested = true;
    Pass();
    EXPECT_EQ(Media(), Next(kRadio1, tracks[1], "playing"));
    EXPECT_FALSE(radio.skipRequested);
    EXPECT_TRUE(radio.stationSwitchPending);
    Pass();
    EXPECT_EQ(Media(), Start(kRadio1, tracks[0]));
}

TEST_F(Playback, ChoosingTheCurrentStationRightAfterItsEndLeavesTheRadioSilent) {
    PlayRadioOne(true);
    Finish("Trallio\\Radio 1", "a.mp3");
    Pass();
    EXPECT_TRUE(radio.stationSwitchPending);
    Choose(0);
    EXPECT_FALSE(radio.stationSwitchPending);
    for (int i = 0; i < 3; ++i) {
        Pass();
        EXPECT_TRUE(Media().empty());
    }
    Choose(1);
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 2", "b.mp3"));
}

TEST_F(Playback, SwitchingStationClosesTheOldTrackAndPlaysTheNewFolderFromItsStart) {
    PlayRadioOne(true);
    fakehost::ClearEvents();
    Choose(1);
    EXPECT_EQ(Media(), std::vector<std::string>{Close("Trallio\\Radio 1", "a.mp3")});
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 2", "b.mp3"));
    // Choosing it again restarts nothing.
    fakehost::ClearEvents();
    Choose(1);
    EXPECT_TRUE(Media().empty());
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status("Trallio\\Radio 2", "b.mp3", "playing")});
}

TEST_F(Playback, TwoStationsNamingTheSameFolderAreDifferentStations) {
    MakeFile("Music/a.mp3");
    char first[] = "Music";
    char second[] = "Music";
    radio.stationFolders[0] = first;
    radio.stationFolders[1] = second;
    Choose(0);
    Pass();
    fakehost::ClearEvents();
    Choose(1);
    EXPECT_EQ(Media(), std::vector<std::string>{Close("Music", "a.mp3")});
    Pass();
    EXPECT_EQ(Media(), Start("Music", "a.mp3"));
}

TEST_F(Playback, RadioOffPausesAndOnResumes) {
    PlayRadioOne();
    radio.radioOn = false;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(kRadio1, "a.mp3", "playing"), "media pause " + Quoted(kRadio1, "a.mp3")}));
    EXPECT_EQ(NativeLines("SET_AUDIO_FLAG"),
              std::vector<std::string>{"native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)"});
    EXPECT_TRUE(radio.paused);
    Pass();
    EXPECT_TRUE(Media().empty()) << "a paused track is not asked again";
    radio.radioOn = true;
    radio.stoppedByUser = true;
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{"media resume " + Quoted(kRadio1, "a.mp3") + " notify"});
    EXPECT_FALSE(radio.paused);
    EXPECT_FALSE(radio.stoppedByUser);
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status(kRadio1, "a.mp3", "playing")});
}

TEST_F(Playback, ATrackThatHasStoppedIsNotPaused) {
    PlayRadioOne();
    Finish("Trallio\\Radio 1", "a.mp3");
    radio.radioOn = false;
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status("Trallio\\Radio 1", "a.mp3", "stopped")});
    EXPECT_FALSE(radio.paused);
    // Back on: the watch step moves past the finished track.
    radio.radioOn = true;
    Pass();
    EXPECT_EQ(Media(), Next("Trallio\\Radio 1", "a.mp3", "stopped"));
}

TEST_F(Playback, ChoosingAStationWhilePausedResumesTheOldNameUnderTheNewFolder) {
    PlayRadioOne(true);
    radio.radioOn = false;
    Pass();
    ASSERT_TRUE(radio.paused);
    fakehost::ClearEvents();
    Choose(1);
    EXPECT_EQ(Media(), std::vector<std::string>{Close("Trallio\\Radio 1", "a.mp3")});
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{"media resume " + Quoted("Trallio\\Radio 2", "a.mp3") + " notify -> 263"});
    EXPECT_FALSE(radio.paused);
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 2", "b.mp3"));
}

TEST_F(Playback, RadioOffBeforeAnyTrackPausesNothing) {
    for (int i = 0; i < 3; ++i) {
        Pass();
        EXPECT_TRUE(Media().empty());
        EXPECT_EQ(NativeLines("SET_AUDIO_FLAG"),
                  std::vector<std::string>{"native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)"});
    }
    EXPECT_FALSE(radio.paused);
}

TEST_F(Playback, AMissingFolderShowsItsMessageOnEveryPass) {
    Choose(2);
    for (int i = 0; i < 3; ++i) {
        Pass();
        EXPECT_TRUE(Media().empty());
        const auto natives = LinesStartingWith("native ");
        ASSERT_EQ(natives.size(), 5u);
        EXPECT_EQ(natives[1], std::string("native 0xFA925AC00EB830B9 CREATE_VAR_STRING(10, \"LITERAL_STRING\", \"") +
                                  kMissingMessage + "\")");
        EXPECT_EQ(natives[2].substr(0, 46), "native 0xFA233F8FE190514C MESSAGE_LOG_ADD(0x54");
        EXPECT_EQ(natives[3], "native 0xE9990552DEC71600 MESSAGE_LOG_SHOW()");
        EXPECT_EQ(natives[4], "native 0xDFF0D417277B41F8 MESSAGE_LOG_CLEAR()");
        EXPECT_EQ(fakehost::Game().lastMessage, kMissingMessage);
        EXPECT_TRUE(radio.stationSwitchPending);
        EXPECT_EQ(radio.folderStream, nullptr);
    }
    // The folder appears: the next pass plays it.
    MakeFile("Trallio/Radio 3/late.ogg");
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 3", "late.ogg"));
}

TEST_F(Playback, AFileOrAnEmptyTextIsNoFolder) {
    MakeFile("Trallio/Radio 1");
    Choose(0);
    Pass();
    EXPECT_EQ(fakehost::Game().messagesShown, 1);
    char empty[] = "";
    radio.stationFolders[1] = empty;
    Choose(1);
    EXPECT_NE(radio.currentFolder, trallio::emptyText);
    Pass();
    EXPECT_EQ(fakehost::Game().messagesShown, 2);
    trallio::SelectStation(nullptr);
    EXPECT_EQ(fakehost::Game().lastMessage, "Directory doesn't exist");
    EXPECT_EQ(radio.currentFolder, radio.stationFolders[1]);
}

TEST_F(Playback, AFolderWithoutTracksStaysSilentAndIsScannedAgain) {
    MakeFile("Trallio/Radio 1/readme.txt");
    MakeFile("Trallio/Radio 1/Song.MP3");
    Choose(0);
    Pass();
    const int waitsPerScan = fakehost::WaitCount();
    EXPECT_EQ(waitsPerScan, 3) << "four entries: the first without a wait";
    EXPECT_TRUE(Media().empty());
    EXPECT_EQ(fakehost::Game().messagesShown, 0);
    Pass();
    EXPECT_EQ(fakehost::WaitCount(), 2 * waitsPerScan);
}

TEST_F(Playback, EveryEntryPassedOverCostsOneWait) {
    for (int i = 0; i < 20; ++i) {
        MakeFile("Trallio/Radio 1/file" + std::to_string(i) + ".txt");
    }
    MakeFile("Trallio/Radio 1/z.aac");
    const int index = StreamPosition("Trallio\\Radio 1", "z.aac");
    Choose(0);
    Pass();
    EXPECT_EQ(fakehost::WaitCount(), index);
    EXPECT_EQ(Media(), Start("Trallio\\Radio 1", "z.aac"));
    // The waits fall between entries, before any media command.
    const auto lines = fakehost::Lines();
    const auto firstMedia = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("media ", 0) == 0; });
    EXPECT_EQ(std::count(lines.begin(), firstMedia, "wait 0"), index);
}

TEST_F(Playback, ASubFolderNamedLikeATrackIsHandedOnAsOne) {
    MakeFolder("Trallio/Radio 1/live.wav");
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), Start("Trallio\\Radio 1", "live.wav"));
}

TEST_F(Playback, TheTrackNameOutlivesTheStreamItCameFrom) {
    PlayRadioOne();
    Finish("Trallio\\Radio 1", "a.mp3");
    Pass();  // folder end: the stream has reported its end, currentTrack still names the last entry read
    const std::string lastRead = radio.currentTrack;
    Choose(1);  // a missing folder: the scan closes the old stream and opens none
    Pass();
    EXPECT_EQ(radio.folderStream, nullptr);
    EXPECT_NE(radio.currentTrack, trallio::emptyText);
    EXPECT_EQ(std::string(radio.currentTrack), lastRead);
    // The name still serves the pause step and the station switch.
    radio.radioOn = false;
    fakehost::ClearEvents();
    trallio::UpdatePlayback();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status("Trallio\\Radio 2", lastRead, "") + " -> 263",
                                                 "media pause " + Quoted("Trallio\\Radio 2", lastRead) + " -> 263"}));
}

TEST_F(Playback, SkipWithNoStreamBehavesAsTheFoldersEnd) {
    PlayRadioOne();
    Choose(1);  // missing: the scan fails and leaves no stream
    Pass();
    Choose(1);  // chosen again: the pending restart is cancelled, the old track is still watched
    EXPECT_FALSE(radio.stationSwitchPending);
    radio.skipRequested = true;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status("Trallio\\Radio 2", "a.mp3", "") + " -> 263",
                                                 Close("Trallio\\Radio 2", "a.mp3") + " -> 263"}));
    EXPECT_TRUE(radio.stationSwitchPending);
    EXPECT_FALSE(radio.trackActive);
    EXPECT_FALSE(radio.skipRequested);
}

}  // namespace
