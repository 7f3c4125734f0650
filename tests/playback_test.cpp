// The playback controller's scenarios on real folders, checked on the exact media commands, game
// natives and waits.
#include <algorithm>

#include "playback/audio_filter.h"
#include "platform/dir_stream.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"

namespace {

using testing_support::CountNatives;
using testing_support::LinesStartingWith;
using testing_support::NativeLines;
using testing_support::Quoted;
using trallio::radio;

const char kMissingMessage[] = "Directory doesn't exist. Check your directories";

class Playback : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        radio.stationFolders[0] = "Trallio\\Radio 1";
        radio.stationFolders[1] = "Trallio\\Radio 2";
        radio.stationFolders[2] = "Trallio\\Radio 3";
    }

    // The names of a folder in the order the radio's stream gives them.
    std::vector<std::string> StreamOrder(const char* folder) {
        std::vector<std::string> names;
        trallio::DIR* stream = trallio::opendir(folder);
        EXPECT_NE(stream, nullptr);
        while (trallio::dirent* entry = trallio::readdir(stream)) {
            names.push_back(entry->d_name);
        }
        trallio::closedir(stream);
        return names;
    }
    std::vector<std::string> TracksInOrder(const char* folder) {
        std::vector<std::string> tracks;
        for (const std::string& name : StreamOrder(folder)) {
            if (trallio::IsAudioFile(name.c_str())) {
                tracks.push_back(name);
            }
        }
        return tracks;
    }

    // A pass as the frame driver makes it, with only that pass's events recorded.
    void Pass() {
        fakehost::ClearEvents();
        trallio::UpdatePlayback();
    }
    void Choose(int station) {
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[station]);
    }
    std::vector<std::string> Media() { return LinesStartingWith("media "); }

    static std::string Open(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Open(Quoted(folder, track));
    }
    static std::string Play(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Play(Quoted(folder, track));
    }
    static std::string Volume(const std::string& folder, const std::string& track, int volume = 90) {
        return "media " + media_commands::Volume(Quoted(folder, track), volume);
    }
    static std::string Status(const std::string& folder, const std::string& track, const std::string& mode) {
        return "media " + media_commands::Status(Quoted(folder, track)) + " [reply 64] = \"" + mode + "\"";
    }
    static std::string Close(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Close(Quoted(folder, track));
    }
    static std::vector<std::string> Start(const std::string& folder, const std::string& track) {
        return {Open(folder, track), Play(folder, track), Volume(folder, track), Status(folder, track, "playing")};
    }
    static void Finish(const std::string& folder, const std::string& track) {
        fakehost::FinishTrack(Quoted(folder, track));
    }
};

TEST_F(Playback, FirstPassOpensTheFirstTrackSetsItsVolumeAndWatchesIt) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 1/notes.txt");
    const auto order = StreamOrder("Trallio\\Radio 1");
    const auto first = std::find(order.begin(), order.end(), "a.mp3") - order.begin();
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
    const std::string folder = "Trallio\\Radio 1";
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), Start(folder, tracks[0]));
    for (size_t i = 1; i < tracks.size(); ++i) {
        Finish(folder, tracks[i - 1]);
        Pass();
        EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, tracks[i - 1], "stopped"), Close(folder, tracks[i - 1]),
                                                     Open(folder, tracks[i]), Play(folder, tracks[i]), Volume(folder, tracks[i])}));
    }
    // The last track ends: the folder's end is reached and the next pass starts from the top.
    Finish(folder, tracks[2]);
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, tracks[2], "stopped"), Close(folder, tracks[2])}));
    EXPECT_TRUE(radio.stationSwitchPending);
    EXPECT_FALSE(radio.trackActive);
    Pass();
    EXPECT_EQ(Media(), Start(folder, tracks[0]));
    EXPECT_EQ(fakehost::DoubleOpens(), 0);
}

TEST_F(Playback, AOneTrackFolderPlaysItAgainAndAgain) {
    MakeFile("Trallio/Radio 1/only.wav");
    const std::string folder = "Trallio\\Radio 1";
    Choose(0);
    Pass();
    for (int round = 0; round < 3; ++round) {
        Finish(folder, "only.wav");
        Pass();
        EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, "only.wav", "stopped"), Close(folder, "only.wav")}));
        Pass();
        EXPECT_EQ(Media(), Start(folder, "only.wav"));
    }
}

TEST_F(Playback, SkipOnTheLastTrackReachesTheEndAndStartsTheFirstNext) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 1/b.mp3");
    const auto tracks = TracksInOrder("Trallio\\Radio 1");
    const std::string folder = "Trallio\\Radio 1";
    Choose(0);
    Pass();
    radio.skipRequested = true;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, tracks[0], "playing"), Close(folder, tracks[0]),
                                                 Open(folder, tracks[1]), Play(folder, tracks[1]), Volume(folder, tracks[1])}));
    EXPECT_FALSE(radio.skipRequested);
    radio.skipRequested = true;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, tracks[1], "playing"), Close(folder, tracks[1])}));
    EXPECT_FALSE(radio.skipRequested);
    EXPECT_TRUE(radio.stationSwitchPending);
    Pass();
    EXPECT_EQ(Media(), Start(folder, tracks[0]));
}

TEST_F(Playback, ChoosingTheCurrentStationRightAfterItsEndLeavesTheRadioSilent) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 2/b.mp3");
    Choose(0);
    Pass();
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
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 2/b.mp3");
    Choose(0);
    Pass();
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
    MakeFile("Trallio/Radio 1/a.mp3");
    const std::string folder = "Trallio\\Radio 1";
    Choose(0);
    Pass();
    radio.radioOn = false;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, "a.mp3", "playing"), "media pause " + Quoted(folder, "a.mp3")}));
    EXPECT_EQ(NativeLines("SET_AUDIO_FLAG"),
              std::vector<std::string>{"native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)"});
    EXPECT_TRUE(radio.paused);
    Pass();
    EXPECT_TRUE(Media().empty()) << "a paused track is not asked again";
    radio.radioOn = true;
    radio.stoppedByUser = true;
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{"media resume " + Quoted(folder, "a.mp3") + " notify"});
    EXPECT_FALSE(radio.paused);
    EXPECT_FALSE(radio.stoppedByUser);
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status(folder, "a.mp3", "playing")});
}

TEST_F(Playback, ATrackThatHasStoppedIsNotPaused) {
    MakeFile("Trallio/Radio 1/a.mp3");
    Choose(0);
    Pass();
    Finish("Trallio\\Radio 1", "a.mp3");
    radio.radioOn = false;
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status("Trallio\\Radio 1", "a.mp3", "stopped")});
    EXPECT_FALSE(radio.paused);
    // Back on: the watch step moves past the finished track.
    radio.radioOn = true;
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status("Trallio\\Radio 1", "a.mp3", "stopped"), Close("Trallio\\Radio 1", "a.mp3")}));
}

TEST_F(Playback, ChoosingAStationWhilePausedResumesTheOldNameUnderTheNewFolder) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 2/b.mp3");
    Choose(0);
    Pass();
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
    const auto order = StreamOrder("Trallio\\Radio 1");
    const auto index = std::find(order.begin(), order.end(), "z.aac") - order.begin();
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
    MakeFile("Trallio/Radio 1/a.mp3");
    Choose(0);
    Pass();
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
    MakeFile("Trallio/Radio 1/a.mp3");
    Choose(0);
    Pass();
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

TEST_F(Playback, AnUnopenableTrackCountsAsFinishedAndTheNextOneOpensInTheSameFrame) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 1/b.mp3");
    const auto tracks = TracksInOrder("Trallio\\Radio 1");
    const std::string folder = "Trallio\\Radio 1";
    fakehost::FailOpen(Quoted(folder, tracks[0]));
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Open(folder, tracks[0]) + " -> 275", Close(folder, tracks[0]) + " -> 263",
                                                 Open(folder, tracks[1]), Play(folder, tracks[1]), Volume(folder, tracks[1])}));
    // The two tracks are the folder's only files: no entry, and so no wait, lies between them.
    const auto order = StreamOrder(folder.c_str());
    const auto second = std::find(order.begin(), order.end(), tracks[1]) - order.begin();
    ASSERT_EQ(order[second - 1], tracks[0]);
    EXPECT_EQ(fakehost::WaitCount(), second - 1) << "no wait between the refused track and the next";
    // The accepted track is watched as any other, and at its end the refused one is passed again.
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status(folder, tracks[1], "playing")});
    Finish(folder, tracks[1]);
    Pass();
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Open(folder, tracks[0]) + " -> 275", Close(folder, tracks[0]) + " -> 263",
                                                 Open(folder, tracks[1]), Play(folder, tracks[1]), Volume(folder, tracks[1])}));
}

TEST_F(Playback, ARefusedStatusCountsAsFinished) {
    MakeFile("Trallio/Radio 1/a.mp3");
    MakeFile("Trallio/Radio 1/b.mp3");
    const auto tracks = TracksInOrder("Trallio\\Radio 1");
    const std::string folder = "Trallio\\Radio 1";
    Choose(0);
    Pass();
    fakehost::DropDevice(Quoted(folder, tracks[0]));
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(folder, tracks[0], "") + " -> 263", Close(folder, tracks[0]) + " -> 263",
                                                 Open(folder, tracks[1]), Play(folder, tracks[1]), Volume(folder, tracks[1])}));
}

// Folders of `files` audio files of which the ones in `refused` (places in listing order) are
// refused, walked until a track plays: frame by frame (a wait ends a frame, and so does a pass),
// no frame sends more than two opens, and a frame that opened fewer and ended on a refused file
// goes on walking the folder in a wait. No refused file is ever polled.
TEST_F(Playback, RefusedFilesArePassedOverAtMostTwoOpensAFrame) {
    struct Case {
        int files;
        std::vector<int> refused;
    };
    const Case cases[] = {{3, {0, 1}}, {4, {0, 1, 2}}, {5, {0, 1, 2, 3}}, {4, {1, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        TearDown();
        SetUp();
        for (int i = 0; i < c.files; ++i) {
            MakeFile("Trallio/Radio 1/t" + std::to_string(i) + ".mp3");
        }
        const std::string folder = "Trallio\\Radio 1";
        const auto tracks = TracksInOrder(folder.c_str());
        for (int i : c.refused) {
            fakehost::FailOpen(Quoted(folder, tracks[i]));
        }
        // Every file up to the one after the last refused, each opened once.
        std::vector<std::string> expected;
        for (int i = 0; i <= c.refused.back() + 1; ++i) {
            const bool refused = std::find(c.refused.begin(), c.refused.end(), i) != c.refused.end();
            expected.push_back(Open(folder, tracks[i]) + (refused ? " -> 275" : ""));
        }
        Choose(0);
        std::vector<std::string> opened;
        for (int pass = 0; pass < 20 && opened.size() < expected.size(); ++pass) {
            if (pass == 1 && c.refused.front() != 0) {
                Finish(folder, tracks[0]);
            }
            Pass();
            int opens = 0;
            bool lastRefused = false;
            for (const std::string& line : LinesStartingWith("")) {
                if (line.rfind("wait", 0) == 0) {
                    opens = 0;
                    lastRefused = false;
                } else if (line.rfind("media open ", 0) == 0) {
                    ++opens;
                    EXPECT_LE(opens, 2) << line;
                    lastRefused = line.size() > 7 && line.compare(line.size() - 7, 7, " -> 275") == 0;
                    opened.push_back(line);
                } else if (line.rfind("media status ", 0) == 0) {
                    EXPECT_EQ(line.find(" -> "), std::string::npos) << "a refused track is never polled";
                }
            }
            if (lastRefused && opens < 2) {
                ADD_FAILURE() << "a pass ended on a refused file with an open to spare";
            }
        }
        EXPECT_EQ(opened, expected);
        EXPECT_EQ(fakehost::OpenDeviceCount(), 1);
        EXPECT_FALSE(radio.refusals.stationRefused);
    }
}

// Every file refused, by its open or (opened, then never answering) by its status query.
TEST_F(Playback, AStationWhoseEveryFileIsRefusedSaysSoOnceAndWaitsToBeChosenAgain) {
    for (const bool byStatus : {false, true}) {
        SCOPED_TRACE(byStatus ? "status refused" : "open refused");
        TearDown();
        SetUp();
        const std::string folder = "Trallio\\Radio 1";
        const char message[] = "No track in Trallio\\Radio 1 would play. Run TrallioCheck.exe";
        const char messageAsTraced[] = "No track in Trallio\\\\Radio 1 would play. Run TrallioCheck.exe";
        MakeFile("Trallio/Radio 1/a.mp3");
        MakeFile("Trallio/Radio 1/b.ogg");
        MakeFile("Trallio/Radio 1/c.wav");
        MakeFile("Trallio/Radio 1/notes.txt");
        for (const std::string& track : TracksInOrder(folder.c_str())) {
            if (byStatus) {
                fakehost::RefuseStatus(Quoted(folder, track));
            } else {
                fakehost::FailOpen(Quoted(folder, track));
            }
        }
        for (int round = 0; round < 2; ++round) {
            Choose(0);  // the second round: the same station chosen again
            int opens = 0;
            int messages = 0;
            for (int frame = 0; frame < 1000; ++frame) {
                Pass();
                for (const std::string& line : Media()) {
                    opens += line.rfind("media open ", 0) == 0 ? 1 : 0;
                }
                if (CountNatives("MESSAGE_LOG_SHOW") != 0) {
                    ++messages;
                    const auto natives = LinesStartingWith("native ");
                    const auto add = std::find(natives.begin(), natives.end(),
                                               std::string("native 0xFA925AC00EB830B9 CREATE_VAR_STRING(10, \"LITERAL_STRING\", \"") +
                                                   messageAsTraced + "\")");
                    ASSERT_NE(add, natives.end());
                    ASSERT_EQ(natives.end() - add, 4);
                    EXPECT_EQ(add[1].substr(0, 46), "native 0xFA233F8FE190514C MESSAGE_LOG_ADD(0x54");
                    EXPECT_EQ(add[2], "native 0xE9990552DEC71600 MESSAGE_LOG_SHOW()");
                    EXPECT_EQ(add[3], "native 0xDFF0D417277B41F8 MESSAGE_LOG_CLEAR()");
                }
            }
            EXPECT_EQ(opens, 3) << "one walk of the folder, then silence";
            EXPECT_EQ(messages, 1);
            EXPECT_EQ(fakehost::Game().lastMessage, message);
            EXPECT_TRUE(radio.refusals.stationRefused);
            EXPECT_EQ(fakehost::OpenDeviceCount(), 0) << "every refused file is closed";
        }
        // Another station plays as usual.
        MakeFile("Trallio/Radio 2/good.mp3");
        Choose(1);
        Pass();
        EXPECT_EQ(Media(), Start("Trallio\\Radio 2", "good.mp3"));
        EXPECT_FALSE(radio.refusals.stationRefused);
    }
}

}  // namespace
