// Loudness levelling: the gain texts, the settings, and the volume digits the radio sends for real
// files with gain tags in every container, at several volumes, with and without ducking.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/loudness.h"
#include "audio/media_thread.h"
#include "gain_table.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"
#include "tagged_files.h"
#include "text/gain_text.h"

namespace {

namespace fs = std::filesystem;
using testing_support::LinesStartingWith;
using testing_support::Quoted;
using trallio::Loudness;
using trallio::radio;

TEST(GainText, TagAndSettingsFormsAndTheRangeLimit) {
    const struct {
        const char* text;
        bool ok;
        double decibels;
    } cases[] = {
        {"-7.85 dB", true, -7.85}, {"+3,5 dB", true, 3.5},   {"6", true, 6},         {" -12.00 DB ", true, -12},
        {"2.5db", true, 2.5},       {".5", true, 0.5},       {"30", true, 30},       {"-30.00 dB", true, -30},
        {"\xE2\x88\x92" "2 dB", true, -2},                   {"30.01", false, 0},    {"80 dB", false, 0},
        {"loud", false, 0},         {"", false, 0},          {"dB", false, 0},       {"1.2.3", false, 0},
        {"--1", false, 0},          {"1 dBx", false, 0},     {"1 d B", false, 0},    {"+", false, 0},
        {"1234567890123", false, 0}, {"-3.50000000000000000 dB", true, -3.5},
    };
    for (const auto& c : cases) {
        double decibels = 99;
        EXPECT_EQ(trallio::ParseGainText(c.text, 30, &decibels), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(decibels, c.ok ? c.decibels : 99) << c.text;
    }
    const struct {
        double decibels;
        const char* text;
    } shown[] = {{-7, "-7 dB"}, {3.5, "+3.5 dB"}, {-12.25, "-12.25 dB"}, {0, "0 dB"}, {-7.85, "-7.85 dB"}, {20, "+20 dB"}};
    for (const auto& s : shown) {
        char out[trallio::kGainTextOut];
        trallio::FormatGainText(s.decibels, out);
        EXPECT_STREQ(out, s.text);
    }
}

class Levelling
    : public tags_test::SuiteFiles<testing_support::WheelFrameTest, std::string, tags_test::MakeGainFiles> {
protected:
    // Starts every gain file of station 1 in name order, each ended as soon as it plays; the
    // digits of each start's volume command.
    std::vector<int> StartEach(Loudness mode, int32_t volume, bool ducked, bool threaded = false) {
        trallio::ResetRadioState();
        radio.config.mediaThread = trallio::mediaThreadOn = threaded;
        radio.config.loudness = mode;
        radio.config.playOrder = trallio::PlayOrder::kName;
        radio.config.duckPercent = 40;
        radio.mix.dialogueDucked = ducked;
        radio.volume = volume;
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
        std::vector<int> digits;
        for (size_t pass = 0; pass < 2 * files.size() && digits.size() < files.size(); ++pass) {
            fakehost::ClearEvents();
            trallio::UpdatePlayback();
            if (threaded) {
                // The thread answers the open, reads the tags and sends the first volume; the radio
                // takes the answer on its next pass.
                trallio::DrainMediaQueue();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                trallio::UpdatePlayback();
                trallio::DrainMediaQueue();
            }
            for (const std::string& line : LinesStartingWith("media setaudio ")) {
                digits.push_back(std::atoi(line.substr(line.rfind(' ') + 1).c_str()));
            }
            fakehost::FinishTrack(Quoted(radio.currentFolder, radio.currentTrack));
        }
        return digits;
    }
};

TEST_F(Levelling, EachFileSendsTheDigitsOfItsGainAtEveryVolumeWithAndWithoutDucking) {
    ASSERT_EQ(files.size(), std::size(tags_test::kGainCases)) << "the gain files could not be made";
    for (const std::string& name : files) {
        MakeFolder("Trallio/Radio 1");
        fs::copy_file(folder + "/" + name, gameFolder + "/Trallio/Radio 1/" + name);
    }
    const int32_t volumes[3] = {90, 500, 0};
    for (int v = 0; v < 3; ++v) {
        for (bool ducked : {false, true}) {
            const std::vector<int> digits = StartEach(Loudness::kTrack, volumes[v], ducked);
            ASSERT_EQ(digits.size(), files.size());
            for (size_t i = 0; i < files.size(); ++i) {
                const tags_test::GainCase& file = tags_test::kGainCases[i];
                EXPECT_EQ(digits[i], ducked ? file.ducked[v] : file.track[v])
                    << file.name << " at volume " << volumes[v] << (ducked ? ", ducked" : "");
            }
        }
    }
    // With media_thread the thread reads the gains and levels the first volume itself.
    const std::vector<int> threaded = StartEach(Loudness::kTrack, 90, false, true);
    trallio::SettleMediaThread();
    const std::vector<int> album = StartEach(Loudness::kAlbum, 90, false);
    const std::vector<int> off = StartEach(Loudness::kOff, 90, false);
    ASSERT_EQ(threaded.size(), files.size());
    ASSERT_EQ(album.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const tags_test::GainCase& file = tags_test::kGainCases[i];
        EXPECT_EQ(threaded[i], file.track[0]) << "media_thread: " << file.name;
        EXPECT_EQ(album[i], file.album90) << file.name;
        EXPECT_EQ(off[i], 90) << "loudness = off ignores the gains: " << file.name;
    }
}

// One tag read gives the title and the gain; with both settings off no tag is read (the record
// keeps no title), and with loudness off no gain is looked for.
TEST_F(Levelling, OneTagReadForTitleAndGainAndNoneWithBothOff) {
    MakeFolder("Trallio/Radio 1");
    fs::copy_file(folder + "/g01 id3v2.mp3", gameFolder + "/Trallio/Radio 1/g01 id3v2.mp3");
    const struct {
        Loudness mode;
        bool titles;
        const char* read;  // the title the record holds after the start
        bool fromTag;
        const char* digits;
    } cases[] = {{Loudness::kOff, false, "", false, "90"},
                 {Loudness::kOff, true, "Levelled", false, "90"},
                 {Loudness::kTrack, false, "Levelled", true, "36"},
                 {Loudness::kTrack, true, "Levelled", true, "36"}};
    for (const auto& c : cases) {
        trallio::ResetRadioState();
        radio.config.loudness = c.mode;
        radio.config.titlesFromTags = c.titles;
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
        fakehost::ClearEvents();
        trallio::UpdatePlayback();
        EXPECT_STREQ(radio.trackTitle, c.read) << c.titles;
        EXPECT_EQ(radio.levelling.fromTag, c.fromTag) << c.titles;
        EXPECT_EQ(LinesStartingWith("media setaudio "),
                  std::vector<std::string>{"media setaudio " + Quoted("Trallio\\Radio 1", "g01 id3v2.mp3") +
                                           " volume to " + c.digits});
    }
}

TEST_F(Levelling, TheWheelAndTheDuckingSendTheLevelledLevelAndTheWheelKeepsItsVolume) {
    // a.mp3 has no tags: it plays at loudness_default, -6 dB here (90: 45; ducked to 45: 23).
    radio.config.loudness = Loudness::kAlbum;
    radio.config.loudnessDefault = -6;
    radio.config.duckPercent = 50;
    RideWithStationOne();
    const std::string setAudio = "media setaudio " + Quoted("Trallio\\Radio 1", "a.mp3") + " volume to ";
    EXPECT_EQ(LinesStartingWith("media setaudio "), std::vector<std::string>{setAudio + "45"});
    Keys(true, true);
    testing_support::Frame();
    EXPECT_EQ(LinesStartingWith("media setaudio "), std::vector<std::string>{setAudio + "45"});
    Keys(false, false);
    fakehost::GetWorld().conversationPlaying = true;
    testing_support::Frame();
    EXPECT_EQ(LinesStartingWith("media setaudio "), std::vector<std::string>{setAudio + "23"});
    EXPECT_EQ(radio.volume, 90);
}

TEST_F(Levelling, TheSettingsAreReadFromConfig) {
    const struct {
        const char* text;
        Loudness mode;
        double fallback;
    } cases[] = {
        {"", Loudness::kOff, -7},
        {"[config]\nloudness = Track\nloudness_default = -3,5 dB\n", Loudness::kTrack, -3.5},
        {"[config]\nloudness = ALBUM\nloudness_default = 20\n", Loudness::kAlbum, 20},
        {"[config]\nloudness = on\nloudness_default = -21\n", Loudness::kOff, -7},
        {"[config]\nloudness = album track\nloudness_default = quiet\n", Loudness::kOff, -7},
        {"[config]\nmedia_thread = True\nloudness = track\n", Loudness::kTrack, -7},
    };
    for (const auto& c : cases) {
        ReadSettings(c.text);
        EXPECT_EQ(radio.config.loudness, c.mode) << c.text;
        EXPECT_DOUBLE_EQ(radio.config.loudnessDefault, c.fallback) << c.text;
    }
}

}  // namespace
