// Name and shuffle order on real folders through the playback controller and the fake media
// service: the tracks each loop plays, read from the open commands.
#include <set>

#include "playback/play_order.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"

namespace {

using namespace testing_support;
using trallio::PlayOrder;

const char kFolder[] = "Trallio\\Radio 1";

class PlayOrderTest : public testing_support::RadioTest {
protected:
    void Start(PlayOrder order) {
        radio.config.playOrder = order;
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
    }
    // Passes until `count` tracks have been opened, each finished as soon as it plays.
    std::vector<std::string> PlayTracks(size_t count) {
        std::vector<std::string> played;
        for (int pass = 0; played.size() < count && pass < 10 * static_cast<int>(count) + 10; ++pass) {
            fakehost::ClearEvents();
            trallio::UpdatePlayback();
            for (const std::string& line : LinesStartingWith("media open ")) {
                played.push_back(radio.currentTrack);
                EXPECT_EQ(line, "media open " + Quoted(kFolder, radio.currentTrack) + " type MPEGVideo");
            }
            if (radio.trackActive) {
                fakehost::FinishTrack(Quoted(kFolder, radio.currentTrack));
            }
        }
        return played;
    }
};

TEST(PlayOrderSetting, ValuesInAnyCaseAndAnythingElseIsFolder) {
    const struct {
        const char* value;
        PlayOrder order;
    } cases[] = {{"folder", PlayOrder::kFolder}, {"name", PlayOrder::kName},      {"NAME", PlayOrder::kName},
                 {"Shuffle", PlayOrder::kShuffle}, {"sHuFfLe", PlayOrder::kShuffle}, {"", PlayOrder::kFolder},
                 {"random", PlayOrder::kFolder}, {"names", PlayOrder::kFolder},   {"shuffle ", PlayOrder::kFolder}};
    for (const auto& c : cases) {
        EXPECT_EQ(trallio::ParsePlayOrder(c.value), c.order) << c.value;
    }
}

TEST(PlayOrderSetting, NaturalNameComparison) {
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {{"2 x.mp3", "10 x.mp3", -1}, {"a.ogg", "B.ogg", -1}, {"b.ogg", "A.ogg", 1},
                 {"B.ogg", "b.ogg", -1},     {"track 007", "track 7", -1}, {"x9", "x10", -1},
                 {"abc", "abcd", -1},        {"same", "same", 0},          {"1 a.mp3", "a.ogg", -1}};
    for (const auto& c : cases) {
        const int result = trallio::CompareNames(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ((trallio::CompareNames(c.b, c.a) > 0) - (trallio::CompareNames(c.b, c.a) < 0), -c.sign);
    }
}

TEST_F(PlayOrderTest, NameOrderIsNaturalAndCaseInsensitiveAndLoops) {
    for (const char* name : {"10 c.mp3", "B.ogg", "2 b.mp3", "a.ogg", "1 a.mp3", "cover.jpg"}) {
        MakeFile(std::string("Trallio/Radio 1/") + name);
    }
    Start(PlayOrder::kName);
    const std::vector<std::string> expected = {"1 a.mp3", "2 b.mp3", "10 c.mp3", "a.ogg", "B.ogg"};
    std::vector<std::string> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(PlayTracks(10), twice);
}

TEST_F(PlayOrderTest, ShuffleIsAPermutationPerLoopWithoutARepeatAcrossLoops) {
    constexpr int kTracks = 20;
    constexpr int kLoops = 50;
    std::set<std::string> all;
    for (int i = 0; i < kTracks; ++i) {
        const std::string name = "t" + std::to_string(i) + ".mp3";
        MakeFile("Trallio/Radio 1/" + name);
        all.insert(name);
    }
    trallio::SeedShuffle(12345);
    Start(PlayOrder::kShuffle);
    const std::vector<std::string> played = PlayTracks(kTracks * kLoops);
    ASSERT_EQ(played.size(), static_cast<size_t>(kTracks * kLoops));
    std::set<std::vector<std::string>> orders;
    for (int loop = 0; loop < kLoops; ++loop) {
        const std::vector<std::string> order(played.begin() + loop * kTracks, played.begin() + (loop + 1) * kTracks);
        EXPECT_EQ(std::set<std::string>(order.begin(), order.end()), all) << "loop " << loop;
        orders.insert(order);
    }
    for (size_t i = 1; i < played.size(); ++i) {
        EXPECT_NE(played[i], played[i - 1]) << "position " << i;
    }
    EXPECT_GT(orders.size(), 45u) << "a new order on every loop";
}

TEST_F(PlayOrderTest, FilesAddedWhilePlayingJoinOnTheNextLoopAndAnotherStationFreesTheListing) {
    MakeFile("Trallio/Radio 1/b.mp3");
    MakeFile("Trallio/Radio 2/z.mp3");
    Start(PlayOrder::kName);
    EXPECT_EQ(PlayTracks(1), std::vector<std::string>{"b.mp3"});
    MakeFile("Trallio/Radio 1/a.mp3");
    EXPECT_EQ(PlayTracks(2), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    ASSERT_NE(radio.listing.buffer, nullptr);
    EXPECT_EQ(radio.listing.folder, radio.stationFolders[0]);

    trallio::SelectStation(radio.stationFolders[1]);
    fakehost::ClearEvents();
    trallio::UpdatePlayback();
    EXPECT_STREQ(radio.currentTrack, "z.mp3");
    EXPECT_EQ(radio.listing.folder, radio.stationFolders[1]);
    EXPECT_EQ(radio.listing.count, 1u);
}

TEST_F(PlayOrderTest, MissingFolderShowsTheMessageOnEveryPass) {
    Start(PlayOrder::kShuffle);
    for (int pass = 0; pass < 2; ++pass) {
        fakehost::ClearEvents();
        trallio::UpdatePlayback();
        EXPECT_EQ(fakehost::Game().lastMessage, "Directory doesn't exist. Check your directories");
        EXPECT_EQ(fakehost::Game().messagesShown, pass + 1);
    }
    EXPECT_TRUE(LinesStartingWith("media ").empty());
}

}  // namespace

namespace {

TEST_F(PlayOrderTest, AFileGoneSinceTheListingIsPassedOverInTheSameFrame) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        MakeFile(std::string("Trallio/Radio 1/") + name);
    }
    Start(PlayOrder::kName);
    EXPECT_EQ(PlayTracks(1), std::vector<std::string>{"a.mp3"});
    std::remove("Trallio/Radio 1/b.mp3");
    fakehost::FailOpen(Quoted(kFolder, "b.mp3"));  // the service refuses a file that is not there
    fakehost::ClearEvents();
    trallio::UpdatePlayback();
    const auto opens = LinesStartingWith("media open ");
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_NE(opens[0].find("b.mp3"), std::string::npos);
    EXPECT_NE(opens[1].find("c.mp3"), std::string::npos);
    EXPECT_STREQ(radio.currentTrack, "c.mp3");
    EXPECT_TRUE(LinesStartingWith("media play " + Quoted(kFolder, "b.mp3")).empty());
}

}  // namespace
