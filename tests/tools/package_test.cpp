// The settings file the zip ships: every key present, and the radio's own reading of it (with the
// Unix line ends of the repository and the Windows ones of the zip) gives exactly the defaults.
#include <fstream>
#include <sstream>

#include "host/remembered_state.h"
#include "host/settings.h"
#include "platform/win32.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"
#include "support.h"

namespace {

std::string ShippedSettings() {
    std::ifstream file(TRALLIO_PACKAGE_DIR "/Trallio/Trallio.ini", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string WithWindowsLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

class ShippedSettingsFile : public testing_support::RadioTest {
protected:
    void ExpectDefaults(const std::string& contents) {
        MakeFile("Trallio/Trallio.ini", contents);
        struct Key {
            const char* section;
            const char* key;
            const char* value;
        };
        const Key keys[] = {{"RADIOS", "radio 1", "Trallio\\Radio 1"},
                            {"RADIOS", "radio 2", "Trallio\\Radio 2"},
                            {"RADIOS", "radio 3", "Trallio\\Radio 3"},
                            {"config", "media_player_mode", "False"},
                            {"config", "unicode_names", "False"},
                            {"config", "order", "folder"},
                            {"config", "remember", "False"},
                            {"config", "duck_dialogue", ""},
                            {"config", "pause_in_menus", "False"},
                            {"config", "titles", "file"},
                            {"config", "controller", "False"},
                            {"config", "controller_button", "INPUT_SELECT_RADAR_MODE"},
                            {"config", "controller_hold_ms", "300"}};
        for (const Key& k : keys) {
            char value[255];
            GetPrivateProfileStringA(k.section, k.key, "(missing)", value, sizeof value, ".\\Trallio\\Trallio.ini");
            EXPECT_STREQ(value, k.value) << "[" << k.section << "] " << k.key;
        }
        trallio::LoadSettings();
        EXPECT_STREQ(trallio::radio.stationFolders[0], "Trallio\\Radio 1");
        EXPECT_STREQ(trallio::radio.stationFolders[1], "Trallio\\Radio 2");
        EXPECT_STREQ(trallio::radio.stationFolders[2], "Trallio\\Radio 3");
        EXPECT_FALSE(trallio::radio.mediaPlayerMode);
        EXPECT_FALSE(trallio::radio.config.unicodeNames);
        EXPECT_EQ(trallio::radio.config.playOrder, trallio::PlayOrder::kFolder);
        EXPECT_FALSE(trallio::radio.config.remember);
        EXPECT_EQ(trallio::radio.config.duckPercent, -1);
        EXPECT_FALSE(trallio::radio.config.pauseInMenus);
        EXPECT_FALSE(trallio::radio.config.titlesFromTags);
        EXPECT_FALSE(trallio::radio.config.controller);
        EXPECT_STREQ(trallio::radio.config.controllerButton, "INPUT_SELECT_RADAR_MODE");
        EXPECT_EQ(trallio::radio.config.controllerHoldMs, 300);
    }
};

TEST_F(ShippedSettingsFile, EveryKeyWithItsDefaultAsTheRepositoryKeepsIt) {
    const std::string text = ShippedSettings();
    ASSERT_FALSE(text.empty());
    ExpectDefaults(text);
}

TEST_F(ShippedSettingsFile, EveryKeyWithItsDefaultAsTheZipShipsIt) {
    ExpectDefaults(WithWindowsLineEnds(ShippedSettings()));
}

}  // namespace
