// Reading the settings file: the radio's rules on top of the file reader's.
#include <cstring>
#include <memory>
#include <string>

#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"
#include "support.h"

using trallio::radio;

namespace {

class Settings : public testing_support::RadioTest {
protected:
    void WriteSettings(const std::string& contents) { MakeFile("Trallio/Trallio.ini", contents); }
};

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

TEST_F(Settings, OnlyRadioTwoSetKeepsTheOtherDefaults) {
    WriteSettings("[RADIOS]\nradio 2 = D:\\Music\\Western\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], "Trallio\\Radio 1");
    EXPECT_STREQ(radio.stationFolders[1], "D:\\Music\\Western");
    EXPECT_STREQ(radio.stationFolders[2], "Trallio\\Radio 3");
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
        trallio::ResetRadioState();
        WriteSettings(std::string("[config]\nmedia_player_mode=") + c.value + "\n");
        trallio::LoadSettings();
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

TEST_F(Settings, LongValuesKeepTheirFirst254Bytes) {
    const std::string folder(300, 'a');
    WriteSettings("[RADIOS]\nradio 1=" + folder + "\nradio 3=" + std::string(10000, 'b') + "\n");
    trallio::LoadSettings();
    EXPECT_EQ(std::string(radio.stationFolders[0]), folder.substr(0, 254));
    EXPECT_EQ(std::string(radio.stationFolders[2]), std::string(254, 'b'));
    EXPECT_STREQ(radio.stationFolders[1], "Trallio\\Radio 2");
}

TEST_F(Settings, TwoStationsWithTheSameFolderAreStillTwoTexts) {
    WriteSettings("[RADIOS]\nradio 1=Music\nradio 2=Music\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], radio.stationFolders[1]);
    EXPECT_NE(radio.stationFolders[0], radio.stationFolders[1]);
}

TEST_F(Settings, ReaderMatchesNamesWithoutCaseAndTrimsBlanks) {
    WriteSettings("; players' stations\r\n  [ radios ]  \r\n\tRADIO 1\t=\t  Trallio\\Country  \r\n[CONFIG]\r\nMedia_Player_Mode = true\r\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], "Trallio\\Country");
    EXPECT_TRUE(radio.mediaPlayerMode);
}

TEST_F(Settings, EmptyValueIsAnEmptyStationNotTheDefault) {
    WriteSettings("[RADIOS]\nradio 1=\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], "");
    EXPECT_NE(radio.stationFolders[0], trallio::emptyText);
}

TEST_F(Settings, DuplicateSectionsAndKeysTakeTheFirstValue) {
    WriteSettings("[RADIOS]\nradio 1=first\nradio 1=second\n[config]\nmedia_player_mode=true\n[RADIOS]\nradio 1=third\nradio 2=later\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], "first");
    EXPECT_STREQ(radio.stationFolders[1], "later");
    EXPECT_TRUE(radio.mediaPlayerMode);
}

TEST_F(Settings, KeysOutsideTheirSectionAreNotRead) {
    WriteSettings("radio 1=nowhere\n[other]\nradio 1=elsewhere\nmedia_player_mode=true\n");
    trallio::LoadSettings();
    EXPECT_STREQ(radio.stationFolders[0], "Trallio\\Radio 1");
    EXPECT_FALSE(radio.mediaPlayerMode);
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
        trallio::ResetRadioState();
        WriteSettings(contents);
        trallio::LoadSettings();
        for (int i = 0; i < trallio::kStationCount; ++i) {
            EXPECT_LE(std::string(radio.stationFolders[i]).size(), 254u);
        }
    }
    trallio::ResetRadioState();
    WriteSettings("[RADIOS]\nradio 2=" + std::string(10 * 1024, 'x'));
    trallio::LoadSettings();
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
