// Titles from tags: the tag line's rules on any bytes, the setting, and the line the wheel shows
// for real tagged files of every kind, read by the radio when each track starts.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/media_thread.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"
#include "support.h"
#include "tagged_files.h"
#include "text/tag_line.h"
#include "wheel_text.h"
#include "wheel/wheel.h"

namespace {

namespace fs = std::filesystem;
using testing_support::LinesStartingWith;
using testing_support::Quoted;
using trallio::radio;

std::string TagLine(const std::string& artist, const std::string& title, size_t size = 64) {
    char out[128];
    const size_t length = trallio::FormatTagLine(artist.data(), artist.size(), title.data(), title.size(), out, size);
    EXPECT_EQ(length, std::string(out).size());
    return out;
}

TEST(TagLine, BothTitleAloneOrNothingWithControlsLeftOutAndCutBetweenCharacters) {
    const struct {
        std::string artist, title, expected;
    } cases[] = {
        {"Artist", "Title", "Artist - Title"},
        {"", "Title", "Title"},
        {"Artist", "", ""},
        {"  \t ", "Title", "Title"},
        {"Artist", " \r\n ", ""},
        {"  Spaced  Out ", "  Song ", "Spaced  Out - Song"},
        {"A\x01\x1F" "B\x7F", "Line\nbreak\r\ttab", "AB - Linebreaktab"},
        // C1 controls and the line and paragraph separators, in UTF-8.
        {"x\xC2\x85y", "p\xE2\x80\xA8q\xE2\x80\xA9r", "xy - pqr"},
        // Bytes that are not UTF-8 show as U+FFFD; a zero byte inside a value is a control.
        {std::string("a\0b", 3), "\xFF\xC3", "ab - \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"", std::string(200, 'T'), std::string(63, 'T')},
        // An artist that leaves no room for the whole separator ends the line.
        {std::string(61, 'A'), "Title", std::string(61, 'A')},
        {std::string(60, 'A'), "Title", std::string(60, 'A')},
        {std::string(59, 'A'), "Title", std::string(59, 'A') + " - T"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TagLine(c.artist, c.title), c.expected) << "artist \"" << c.artist << "\" title \"" << c.title << "\"";
    }
    // Two-byte characters: 31 fit in 63 bytes; a three-byte one that would end past the limit is
    // left off.
    std::string cyrillic;
    for (int i = 0; i < 40; ++i) {
        cyrillic += "\xD0\x96";  // Ж
    }
    EXPECT_EQ(TagLine("", cyrillic), cyrillic.substr(0, 62));
    EXPECT_EQ(TagLine("", "12345678\xE9\xA2\xA8", 11), "12345678");
    EXPECT_EQ(TagLine("Artist", "Title", 1), "");
}

TEST(TitlesSetting, TagsInAnyCaseAndEverythingElseIsFile) {
    for (const char* on : {"tags", "TAGS", "Tags", "tAgS"}) {
        EXPECT_TRUE(trallio::ParseTitlesFromTags(on)) << on;
    }
    for (const char* off : {"file", "", "tag", "tagsx", "tags file", "\xC3\x9F"}) {
        EXPECT_FALSE(trallio::ParseTitlesFromTags(off)) << off;
    }
}

std::vector<tags_test::TaggedFile> MakeEveryTaggedFile(const std::string& folder) {
    return tags_test::MakeTaggedFiles(folder, true);
}

// The tagged files, big ones too, made once for the whole program.
class TagTitles
    : public tags_test::SuiteFiles<testing_support::RadioTest, tags_test::TaggedFile, MakeEveryTaggedFile> {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        ASSERT_FALSE(files.empty()) << "the tagged files could not be made (gst-launch-1.0 and TagLib)";
    }

    // The wheel's now-playing text of this frame.
    static std::string WheelText() {
        fakehost::ClearEvents();
        fakehost::BeginFrame();
        trallio::DrawWheel();
        return fakehost::Game().texts.empty() ? "" : fakehost::Game().texts[0];
    }

    // Plays every file of station 1 in name order, each ended as soon as it plays; returns the
    // media lines, and for each track the line it showed and the wheel text.
    std::vector<std::string> PlayStation(bool tags, std::vector<std::string>* shown, std::vector<std::string>* wheel) {
        trallio::ResetRadioState();
        radio.config.titlesFromTags = tags;
        radio.config.playOrder = trallio::PlayOrder::kName;
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
        std::vector<std::string> media;
        size_t opened = 0;
        for (int pass = 0; pass < 100 && opened < files.size(); ++pass) {
            fakehost::ClearEvents();
            trallio::UpdatePlayback();
            for (const std::string& line : LinesStartingWith("media ")) {
                media.push_back(line);
                opened += line.compare(0, 11, "media open ") == 0;
            }
            if (!radio.trackActive) {
                break;
            }
            if (shown != nullptr) {
                shown->push_back(trallio::ShownTrackLine());
                wheel->push_back(WheelText());
            }
            fakehost::FinishTrack(Quoted(radio.currentFolder, radio.currentTrack));
        }
        return media;
    }
};

TEST_F(TagTitles, EachFileShowsItsTagLineOrItsNameAndTheMediaCommandsStayTheSame) {
    MakeFolder("Trallio/Radio 1");
    for (const auto& file : files) {
        fs::copy_file(folder + "/" + file.name, gameFolder + "/Trallio/Radio 1/" + file.name);
    }
    std::vector<std::string> shown;
    std::vector<std::string> wheel;
    const std::vector<std::string> withTags = PlayStation(true, &shown, &wheel);
    ASSERT_EQ(shown.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(shown[i], files[i].expected) << files[i].name;
        EXPECT_EQ(wheel[i], tags_test::WheelTextOf("Trallio\\Radio 1", files[i].expected)) << files[i].name;
    }
    // The two long lines as the wheel shows them, written out.
    EXPECT_EQ(wheel[8], "Trallio\\Radio 1\n" + std::string(47, 'L'));
    EXPECT_EQ(wheel[9], "Trallio\\Radio 1\n\xD0\x90\xD0\xBD\xD1\x8F - \xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xD0\xBE "
                        "\xD0\xB2\xD0\xB5\xD1\x82\xD1\x80\xD0\xB5 \xE9\xA2\xA8\xE3\x81\xAE\xE6\xAD\x8C\xE9\xA2\xA8\n");

    EXPECT_EQ(PlayStation(false, nullptr, nullptr), withTags) << "titles = tags sends the media commands of titles = file";
}

// With media_thread the tags are read on the thread: each track shows the same line once the
// service has accepted its open, and until then the wheel goes on showing the track before it.
TEST_F(TagTitles, OnTheMediaThreadTheLineChangesOnceTheOpenIsAccepted) {
    MakeFolder("Trallio/Radio 1");
    for (const auto& file : files) {
        fs::copy_file(folder + "/" + file.name, gameFolder + "/Trallio/Radio 1/" + file.name);
    }
    struct Settle {
        ~Settle() {
            fakehost::HoldOpens(false);
            trallio::SettleMediaThread();
            trallio::ResetRadioState();
        }
    } settle;
    trallio::ResetRadioState();
    radio.config.titlesFromTags = true;
    radio.config.playOrder = trallio::PlayOrder::kName;
    radio.config.mediaThread = trallio::mediaThreadOn = true;
    radio.radioOn = true;
    trallio::SelectStation(radio.stationFolders[0]);
    // Frames until `done`, each followed by about a frame's time for the thread.
    const auto passUntil = [](const auto& done) {
        for (int pass = 0; pass < 200 && !done(); ++pass) {
            trallio::UpdatePlayback();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    };
    std::string previous;
    for (size_t i = 0; i < files.size(); ++i) {
        fakehost::HoldOpens(true);
        ASSERT_TRUE(passUntil([] { return radio.answers.openPending; })) << files[i].name;
        if (i > 0) {
            EXPECT_EQ(WheelText(), previous) << files[i].name;
        }
        fakehost::HoldOpens(false);
        ASSERT_TRUE(passUntil([] { return !radio.answers.openPending; })) << files[i].name;
        EXPECT_EQ(trallio::ShownTrackLine(), files[i].expected) << files[i].name;
        previous = WheelText();
        EXPECT_EQ(previous, tags_test::WheelTextOf("Trallio\\Radio 1", files[i].expected)) << files[i].name;
        fakehost::FinishTrack(Quoted(radio.currentFolder, radio.currentTrack));
    }
}

TEST_F(TagTitles, TheSettingIsReadFromConfig) {
    const struct {
        const char* text;
        bool tags;
    } cases[] = {{"[config]\ntitles = Tags\n", true}, {"[config]\ntitles = file\n", false},
                 {"[config]\ntitles = artist\n", false}, {"[RADIOS]\ntitles = tags\n", false}, {"", false}};
    for (const auto& c : cases) {
        ReadSettings(c.text);
        EXPECT_EQ(radio.config.titlesFromTags, c.tags) << c.text;
    }
}

TEST_F(TagTitles, AFileMissingWhenItStartsShowsItsName) {
    radio.config.titlesFromTags = true;
    radio.currentFolder = "Trallio\\Radio 1";
    radio.currentTrack = "gone.mp3";
    trallio::ReadTrackTitle();
    EXPECT_STREQ(trallio::ShownTrackLine(), "gone.mp3");
}

}  // namespace
