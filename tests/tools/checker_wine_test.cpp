// The station checker's report tests with the Windows build, run by wine (CheckerUnderWine).
#include "checker_fixture.h"

namespace {

using namespace checker_test;

TEST_F(CheckerUnderWine, MixedNamesAMissingFolderAndASilentStation) {
    CheckMixedGameFolder();
}

TEST_F(CheckerUnderWine, NamesBeyondLatin1NeedTheSettingAndReadWithIt) {
    CheckNamesInAnyLanguage(false, true);
    CheckNamesInAnyLanguage(true, true);
}

TEST_F(CheckerUnderWine, EveryStationPlays) {
    CheckDefaultsThatPlay(false);
}

TEST_F(CheckerUnderWine, TheShippedSettingsFileOpensWithTheSettingsOn) {
    CheckDefaultsThatPlay(true);
}

// Names beyond the code page reach wine's MCI as the radio sends them, through the wide calls.
TEST_F(CheckerUnderWine, TestPlayOfNamesInAnyLanguage) {
    CheckTestPlayOfNamesInAnyLanguage();
}

// Wine's MCI refuses the corrupt mp3, the folder and the empty .ogg at their open.
TEST_F(CheckerUnderWine, TestPlayNamesEachRefusedTrackWithTheServicesReason) {
    const std::pair<int, std::string> internal{277, "A problem occurred in initializing MCI. Try restarting Windows."};
    CheckTestPlay({{"1 corrupt.mp3", internal}, {"3 live.wav", internal}, {"4 empty.ogg", internal}});
}

}  // namespace
