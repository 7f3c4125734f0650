// The playback controller's answer to files the media service refuses: a track that does not open
// or stops answering is passed over, a few a frame, and a station of nothing but such files says so
// once. Checked on the exact media commands, game natives and waits.
#include <algorithm>

#include "playback_fixture.h"

namespace {

using namespace playback_test;

TEST_F(Playback, AnUnopenableTrackCountsAsFinishedAndTheNextOneOpensInTheSameFrame) {
    const auto tracks = TwoTracks();
    fakehost::FailOpen(Quoted(kRadio1, tracks[0]));
    Choose(0);
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Open(kRadio1, tracks[0]) + " -> 275", Close(kRadio1, tracks[0]) + " -> 263",
                                                 Open(kRadio1, tracks[1]), Play(kRadio1, tracks[1]), Volume(kRadio1, tracks[1])}));
    // The two tracks are the folder's only files: no entry, and so no wait, lies between them.
    const auto order = StreamOrder(kRadio1.c_str());
    const auto second = std::find(order.begin(), order.end(), tracks[1]) - order.begin();
    ASSERT_EQ(order[second - 1], tracks[0]);
    EXPECT_EQ(fakehost::WaitCount(), second - 1) << "no wait between the refused track and the next";
    // The accepted track is watched as any other, and at its end the refused one is passed again.
    Pass();
    EXPECT_EQ(Media(), std::vector<std::string>{Status(kRadio1, tracks[1], "playing")});
    Finish(kRadio1, tracks[1]);
    Pass();
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Open(kRadio1, tracks[0]) + " -> 275", Close(kRadio1, tracks[0]) + " -> 263",
                                                 Open(kRadio1, tracks[1]), Play(kRadio1, tracks[1]), Volume(kRadio1, tracks[1])}));
}

TEST_F(Playback, ARefusedStatusCountsAsFinished) {
    const auto tracks = TwoTracks();
    Choose(0);
    Pass();
    fakehost::DropDevice(Quoted(kRadio1, tracks[0]));
    Pass();
    EXPECT_EQ(Media(), (std::vector<std::string>{Status(kRadio1, tracks[0], "") + " -> 263", Close(kRadio1, tracks[0]) + " -> 263",
                                                 Open(kRadio1, tracks[1]), Play(kRadio1, tracks[1]), Volume(kRadio1, tracks[1])}));
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
        const auto tracks = TracksInOrder(kRadio1.c_str());
        for (int i : c.refused) {
            fakehost::FailOpen(Quoted(kRadio1, tracks[i]));
        }
        // Every file up to the one after the last refused, each opened once.
        std::vector<std::string> expected;
        for (int i = 0; i <= c.refused.back() + 1; ++i) {
            const bool refused = std::find(c.refused.begin(), c.refused.end(), i) != c.refused.end();
            expected.push_back(Open(kRadio1, tracks[i]) + (refused ? " -> 275" : ""));
        }
        Choose(0);
        std::vector<std::string> opened;
        for (int pass = 0; pass < 20 && opened.size() < expected.size(); ++pass) {
            if (pass == 1 && c.refused.front() != 0) {
                Finish(kRadio1, tracks[0]);
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
        const char message[] = "No track in Trallio\\Radio 1 would play. Run TrallioCheck.exe";
        const char messageAsTraced[] = "No track in Trallio\\\\Radio 1 would play. Run TrallioCheck.exe";
        MakeFile("Trallio/Radio 1/a.mp3");
        MakeFile("Trallio/Radio 1/b.ogg");
        MakeFile("Trallio/Radio 1/c.wav");
        MakeFile("Trallio/Radio 1/notes.txt");
        for (const std::string& track : TracksInOrder(kRadio1.c_str())) {
            if (byStatus) {
                fakehost::RefuseStatus(Quoted(kRadio1, track));
            } else {
                fakehost::FailOpen(Quoted(kRadio1, track));
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
