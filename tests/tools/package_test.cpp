// The settings file the zip ships: saved so that Windows reads every section, each key as written,
// and the radio's own settings step reading it (with the Unix line ends of the repository and the
// Windows ones of the zip) into the recommended radio. The player README names the version.
#include "host/settings.h"
#include "platform/win32.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "shipped_report.h"
#include "support.h"

namespace {

using namespace checker_test;

class ShippedSettingsFile : public testing_support::RadioTest {
protected:
    void ExpectRecommended(const std::string& contents) {
        MakeFile("Trallio/Trallio.ini", contents);
        struct Key {
            const char* section;
            const char* key;
            const char* value;  // "(missing)": absent, or shown commented
        };
        const Key keys[] = {{"RADIOS", "radio 1", "Trallio\\Radio 1"},
                            {"RADIOS", "radio 2", "Trallio\\Radio 2"},
                            {"RADIOS", "radio 3", "Trallio\\Radio 3"},
                            {"config", "media_player_mode", "(missing)"},
                            {"config", "unicode_names", "True"},
                            {"config", "order", "(missing)"},
                            {"config", "remember", "True"},
                            {"config", "duck_dialogue", "40"},
                            {"config", "pause_in_menus", "True"},
                            {"config", "titles", "tags"},
                            {"config", "controller", "True"},
                            {"config", "controller_button", "(missing)"},
                            {"config", "controller_hold_ms", "(missing)"},
                            {"config", "media_thread", "True"},
                            {"config", "loudness", "album"},
                            {"config", "loudness_default", "(missing)"}};
        for (const Key& k : keys) {
            char value[255];
            GetPrivateProfileStringA(k.section, k.key, "(missing)", value, sizeof value, ".\\Trallio\\Trallio.ini");
            EXPECT_STREQ(value, k.value) << "[" << k.section << "] " << k.key;
        }

        trallio::LoadSettings();
        const trallio::RadioConfig& config = trallio::radio.config;
        EXPECT_STREQ(trallio::radio.stationFolders[0], "Trallio\\Radio 1");
        EXPECT_STREQ(trallio::radio.stationFolders[1], "Trallio\\Radio 2");
        EXPECT_STREQ(trallio::radio.stationFolders[2], "Trallio\\Radio 3");
        EXPECT_STREQ(config.controllerButton, "INPUT_SELECT_RADAR_MODE");
        struct Value {
            const char* setting;
            long got;
            long want;
        };
        const Value values[] = {
            {"media_player_mode", trallio::radio.mediaPlayerMode, false},
            {"unicode_names", config.unicodeNames, true},
            {"order", static_cast<long>(config.playOrder), static_cast<long>(trallio::PlayOrder::kFolder)},
            {"remember", config.remember, true},
            {"duck_dialogue", config.duckPercent, 40},
            {"pause_in_menus", config.pauseInMenus, true},
            {"titles", config.titlesFromTags, true},
            {"controller", config.controller, true},
            {"controller_hold_ms", config.controllerHoldMs, 300},
            {"media_thread", config.mediaThread, true},
            {"loudness", static_cast<long>(config.loudness), static_cast<long>(trallio::Loudness::kAlbum)},
            {"loudness_default", static_cast<long>(config.loudnessDefault), -7},
        };
        for (const Value& v : values) {
            EXPECT_EQ(v.got, v.want) << v.setting;
        }
    }
};

TEST_F(ShippedSettingsFile, TheRecommendedRadioAsTheRepositoryKeepsIt) {
    const std::string text = PackageFile("Trallio/Trallio.ini");
    ASSERT_FALSE(text.empty());
    // A comment first and no byte order mark: Windows reads the first section whatever the editor.
    EXPECT_EQ(text.compare(0, 2, "; "), 0) << text.substr(0, 8);
    ExpectRecommended(text);
}

TEST_F(ShippedSettingsFile, TheRecommendedRadioAsTheZipShipsIt) {
    ExpectRecommended(WithWindowsLineEnds(PackageFile("Trallio/Trallio.ini")));
}

TEST(PlayerReadme, SaysWhatIsNewInThisVersion) {
    EXPECT_NE(PackageFile("README.txt").find("What's new in " TRALLIO_VERSION "\n"), std::string::npos);
}

}  // namespace
