// The station checker: the verdict on each kind of folder entry, and the whole report with its exit
// status on a made game folder of good, upper-case and odd names (the Linux program).
#include <mpegfile.h>
#include <textidentificationframe.h>

#include "checker_fixture.h"

namespace checker_test {

struct ReportLines {
    std::string config;
    std::vector<std::string> shown;
    std::vector<std::string> absent;
};

void CheckerReport::CheckReportLines(const std::vector<ReportLines>& cases) {
    for (const ReportLines& c : cases) {
        SCOPED_TRACE(c.config);
        MakeFile("Trallio/Trallio.ini", "[config]\n" + c.config);
        const std::string out = Normalised(RunChecker().out);
        for (const std::string& text : c.shown) {
            ExpectHolds(out, text);
        }
        for (const std::string& text : c.absent) {
            EXPECT_EQ(out.find(text), std::string::npos) << text << "\n" << out;
        }
    }
}

void CheckerReport::MakeTaggedAndUntagged(const std::function<void(TagLib::ID3v2::Tag&)>& tag) {
    ASSERT_NO_FATAL_FAILURE(MakeTone());
    const std::string tone = ReadFile(gameFolder + "/tone.mp3");
    MakeFile("Trallio/Radio 1/tagged.mp3", tone);
    MakeFile("Trallio/Radio 1/untagged.mp3", tone);
    TagLib::MPEG::File tagged((gameFolder + "/Trallio/Radio 1/tagged.mp3").c_str(), false);
    tag(*tagged.ID3v2Tag(true));
    ASSERT_TRUE(tagged.save());
}

}  // namespace checker_test

namespace {

using namespace checker_test;

TEST(CheckerVerdict, EachKindOfEntry) {
    struct Case {
        const char* name;
        bool isFolder;
        Verdict verdict;
        std::string reason;
    };
    const Case cases[] = {
        {".", true, Verdict::Ignored, ""},
        {"..", true, Verdict::Ignored, ""},
        {"song.mp3", false, Verdict::Track, ""},
        {"a.aac", false, Verdict::Track, ""},
        {"b.wav", false, Verdict::Track, ""},
        {"c.flac", false, Verdict::Track, ""},
        {".ogg", false, Verdict::Track, ""},
        {"live.wav", true, Verdict::Warning, kSubFolderTrack},
        {"notes.mp3.txt", false, Verdict::Warning, kNotReallyAudio},
        {"a.mp3x", false, Verdict::Warning, kNotReallyAudio},
        {"Song.MP3", false, Verdict::PassedOver, kUpperCase},
        {"mixed.Ogg", false, Verdict::PassedOver, kUpperCase},
        {"track.m4a", false, Verdict::PassedOver, std::string("\".m4a\" is not a type the radio plays; ") + kTypes},
        {"c.fla", false, Verdict::PassedOver, std::string("\".fla\" is not a type the radio plays; ") + kTypes},
        {"README", false, Verdict::PassedOver, std::string("no file type; ") + kTypes},
        {".hidden", false, Verdict::PassedOver, std::string("no file type; ") + kTypes},
        {"trailing.", false, Verdict::PassedOver, std::string("no file type; ") + kTypes},
        {"Extras", true, Verdict::PassedOver, kSubFolder},
        {"Old.MP3", true, Verdict::PassedOver, kSubFolder},
        {"?", false, Verdict::PassedOver,
         "a name with characters outside the system's code page; rename the file with plain letters"},
    };
    for (const Case& c : cases) {
        const check::EntryVerdict got = ClassifyEntry(c.name, c.isFolder);
        EXPECT_EQ(got.verdict, c.verdict) << c.name;
        EXPECT_EQ(got.reason, c.reason) << c.name;
    }
}

TEST_F(CheckerReport, MixedNamesAMissingFolderAndASilentStation) {
    CheckMixedGameFolder();
}

TEST_F(CheckerReport, NamesInAnyLanguageReadWithTheSettingOnOrOff) {
    CheckNamesInAnyLanguage(false, false);
    CheckNamesInAnyLanguage(true, false);
}

TEST_F(CheckerReport, EveryStationPlays) {
    CheckDefaultsThatPlay(false);
}

TEST_F(CheckerReport, TheShippedSettingsFileOpensWithTheSettingsOn) {
    CheckDefaultsThatPlay(true);
}

TEST_F(CheckerReport, SoundMixLinesWhenOnOrBad) {
    const std::string duck = "Quieter while people speak (duck_dialogue): ";
    const std::string pause = "Paused in the pause menu and in the background (pause_in_menus): ";
    const std::string keeps = " is not a whole number from 0 to 100; the radio keeps its volume while people speak\n";
    const std::string duckOn = " (quieter while people speak)\n";
    const std::string pauseOn = " (paused in the pause menu and in the background)\n";
    const struct {
        const char* config;
        std::string on;     // the lines the report opens with
        std::string lines;  // what follows the media_player_mode line; empty: the stations follow at once
    } cases[] = {
        {"duck_dialogue=\npause_in_menus=False\n", "", ""},
        {"duck_dialogue=40\n", "On: duck_dialogue=40" + duckOn, duck + "40% of the volume\n" + pause + "off\n"},
        {"duck_dialogue=0\npause_in_menus=True\n", "On: duck_dialogue=0" + duckOn + "On: pause_in_menus=True" + pauseOn,
         duck + "0% of the volume\n" + pause + "on\n"},
        {"pause_in_menus=true\n", "On: pause_in_menus=true" + pauseOn, duck + "off\n" + pause + "on\n"},
        {"duck_dialogue=-5\n", "", duck + "off\n  Warning: duck_dialogue=-5" + keeps + pause + "off\n"},
        {"duck_dialogue=101\n", "", duck + "off\n  Warning: duck_dialogue=101" + keeps + pause + "off\n"},
        {"duck_dialogue=abc\npause_in_menus=True\n", "On: pause_in_menus=True" + pauseOn,
         duck + "off\n  Warning: duck_dialogue=abc" + keeps + pause + "on\n"},
    };
    for (const auto& c : cases) {
        MakeFile("Trallio/Trallio.ini", std::string("[config]\n") + c.config);
        const std::string out = Normalised(RunChecker().out);
        const std::string header = Header(true, false, false, c.on);
        ASSERT_EQ(out.compare(0, header.size(), header), 0) << out;
        EXPECT_EQ(out.substr(header.size(), out.find("\nStation 1:") - header.size()), c.lines) << c.config;
    }
}

// A settings file saved as UTF-8 with a byte order mark: Windows misses the section on its first
// line, and the checker says which.
TEST_F(CheckerReport, AByteOrderMarkBeforeASectionIsWarnedAbout) {
    const std::string warning = "  Warning: the file starts with a UTF-8 byte order mark, so Windows does not read its "
                                "first section ";
    const std::string advice = " nor any setting in it: save it as UTF-8 without a byte order mark (or ANSI), or put "
                               "a comment line first\n";
    const struct {
        const char* file;
        std::string warning;  // the line under the settings file's, or none
    } cases[] = {
        {"\xEF\xBB\xBF[config]\nduck_dialogue=\n", warning + "[config]" + advice},
        {"\xEF\xBB\xBF  [RADIOS]\r\n[config]\nduck_dialogue=\n", warning + "[RADIOS]" + advice},
        {"\xEF\xBB\xBF; a comment first\n[config]\nduck_dialogue=\n", ""},
        {"[config]\nduck_dialogue=\n", ""},
    };
    for (const auto& c : cases) {
        MakeFile("Trallio/Trallio.ini", c.file);
        const std::string out = Normalised(RunChecker().out);
        const std::string settingsLine = "Settings file: " + platform.shownPath(gameFolder + "/Trallio/Trallio.ini") + " (found)\n";
        const size_t after = out.find(settingsLine);
        ASSERT_NE(after, std::string::npos) << out;
        const size_t start = after + settingsLine.size();
        EXPECT_EQ(out.substr(start, out.find("Radio on foot") - start), c.warning) << c.file;
    }
}

TEST_F(CheckerReport, AStationOfOnlyASubFolderNamedLikeATrackHasNothingToPlay) {
    MakeFolder("Trallio/Radio 1/live.wav");
    MakeFile("Trallio/Radio 2/a.mp3");
    MakeFile("Trallio/Radio 3/b.mp3");
    const ProgramRun run = RunChecker();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("    1. live.wav  [see warnings]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 of 3 stations has no playable track.\n"), std::string::npos) << run.out;
}

TEST_F(CheckerReport, GameDirOptionAndUsageErrors) {
    MakeFile("game/Trallio/Radio 1/a.mp3");
    const ProgramRun moved = RunChecker({"--game-dir", "game"});
    EXPECT_EQ(moved.status, 1);  // stations 2 and 3 are missing
    EXPECT_NE(moved.out.find("Game folder: " + gameFolder + "/game\n"), std::string::npos) << moved.out;
    EXPECT_NE(moved.out.find("    1. a.mp3\n"), std::string::npos) << moved.out;

    const ProgramRun unknown = RunChecker({"--verbose"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err.find("trallio-check: unknown option --verbose\n"), 0u) << unknown.err;

    const ProgramRun missing = RunChecker({"--game-dir", "nowhere"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "trallio-check: cannot open the game folder nowhere\n");
}

TEST_F(CheckerReport, PlayOrderAndRememberedState) {
    MakeFile("Trallio/Radio 1/10 c.mp3");
    MakeFile("Trallio/Radio 1/2 b.mp3");
    MakeFile("Trallio/Radio 1/B.ogg");
    MakeFile("Trallio/Radio 1/a.ogg");
    MakeFile("Trallio/state.ini", "[state]\nvolume=250\nstation=1\noff=0\n");
    const std::vector<ReportLines> cases = {
        {"order=NAME\n",
         {"On: order=NAME (plays by name)\n", "Play order (order): by name\n",
          "    1. 2 b.mp3\n    2. 10 c.mp3\n    3. a.ogg\n    4. B.ogg\n"},
         {"Warning: order", "Remembered state"}},
        {"order=shuffle\nremember=true\n",
         {"On: order=shuffle (plays in random order)\nOn: remember=true (the volume and the station kept from one "
          "game to the next)\nGame folder: ",
          "Play order (order): random order\n", "  Tracks, in random order (a new one on every loop):\n    1. ",
          "Remembered state (remember): on, volume 250, station 2 (plays as soon as you may use the radio)\n"},
         {"Warning: order"}},
        {"order=random\n",
         {"Warning: order = \"random\" is not folder, name or shuffle; the radio plays in folder order\n",
          "  Tracks, in the order the radio plays them:\n"},
         {"Play order", "On: "}},
        {"order=Folder\nremember=false\n", {}, {"Warning: order", "Play order", "Remembered state", "On: "}},
    };
    CheckReportLines(cases);
}

// titles = tags: each track line shows the wheel's second line for it, read from the track's tags
// as the radio reads them; a value that is neither file nor tags gets a warning.
TEST_F(CheckerReport, TrackTitlesFromTheTags) {
    ASSERT_NO_FATAL_FAILURE(MakeTaggedAndUntagged([](TagLib::ID3v2::Tag& tag) {
        tag.setArtist("Dust Riders");
        tag.setTitle("Canyon Song");
    }));
    const std::string fromTags =
        "Track titles (titles): from the tags, \"Artist - Title\" (the file name when a track has no title tag)\n";
    const std::vector<ReportLines> cases = {
        {"titles = TAGS\n",
         {"On: titles=TAGS (track titles from the tags)\n", fromTags,
          ". tagged.mp3  shows \"Dust Riders - Canyon Song\"\n", ". untagged.mp3  shows the file name (no title tag)\n"},
         {"Warning: titles"}},
        {"titles = names\n",
         {"Warning: titles = \"names\" is not file or tags; the radio shows file names\n", ". tagged.mp3\n",
          ". untagged.mp3\n"},
         {"Track titles", "  shows ", "On: "}},
        {"titles = File\n", {". tagged.mp3\n", ". untagged.mp3\n"},
         {"Warning: titles", "Track titles", "  shows ", "On: "}},
    };
    CheckReportLines(cases);
}

// loudness on: each track line shows its gain, or loudness_default for a track without one, and
// the level it plays at with the volume at 90; bad values get warnings.
TEST_F(CheckerReport, LoudnessGainsAndLevels) {
    ASSERT_NO_FATAL_FAILURE(MakeTaggedAndUntagged([](TagLib::ID3v2::Tag& tag) {
        auto* gain = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
        gain->setDescription("replaygain_track_gain");
        gain->setText("-7.85 dB");
        tag.addFrame(gain);
    }));
    const std::vector<ReportLines> cases = {
        {"loudness = track\n",
         {"Every track as loud as the last (loudness): by its track gain tag (the album gain when it has none)\n",
          "  A track without a gain tag plays at -7 dB (loudness_default)\n",
          ". tagged.mp3  gain -7.85 dB: level 36 at volume 90\n",
          ". untagged.mp3  no gain tag, plays at -7 dB: level 40 at volume 90\n"},
         {"Warning"}},
        {"loudness = Album\nloudness_default = -3,5\n",
         {"by its album gain tag (the track gain when it has none)\n",
          ". untagged.mp3  no gain tag, plays at -3.5 dB: level 60 at volume 90\n"},
         {"Warning"}},
        {"loudness = loud\nloudness_default = 25\n",
         {"Warning: loudness = \"loud\" is not off, track or album; the radio does not level loudness\n",
          "  Warning: loudness_default = \"25\" is not a gain from -20 to 20 dB; a track without a gain tag plays at "
          "-7 dB\n",
          ". tagged.mp3\n"},
         {"gain tag,", "  gain ", "(loudness)"}},
        {"loudness = off\n", {". tagged.mp3\n", ". untagged.mp3\n"}, {"loudness", "gain"}},
        {"media_thread = True\nloudness = track\n",
         {"by its track gain tag (the album gain when it has none)\n",
          ". untagged.mp3  no gain tag, plays at -7 dB: level 40 at volume 90\n"},
         {"Warning"}},
    };
    CheckReportLines(cases);
}

}  // namespace
