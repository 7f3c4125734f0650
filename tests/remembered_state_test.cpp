// The state file of a radio that remembers: strict reading with defaults on anything bad, the write
// at the frame the wheel closes through a renamed temporary file, and the remembered station
// started on the first eligible frame.
#include <sys/stat.h>

#include "host/remembered_state.h"
#include "playback/radio_state.h"
#include "stream_order.h"
#include "support.h"

namespace {

using namespace testing_support;

class RememberedState : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        MakeFolder("Trallio");
        radio.config.remember = true;
    }
    static std::string State(int volume, const char* station, int off) {
        return "[state]\r\nvolume=" + std::to_string(volume) + "\r\nstation=" + station + "\r\noff=" +
               std::to_string(off) + "\r\n";
    }
    void ExpectDefaults() {
        EXPECT_EQ(radio.volume, 90);
        EXPECT_EQ(radio.remembered.station, -1);
        EXPECT_FALSE(radio.remembered.off);
        EXPECT_FALSE(radio.remembered.startPending);
    }
};

TEST_F(RememberedState, BadFilesGiveTheDefaultsAndWriteNothing) {
    static const char kBinary[] = "\x00\xff\x1b[state]\x00volume=120\xfe\n\x80\x81";
    const std::string binary(kBinary, sizeof kBinary - 1);
    const struct {
        const char* what;
        std::string contents;
    } cases[] = {
        {"binary bytes", binary},
        {"10 KB lines", "[state]\nvolume=" + std::string(10240, '1') + "\nstation=" + std::string(10240, '0') + "\noff=0\n"},
        {"volume -5", "[state]\nvolume=-5\nstation=1\noff=0\n"},
        {"volume 99999", "[state]\nvolume=99999\nstation=1\noff=0\n"},
        {"volume 501", "[state]\nvolume=501\nstation=1\noff=0\n"},
        {"station 7", "[state]\nvolume=120\nstation=7\noff=0\n"},
        {"station missing", "[state]\nvolume=120\noff=0\n"},
        {"off flag 2", "[state]\nvolume=120\nstation=1\noff=2\n"},
        {"empty file", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        trallio::ResetRadioState();
        MakeFile("Trallio/state.ini", c.contents);
        const auto before = SortedNames("Trallio");
        trallio::LoadRememberedState();
        ExpectDefaults();
        EXPECT_EQ(SortedNames("Trallio"), before);
        EXPECT_EQ(ReadFile("Trallio/state.ini"), c.contents);
    }
    trallio::ResetRadioState();
    std::remove("Trallio/state.ini");
    trallio::LoadRememberedState();
    ExpectDefaults();
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", ".."}));
}

TEST_F(RememberedState, GoodFileIsReadAndItsStationWaitsForAnEligibleFrame) {
    MakeFile("Trallio/state.ini", State(500, "2", 0));
    trallio::LoadRememberedState();
    EXPECT_EQ(radio.volume, 500);
    EXPECT_EQ(radio.remembered.station, 2);
    EXPECT_TRUE(radio.remembered.startPending);

    MakeFile("Trallio/Radio 3/song.mp3");
    testing_support::Frame();  // on foot: not eligible, nothing starts
    EXPECT_TRUE(LinesStartingWith("media ").empty());
    fakehost::GetWorld().onMount = true;
    testing_support::Frame();
    const std::string track = Quoted("Trallio\\Radio 3", "song.mp3");
    const auto media = LinesStartingWith("media ");
    ASSERT_GE(media.size(), 3u);
    EXPECT_EQ(media[0], "media open " + track + " type MPEGVideo");
    EXPECT_EQ(media[2], "media setaudio " + track + " volume to 500");
    EXPECT_FALSE(radio.remembered.startPending);
}

TEST_F(RememberedState, SwitchedOffStationPlaysNothingUntilChosen) {
    MakeFile("Trallio/state.ini", State(40, "0", 1));
    MakeFile("Trallio/Radio 1/song.mp3");
    trallio::LoadRememberedState();
    EXPECT_EQ(radio.volume, 40);
    fakehost::GetWorld().onMount = true;
    for (int i = 0; i < 3; ++i) {
        testing_support::Frame();
        EXPECT_TRUE(LinesStartingWith("media ").empty());
    }
    // The wheel closing without a choice keeps the remembered station and its off flag: no write.
    std::remove("Trallio/state.ini");
    trallio::SaveRememberedState();
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", "..", "Radio 1"}));
}

TEST_F(RememberedState, WrittenOnlyWhenSomethingChangedThroughARenamedTemporaryFile) {
    trallio::LoadRememberedState();
    trallio::SaveRememberedState();
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", ".."})) << "no change, no file";

    radio.volume = 150;
    radio.currentFolder = radio.stationFolders[1];
    trallio::SaveRememberedState();
    EXPECT_EQ(ReadFile("Trallio/state.ini"), State(150, "1", 0));
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", "..", "state.ini"}));

    std::remove("Trallio/state.ini");
    trallio::SaveRememberedState();
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", ".."})) << "written values are not written again";

    radio.stoppedByUser = true;
    trallio::SaveRememberedState();
    EXPECT_EQ(ReadFile("Trallio/state.ini"), State(150, "1", 1));
    trallio::ResetRadioState();
    trallio::LoadRememberedState();
    EXPECT_EQ(radio.volume, 150);
    EXPECT_EQ(radio.remembered.station, 1);
    EXPECT_TRUE(radio.remembered.off);
    EXPECT_FALSE(radio.remembered.startPending);
}

TEST_F(RememberedState, AFailedWriteLeavesTheOldFileAndNothingElse) {
    const std::string old = State(70, "none", 0);
    const struct {
        const char* what;
        bool readOnlyFile;
    } cases[] = {{"read-only state file", true}, {"temporary file cannot be made", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        trallio::ResetRadioState();
        radio.config.remember = true;
        MakeFile("Trallio/state.ini", old);
        if (c.readOnlyFile) {
            chmod("Trallio/state.ini", 0444);
        } else {
            MakeFolder("Trallio/state.ini.tmp/x");  // a folder where the temporary file would go
        }
        const auto before = SortedNames("Trallio");
        trallio::LoadRememberedState();
        EXPECT_EQ(radio.volume, 70);
        radio.volume = 300;
        trallio::SaveRememberedState();
        trallio::SaveRememberedState();
        EXPECT_EQ(ReadFile("Trallio/state.ini"), old);
        EXPECT_EQ(SortedNames("Trallio"), before);
        chmod("Trallio/state.ini", 0644);
        std::system("rm -rf Trallio/state.ini.tmp");
    }
}

TEST_F(RememberedState, TheWheelClosingWritesOnceInThatFrame) {
    trallio::LoadRememberedState();
    fakehost::GetWorld().onMount = true;
    fakehost::GetWorld().keyQ = fakehost::GetWorld().keyR = true;
    testing_support::Frame();
    radio.volume = 95;
    testing_support::Frame();
    EXPECT_EQ(SortedNames("Trallio"), (std::vector<std::string>{".", ".."})) << "not while the wheel is open";
    fakehost::GetWorld().keyQ = fakehost::GetWorld().keyR = false;
    testing_support::Frame();
    EXPECT_EQ(ReadFile("Trallio/state.ini"), State(95, "none", 0));
}

}  // namespace
