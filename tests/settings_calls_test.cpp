// The settings step's calls to the platform reader, in order and with their exact arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace {

struct Read {
    std::string section, key, defaultValue, file;
    char* destination;
    DWORD size;
    bool zeroed;
};
std::vector<Read> reads;
const char* answer = nullptr;  // what the reader delivers for every read; nullptr: the default

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName) {
    bool zeroed = true;
    for (DWORD i = 0; i < size; ++i) {
        zeroed = zeroed && returned[i] == 0;
    }
    reads.push_back({section, key, defaultValue, fileName, returned, size, zeroed});
    const char* value = answer != nullptr ? answer : defaultValue;
    std::strncpy(returned, value, size - 1);
    returned[size - 1] = 0;
    return static_cast<DWORD>(std::strlen(returned));
}

namespace {

TEST(SettingsCalls, FiveReadsInOrderIntoTheStationsOwnBuffers) {
    trallio::ResetRadioState();
    reads.clear();
    answer = nullptr;
    trallio::LoadSettings();
    // The five reads come first and in this order; the sound-mix keys are read after them.
    ASSERT_GE(reads.size(), 5u);
    const char* const keys[] = {"radio 1", "radio 2", "radio 3", "media_player_mode", "unicode_names"};
    for (int i = 0; i < 5; ++i) {
        const bool station = i < 3;
        EXPECT_EQ(reads[i].section, station ? "RADIOS" : "config");
        EXPECT_EQ(reads[i].key, keys[i]);
        EXPECT_EQ(reads[i].defaultValue, station ? "Trallio\\Radio " + std::to_string(i + 1) : "False");
        EXPECT_EQ(reads[i].file, ".\\Trallio\\Trallio.ini");
        EXPECT_EQ(reads[i].size, 255u);
        if (station) {
            EXPECT_TRUE(reads[i].zeroed) << "station buffer " << i << " is zeroed before its read";
            EXPECT_EQ(reads[i].destination, trallio::radio.stationFolders[i]);
        }
    }
    EXPECT_FALSE(trallio::radio.mediaPlayerMode);
    EXPECT_FALSE(trallio::radio.config.unicodeNames);
}

TEST(SettingsCalls, WhatTheReaderDeliversIsWhatTheRadioKeeps) {
    trallio::ResetRadioState();
    reads.clear();
    answer = "true";
    trallio::LoadSettings();
    ASSERT_GE(reads.size(), 5u);
    EXPECT_STREQ(trallio::radio.stationFolders[0], "true");
    EXPECT_TRUE(trallio::radio.mediaPlayerMode);
    EXPECT_TRUE(trallio::radio.config.unicodeNames);
    EXPECT_NE(reads[3].destination, trallio::radio.stationFolders[0]);
    answer = nullptr;
}

// The settings step reads the later keys after the five, in the order they came: the sound mix,
// the play order, the remembered state, the titles, the game pad, the loudness levelling.
TEST(SettingsCalls, SoundMixKeysAreReadAfterTheFiveInto255Bytes) {
    trallio::ResetRadioState();
    reads.clear();
    trallio::LoadSettings();
    ASSERT_EQ(reads.size(), 16u);
    const char* const keys[] = {"duck_dialogue", "pause_in_menus",    "order",              "remember",    "titles",
                                "controller",    "controller_button", "controller_hold_ms", "media_thread", "loudness",
                                "loudness_default"};
    const char* const defaults[] = {"", "False", "folder", "False", "file", "False", "INPUT_SELECT_RADAR_MODE", "300",
                                    "False", "off", "-7"};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(reads[5 + i].section, "config");
        EXPECT_EQ(reads[5 + i].key, keys[i]);
        EXPECT_EQ(reads[5 + i].defaultValue, defaults[i]);
        EXPECT_EQ(reads[5 + i].file, ".\\Trallio\\Trallio.ini");
        EXPECT_EQ(reads[5 + i].size, 255u);
        EXPECT_TRUE(reads[5 + i].zeroed);
    }
    EXPECT_EQ(trallio::radio.config.duckPercent, -1);
    EXPECT_FALSE(trallio::radio.config.pauseInMenus);
}

}  // namespace
