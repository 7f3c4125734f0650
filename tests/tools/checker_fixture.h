// The station checker's report tests' fixture: a made game folder of good, upper-case and odd
// names, the checker run on it, and the report it must print. CheckerReport runs the Linux program;
// CheckerUnderWine runs TrallioCheck.exe the same way when the wine rig names it
// (TRALLIO_CHECK_EXE and TRALLIO_WINE64 in the environment).
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include <id3v2tag.h>

#include "audio/mci_channel.h"
#include "playback/radio_state.h"
#include "run_program.h"
#include "shipped_report.h"
#include "station_report.h"
#include "stream_order.h"
#include "support.h"

namespace checker_test {

using check::ClassifyEntry;
using check::Verdict;
using namespace testing_support;

const char kTypes[] = "only .mp3 .aac .wav .flac .ogg are played";
const char kUpperCase[] = "upper-case extension; only lower-case .mp3 .aac .wav .flac .ogg are played";
const char kSubFolderTrack[] =
    "a sub-folder named like a track: the radio tries to play it, the media service refuses it and the radio "
    "passes over it; move it out of the station";
const char kNotReallyAudio[] =
    "taken as a track because the name contains an audio type; unless it really is audio, the media service "
    "refuses it and the radio passes over it";
const char kSubFolder[] = "a sub-folder; the radio does not look inside sub-folders";

// A settings text and lines its report must and must not hold.
struct ReportLines;

// How one checker build shows things: its command, its paths, its folder order.
struct Platform {
    std::vector<std::string> command;
    std::function<std::string(const std::string&)> shownPath;
    bool sortedListing;  // Windows file systems list a folder sorted, without regard to case
};

class CheckerReport : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        platform = {{TRALLIO_CHECK}, [](const std::string& path) { return path; }, false};
    }

    // The names of a folder, dots left out, in the order its listing gives them.
    std::vector<std::string> Listing(const std::string& folder) {
        std::vector<std::string> names = StreamOrder((gameFolder + "/" + folder).c_str());
        names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return n == "." || n == ".."; }),
                    names.end());
        if (platform.sortedListing) {
            std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
                const auto upperLess = [](unsigned char x, unsigned char y) { return std::toupper(x) < std::toupper(y); };
                return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), upperLess);
            });
        }
        return names;
    }

    // One station's block of the report for a folder that opens; `notes` gives each entry's reason
    // ("" for a plain track).
    std::string OpenStation(int station, const std::string& setting, const std::string& folder,
                            const std::map<std::string, std::pair<Verdict, std::string>>& notes) {
        std::string tracks;
        std::string passed;
        std::string warnings;
        int count = 0;
        int playable = 0;
        for (const std::string& name : Listing(folder)) {
            const auto& note = notes.at(name);
            if (note.first == Verdict::PassedOver) {
                passed += "    " + name + ": " + note.second + "\n";
                continue;
            }
            tracks += "    " + std::to_string(++count) + ". " + name + titleNote +
                      (note.first == Verdict::Warning ? "  [see warnings]\n" : "\n");
            if (note.first == Verdict::Warning) {
                warnings += "    " + name + ": " + note.second + "\n";
            }
            const bool folderEntry = note.second.compare(0, 12, "a sub-folder") == 0;
            playable += folderEntry ? 0 : 1;
        }
        return "\nStation " + std::to_string(station) + ": " + setting + "\n" +
               "  Folder: " + platform.shownPath(gameFolder + "/" + folder) + "\n" +
               "  Opens: yes\n" +
               (tracks.empty() ? "  Tracks: none\n" : "  Tracks, in the order the radio plays them:\n" + tracks) +
               (passed.empty() ? "" : "  Passed over:\n" + passed) +
               (warnings.empty() ? "" : "  Warnings:\n" + warnings) +
               (playable == 0 ? std::string("  Result: no playable track\n")
                              : "  Result: " + std::to_string(playable) + (playable == 1 ? " track\n" : " tracks\n"));
    }

    // The version, `settingsOn`, the folders, the settings always shown, then `settingLines`.
    std::string Header(bool settingsFound, bool onFoot, bool unicodeNames = false, const std::string& settingsOn = "",
                       const std::string& settingLines = "") {
        return "Trallio station check " TRALLIO_VERSION "\n" + settingsOn +
               "Game folder: " + platform.shownPath(gameFolder) + "\n" +
               "Settings file: " + platform.shownPath(gameFolder + "/Trallio/Trallio.ini") +
               (settingsFound ? " (found)\n" : " (not found: the defaults apply)\n") +
               "Radio on foot (media_player_mode): " + (onFoot ? "on" : "off") + "\n" +
               "Names in any language (unicode_names): " + (unicodeNames ? "on\n" : "off\n") + settingLines;
    }

    // What the report adds to each track line (with titles = tags).
    std::string titleNote;

    // The listing tests run without the test-play (their tracks are not real audio). The test-play
    // goes through GStreamer, so its leak check at exit runs as the media tests' do.
    ProgramRun RunChecker(const std::vector<std::string>& options = {}, bool testPlay = false) {
        std::vector<std::string> command = platform.command;
        if (!testPlay) {
            command.push_back("--no-media");
        }
        command.insert(command.end(), options.begin(), options.end());
        return RunProgram(command, gameFolder,
                          testPlay ? testing_support::WithMediaLeakCheck({}, TRALLIO_MEDIA_LSAN_SUPPRESSIONS)
                                   : std::vector<std::string>{});
    }

    // A station with every kind of name, one with nothing it plays, one missing.
    void CheckMixedGameFolder() {
        MakeFile("Trallio/Trallio.ini",
                 "; where the radio finds its stations\r\n"
                 "[RADIOS]\r\n"
                 "radio 1 = Music\\Mixed\r\n"
                 "radio 3 = Music\\Not there\r\n"
                 "[config]\r\n"
                 "media_player_mode = true\r\n");
        for (const char* name : {"good song.mp3", "b.ogg", "Song.MP3", "Loud.Wav", "notes.mp3.txt", "cover.jpg",
                                 "README"}) {
            MakeFile(std::string("Music/Mixed/") + name);
        }
        MakeFolder("Music/Mixed/live.wav");
        MakeFolder("Music/Mixed/Extras");
        MakeFile("Trallio/Radio 2/Only.FLAC");
        MakeFile("Trallio/Radio 2/track.m4a");

        const ProgramRun run = RunChecker();
        const std::string expected =
            Header(true, true, false, "On: media_player_mode=true (the radio on foot too)\n") +
            OpenStation(1, "Music\\Mixed", "Music/Mixed",
                        {{"good song.mp3", {Verdict::Track, ""}},
                         {"b.ogg", {Verdict::Track, ""}},
                         {"Song.MP3", {Verdict::PassedOver, kUpperCase}},
                         {"Loud.Wav", {Verdict::PassedOver, kUpperCase}},
                         {"notes.mp3.txt", {Verdict::Warning, kNotReallyAudio}},
                         {"cover.jpg", {Verdict::PassedOver, std::string("\".jpg\" is not a type the radio plays; ") + kTypes}},
                         {"README", {Verdict::PassedOver, std::string("no file type; ") + kTypes}},
                         {"live.wav", {Verdict::Warning, kSubFolderTrack}},
                         {"Extras", {Verdict::PassedOver, kSubFolder}}}) +
            OpenStation(2, "Trallio\\Radio 2", "Trallio/Radio 2",
                        {{"Only.FLAC", {Verdict::PassedOver, kUpperCase}},
                         {"track.m4a", {Verdict::PassedOver, std::string("\".m4a\" is not a type the radio plays; ") + kTypes}}}) +
            "\nStation 3: Music\\Not there\n"
            "  Folder: " + platform.shownPath(gameFolder + "/Music/Not there") + "\n" +
            "  Opens: no (the folder does not exist)\n"
            "  In the game this station shows \"Directory doesn't exist. Check your directories\".\n"
            "  Result: no playable track\n"
            "\n"
            "2 of 3 stations have no playable track.\n";
        EXPECT_EQ(Normalised(run.out), expected);
        EXPECT_EQ(run.status, 1) << run.err;
    }

    // Every station with a track; no settings file, or the one the zip ships (with its Windows line
    // ends), whose settings that are on open the report.
    void CheckDefaultsThatPlay(bool shippedSettings) {
        if (shippedSettings) {
            const std::string text = WithWindowsLineEnds(PackageFile("Trallio/Trallio.ini"));
            ASSERT_FALSE(text.empty());
            MakeFile("Trallio/Trallio.ini", text);
        }
        MakeFile("Trallio/Radio 1/one.mp3");
        MakeFile("Trallio/Radio 2/two.aac");
        MakeFile("Trallio/Radio 3/three.wav");
        MakeFile("Trallio/Radio 3/four.flac");
        titleNote = shippedSettings ? "  shows the file name (no title tag)  no gain tag, plays at -7 dB: level 40 at volume 90"
                                    : "";
        const ProgramRun run = RunChecker();
        const std::string expected =
            (shippedSettings ? Header(true, false, true, kShippedSettingsOn, kShippedSettingLines)
                             : Header(false, false)) +
            OpenStation(1, "Trallio\\Radio 1", "Trallio/Radio 1", {{"one.mp3", {Verdict::Track, ""}}}) +
            OpenStation(2, "Trallio\\Radio 2", "Trallio/Radio 2", {{"two.aac", {Verdict::Track, ""}}}) +
            OpenStation(3, "Trallio\\Radio 3", "Trallio/Radio 3",
                        {{"three.wav", {Verdict::Track, ""}}, {"four.flac", {Verdict::Track, ""}}}) +
            "\nEvery station has something to play.\n";
        EXPECT_EQ(Normalised(run.out), expected);
        EXPECT_EQ(run.status, 0) << run.err;
    }

    // A station of, by name, a corrupt mp3, a good mp3, a folder named live.wav, an empty .ogg and a
    // second good mp3, test-played; `refused` names the entries this platform's media service
    // refuses, each with its error number and reason.
    void CheckTestPlay(const std::map<std::string, std::pair<int, std::string>>& refused) {
        ASSERT_NO_FATAL_FAILURE(MakeTone());
        const std::string tone = gameFolder + "/tone.mp3";
        std::string corrupt(6000, '\0');
        for (size_t i = 0; i < corrupt.size(); ++i) {
            corrupt[i] = static_cast<char>((i * 7919u + 13u) % 251u);
        }
        MakeFile("Trallio/Radio 1/1 corrupt.mp3", corrupt);
        MakeFile("Trallio/Radio 1/2 good.mp3", ReadFile(tone));
        MakeFolder("Trallio/Radio 1/3 live.wav");
        MakeFile("Trallio/Radio 1/4 empty.ogg", "");
        MakeFile("Trallio/Radio 1/5 good.mp3", ReadFile(tone));
        MakeFile("Trallio/Radio 2/a.mp3", ReadFile(tone));
        MakeFile("Trallio/Radio 3/b.mp3", ReadFile(tone));
        const ProgramRun run = RunChecker({}, true);
        const std::string out = Normalised(run.out);
        ExpectHolds(out, "Test-play: every track opened and closed again by the media service, nothing played\n");
        int count = 0;
        std::string tracks;
        for (const std::string& name : Listing("Trallio/Radio 1")) {
            tracks += "    " + std::to_string(++count) + ". " + name +
                      (refused.count(name) != 0 ? "  [will not play]\n"
                       : name == "3 live.wav"   ? "  [see warnings]\n"
                                                : "\n");
        }
        ExpectHolds(out, "  Tracks, in the order the radio plays them:\n" + tracks);
        for (const auto& [name, error] : refused) {
            const std::string hint =
                name == "3 live.wav" ? "move the folder out of the station, or rename it without the audio type"
                                     : "convert the file to .mp3 or .wav (it may be corrupt, empty or of a format "
                                       "without a codec), or install the missing codec";
            ExpectHolds(out, "    " + name + ": open refused, error " + std::to_string(error.first) + ": " +
                                 error.second + "\n      " + hint + "\n");
        }
        const int played = 4 - static_cast<int>(refused.size()) + (refused.count("3 live.wav") != 0 ? 1 : 0);
        ExpectHolds(out, "  Result: " + std::to_string(played) + " tracks play, " + std::to_string(refused.size()) +
                             " will not play\n");
        ExpectHolds(out, "  Result: 1 track plays, 0 will not play\n");
        ExpectHolds(out, "Every station has something to play.\n" +
                             (refused.size() == 1 ? std::string("1 track will not play; the radio passes over it.\n")
                                                  : std::to_string(refused.size()) +
                                                        " tracks will not play; the radio passes over them.\n"));
        EXPECT_EQ(run.status, 3) << out << run.err;
        if (std::getenv("TRALLIO_CHECK_SHOW") != nullptr) {
            std::printf("%s", run.out.c_str());
        }
    }

    // Half a second of tone, as the media tests make theirs: tone.mp3 in the game folder.
    void MakeTone() {
        const ProgramRun encode = RunProgram({"gst-launch-1.0", "-q", "audiotestsrc", "num-buffers=20", "!", "audioconvert",
                                              "!", "lamemp3enc", "!", "filesink", "location=tone.mp3"},
                                             gameFolder);
        ASSERT_EQ(encode.status, 0) << encode.err;
    }

    // Names in Cyrillic and accented Latin with unicode_names on and off. Where the platform's
    // names are bytes (Windows), the name beyond Latin-1 is unreadable with the setting off and the
    // report says which setting reads it; on Linux every name reads either way.
    void CheckNamesInAnyLanguage(bool on, bool unreadableWhenOff) {
        const std::string road = "\xD0\x94\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.mp3";
        MakeFile("Trallio/Trallio.ini", std::string("[RADIOS]\r\nradio 1 = Music\\Mixed\r\n[config]\r\n") +
                                            "unicode_names = " + (on ? "True" : "False") + "\r\n");
        MakeFile("Music/Mixed/" + road);
        MakeFile("Music/Mixed/caf\xC3\xA9.ogg");
        MakeFile("Music/Mixed/b.mp3");
        const std::string out = Normalised(RunChecker().out);
        ExpectHolds(out, std::string("Names in any language (unicode_names): ") + (on ? "on\n" : "off\n"));
        const bool unreadable = !on && unreadableWhenOff;
        EXPECT_EQ(out.find("  Names the radio cannot read (set unicode_names = True in [config] to read them):\n    " +
                           road + ": seen as \"") != std::string::npos,
                  unreadable) << out;
        EXPECT_EQ(out.find("caf\xC3\xA9.ogg: seen as"), std::string::npos) << out;
        EXPECT_EQ(out.find(". " + road + "\n") != std::string::npos, !unreadable) << out;
        if (on || !unreadableWhenOff) {
            ExpectHolds(out, ". caf\xC3\xA9.ogg\n");
        }
    }

    // Stations of Cyrillic, CJK and emoji folders and names, real audio, test-played with
    // unicode_names on: every track plays, and the report shows every name and path as written.
    void CheckTestPlayOfNamesInAnyLanguage() {
        ASSERT_NO_FATAL_FAILURE(MakeTone());
        const std::string tone = ReadFile(gameFolder + "/tone.mp3");
        const struct {
            std::string folder;  // under Music
            std::vector<std::string> names;
        } stations[] = {
            {"\xD0\xA1\xD1\x82\xD0\xB0\xD0\xBD\xD1\x86\xD0\xB8\xD1\x8F",  // Станция
             {"1 \xD0\x94\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.mp3",      // 1 Дорога.mp3
              "2 \xE5\xA4\x9C\xE3\x81\xAE\xE6\xAD\x8C.mp3",                    // 2 夜の歌.mp3
              "3 \xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6.mp3"}},                        // 3 🎵🎶.mp3
            {"\xE5\xA4\x9C", {"\xD0\x81\xD0\xB6 \xE6\xAD\x8C.mp3"}},            // 夜: Ёж 歌.mp3
            {"\xF0\x9F\x8E\xB5", {"\xF0\x9F\x8E\xB6 tune.mp3"}},                 // 🎵: 🎶 tune.mp3
        };
        std::string settings = "[config]\r\nunicode_names = True\r\n[RADIOS]\r\n";
        std::string expected = Header(true, false, true, "On: unicode_names=True (names in any language)\n") +
                               "Test-play: every track opened and closed again by the media service, nothing played\n";
        int number = 0;
        for (const auto& station : stations) {
            settings += "radio " + std::to_string(++number) + " = Music\\" + station.folder + "\r\n";
            expected += "\nStation " + std::to_string(number) + ": Music\\" + station.folder + "\n" +
                        "  Folder: " + platform.shownPath(gameFolder + "/Music/" + station.folder) + "\n" +
                        "  Opens: yes\n  Tracks, in the order the radio plays them:\n";
            for (const std::string& name : station.names) {
                MakeFile("Music/" + station.folder + "/" + name, tone);
            }
            int track = 0;
            for (const std::string& name : Listing("Music/" + station.folder)) {
                expected += "    " + std::to_string(++track) + ". " + name + "\n";
            }
            expected += "  Result: " + std::to_string(track) + (track == 1 ? " track plays" : " tracks play") +
                        ", 0 will not play\n";
        }
        expected += "\nEvery station has something to play.\n";
        MakeFile("Trallio/Trallio.ini", settings);
        const ProgramRun run = RunChecker({}, true);
        EXPECT_EQ(Normalised(run.out), expected);
        EXPECT_EQ(run.status, 0) << run.err;
    }

    // The report tests of the Linux program alone (checker_test.cpp): each case's settings file
    // under [config], the checker run on it, and the lines of its report; station 1 of two tracks of
    // tone, tagged.mp3 with the ID3v2 tag `tag` writes and untagged.mp3.
    void CheckReportLines(const std::vector<ReportLines>& cases);
    void MakeTaggedAndUntagged(const std::function<void(TagLib::ID3v2::Tag&)>& tag);

    // The report `out` holds `text`.
    static void ExpectHolds(const std::string& out, const std::string& text) {
        EXPECT_NE(out.find(text), std::string::npos) << text << "\n" << out;
    }

    // Windows programs end their lines with "\r\n".
    static std::string Normalised(const std::string& out) {
        std::string text;
        for (const std::string& line : testing_support::SplitLines(out)) {
            text += line + "\n";
        }
        return text;
    }

    Platform platform;
};

class CheckerUnderWine : public CheckerReport {
protected:
    void SetUp() override {
        CheckerReport::SetUp();
        const char* exe = std::getenv("TRALLIO_CHECK_EXE");
        const char* wine = std::getenv("TRALLIO_WINE64");
        if (exe == nullptr || wine == nullptr) {
            GTEST_SKIP() << "run by the wine rig, which sets TRALLIO_CHECK_EXE and TRALLIO_WINE64";
        }
        platform.command = {wine, exe, "--no-pause"};
        platform.shownPath = [](const std::string& path) {
            std::string shown = "Z:" + path;
            std::replace(shown.begin(), shown.end(), '/', '\\');
            return shown;
        };
        platform.sortedListing = true;
    }
};

}  // namespace checker_test
