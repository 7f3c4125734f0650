// Reading the settings file: the radio's rules on top of the file reader's.
#include <cstring>
#include <memory>
#include <string>

#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"
#include "support.h"

using namespace testing_support;

namespace {

class Settings : public testing_support::RadioTest {};

TEST_F(Settings, NoFileGivesDefaultsInBuffersOwnedByTheState) {
    trallio::LoadSettings();
    for (int i = 0; i < trallio::kStationCount; ++i) {
        EXPECT_EQ(radio.stationFolders[i], radio.stationBuffers[i]);
        EXPECT_STREQ(radio.stationFolders[i], ("Trallio\\Radio " + std::to_string(i + 1)).c_str());
        // The rest of the buffer is zeroed.
        for (int b = static_cast<int>(std::string(radio.stationFolders[i]).size()); b < trallio::kSettingsTextSize; ++b) {
            ASSERT_EQ(radio.stationBuffers[i][b], 0);
        }
    }
    EXPECT_FALSE(radio.mediaPlayerMode);
}

// Each file's three station folders and media_player_mode: a key set alone, values cut to 254
// bytes, names and sections without case and blanks, an empty value, the first of repeated keys, and
// keys outside their section.
TEST_F(Settings, StationsAndModeFromTheFile) {
    const std::string radio1 = "Trallio\\Radio 1", radio2 = "Trallio\\Radio 2", radio3 = "Trallio\\Radio 3";
    const struct {
        std::string file;
        std::string folders[trallio::kStationCount];
        bool mediaPlayerMode;
    } cases[] = {
        {"[RADIOS]\nradio 2 = D:\\Music\\Western\n", {radio1, "D:\\Music\\Western", radio3}, false},
        {"[RADIOS]\nradio 1=" + std::string(300, 'a') + "\nradio 3=" + std::string(10000, 'b') + "\n",
         {std::string(254, 'a'), radio2, std::string(254, 'b')}, false},
        {"; players' stations\r\n  [ radios ]  \r\n\tRADIO 1\t=\t  Trallio\\Country  \r\n[CONFIG]\r\nMedia_Player_Mode = true\r\n",
         {"Trallio\\Country", radio2, radio3}, true},
        {"[RADIOS]\nradio 1=\n", {"", radio2, radio3}, false},
        {"[RADIOS]\nradio 1=first\nradio 1=second\n[config]\nmedia_player_mode=true\n[RADIOS]\nradio 1=third\nradio 2=later\n",
         {"first", "later", radio3}, true},
        {"radio 1=nowhere\n[other]\nradio 1=elsewhere\nmedia_player_mode=true\n", {radio1, radio2, radio3}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 80));
        ReadSettings(c.file);
        for (int i = 0; i < trallio::kStationCount; ++i) {
            EXPECT_EQ(std::string(radio.stationFolders[i]), c.folders[i]) << "station " << i + 1;
            EXPECT_NE(radio.stationFolders[i], trallio::emptyText);  // an empty value is a text of its own
        }
        EXPECT_EQ(radio.mediaPlayerMode, c.mediaPlayerMode);
    }
}

TEST_F(Settings, MediaPlayerModeIsOnOnlyForTrueAndLowerCaseTrue) {
    const struct {
        const char* value;
        bool on;
    } cases[] = {
        {"True", true},   {"true", true},   {"  True  ", true}, {"TRUE", false}, {"1", false},
        {"yes", false},   {"Truex", false}, {"", false},        {"False", false}, {"tru", false},
        {"True;", false},
    };
    for (const auto& c : cases) {
        ReadSettings(std::string("[config]\nmedia_player_mode=") + c.value + "\n");
        EXPECT_EQ(radio.mediaPlayerMode, c.on) << "value \"" << c.value << "\"";
    }
}

// The on/off rule reads the text it is given and no further: each value sits in a heap block of
// exactly its own size, so a read past its terminator is caught by the sanitizer build.
TEST(OnOffRule, ComparesWholeTextsWithinTheirOwnBytes) {
    const struct {
        const char* value;
        bool on;
    } cases[] = {{"True", true}, {"true", true}, {"", false}, {"T", false}, {"tru", false}, {"Truex", false},
                 {"TRUE", false}};
    for (const auto& c : cases) {
        const size_t size = std::strlen(c.value) + 1;
        const std::unique_ptr<char[]> text(new char[size]);
        std::memcpy(text.get(), c.value, size);
        EXPECT_EQ(trallio::IsTrueText(text.get()), c.on) << "value \"" << c.value << "\"";
    }
}

TEST_F(Settings, TwoStationsWithTheSameFolderAreStillTwoTexts) {
    ReadSettings("[RADIOS]\nradio 1=Music\nradio 2=Music\n");
    EXPECT_STREQ(radio.stationFolders[0], radio.stationFolders[1]);
    EXPECT_NE(radio.stationFolders[0], radio.stationFolders[1]);
}

TEST_F(Settings, BadFilesNeverCrashAndCutEveryValue) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131 + 7) & 0xFF);
    }
    const std::string cases[] = {
        binary,
        "[RADIOS]\nradio 1=" + binary.substr(1, 200) + "\n",
        "[RADIOS]\nradio 2=" + std::string(10 * 1024, 'x'),  // no final newline
        "[RADIOS",
        "[]\n=\n==\n[RADIOS]\n=value\nradio 3\n",
        std::string("[RADIOS]\nradio 1=a\0b\n", 19),
        "",
    };
    for (const std::string& contents : cases) {
        ReadSettings(contents);
        for (int i = 0; i < trallio::kStationCount; ++i) {
            EXPECT_LE(std::string(radio.stationFolders[i]).size(), 254u);
        }
    }
    ReadSettings("[RADIOS]\nradio 2=" + std::string(10 * 1024, 'x'));
    EXPECT_EQ(std::string(radio.stationFolders[1]), std::string(254, 'x'));
}

TEST_F(Settings, ReaderHonoursTheBufferSizeAndTheDefault) {
    WriteSettings("[s]\nk=abcdef\n");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, 4, ".\\Trallio\\Trallio.ini"), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], '#');
    EXPECT_EQ(GetPrivateProfileStringA("s", "missing", "dflt", buffer, 8, ".\\Trallio\\Trallio.ini"), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, 8, "Trallio/none.ini"), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, 0, ".\\Trallio\\Trallio.ini"), 0u);
    WriteSettings("[s]\nk=\"quoted value\"\nk2=\"\n");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, 8, ".\\Trallio\\Trallio.ini"), 7u);
    EXPECT_STREQ(buffer, "quoted ");
    GetPrivateProfileStringA("s", "k2", "", buffer, 8, ".\\Trallio\\Trallio.ini");
    EXPECT_STREQ(buffer, "\"");
}

}  // namespace
