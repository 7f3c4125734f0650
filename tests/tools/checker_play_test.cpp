// The station checker's test-play: the radio's own media commands for each track, and the
// service's reason for each it refuses (the Linux program).
#include "checker_fixture.h"

namespace {

using namespace checker_test;

// The Linux media service refuses only the folder at its open; a corrupt or empty file opens and
// fails later on the service's threads (it then reads "stopped", and the radio moves on).
TEST_F(CheckerReport, TestPlayNamesEachRefusedTrackWithTheServicesReason) {
    CheckTestPlay({{"3 live.wav", {296, "not a file that can be played (a folder, or a file that cannot be decoded)"}}});
}

// The test-play names a track exactly as the radio does, by the radio's own command builder: each
// byte as a unit with unicode_names off, UTF-16 with it on.
TEST_F(CheckerReport, TestPlaySendsTheRadiosOwnCommands) {
    // The commands without the service's replies, which differ: the radio has played the track.
    const auto commands = [] {
        std::vector<std::string> lines = LinesStartingWith("media ");
        for (std::string& line : lines) {
            line = line.substr(0, line.find(" [reply"));
        }
        return lines;
    };
    const std::string folder = "Music\\\xD0\xA1\xF0\x9F\x8E\xB5";  // "Music\С🎵"
    const std::string name = "\xE5\xA4\x9C caf\xC3\xA9.mp3";          // "夜 café.mp3"
    for (const bool utf8 : {false, true}) {
        trallio::radio.config.unicodeNames = utf8;
        fakehost::ClearEvents();
        trallio::OpenTrack(folder.c_str(), name.c_str(), utf8);
        trallio::QueryTrackMode(folder.c_str(), name.c_str(), utf8);
        trallio::CloseTrack(folder.c_str(), name.c_str(), utf8);
        std::vector<std::string> radioLines = commands();
        ASSERT_EQ(radioLines.size(), 4u);
        radioLines.erase(radioLines.begin() + 1);  // the play, which the checker never sends
        fakehost::ClearEvents();
        check::TestPlay(folder, name, utf8);
        EXPECT_EQ(commands(), radioLines) << "unicode_names " << utf8;
    }
}

TEST_F(CheckerReport, TestPlayOfNamesInAnyLanguage) {
    CheckTestPlayOfNamesInAnyLanguage();
}

}  // namespace
