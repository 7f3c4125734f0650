// The settings file as the player may leave it: any bytes at all. The reader must hand back either
// the default or bytes of one line of the file, cut to the buffer and terminated, never writing
// past the size it was given; the settings step must leave three terminated station texts in the
// record's own buffers.
//
// Input: one byte for the buffer size, one for the question asked, then the file's bytes.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";

struct Question {
    const char* section;
    const char* key;
    const char* fallback;
};

const Question kQuestions[] = {
    {"RADIOS", "radio 1", "Trallio\\Radio 1"},
    {"RADIOS", "radio 3", "Trallio\\Radio 3"},
    {"config", "media_player_mode", "False"},
    {"config", "duck_dialogue", ""},
    {"radios", "RADIO 2", ""},
    {"", "", "d"},
    {"s", "k", "a default longer than a small buffer"},
    {"[RADIOS]", "radio 1=", "x"},
    {"RADIOS", " radio 1 ", "y"},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::ScratchFolder();
    if (mkdir("Trallio", 0755) != 0) {
        std::perror("Trallio");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const DWORD bufferSize = data[0];  // 0..255: the radio itself asks with 255
    const Question& q = kQuestions[data[1] % (sizeof kQuestions / sizeof kQuestions[0])];
    const std::string contents(reinterpret_cast<const char*>(data + 2), size - 2);
    fuzzing::WriteWholeFile("Trallio/Trallio.ini", contents.data(), contents.size());

    // The reader, with guard bytes behind the size it is given.
    constexpr size_t kGuard = 32;
    char buffer[256 + kGuard];
    std::memset(buffer, 0x5A, sizeof buffer);
    const DWORD length = GetPrivateProfileStringA(q.section, q.key, q.fallback, buffer, bufferSize, kSettingsPath);
    for (size_t i = bufferSize; i < sizeof buffer; ++i) {
        FUZZ_CHECK(static_cast<unsigned char>(buffer[i]) == 0x5A, "byte " + std::to_string(i) + " written");
    }
    if (bufferSize == 0) {
        FUZZ_CHECK(length == 0, "length " + std::to_string(length));
    } else {
        FUZZ_CHECK(std::memchr(buffer, 0, bufferSize) != nullptr, "value not terminated");
        const std::string value(buffer);
        FUZZ_CHECK(length == value.size(), "returned length differs from the text");
        FUZZ_CHECK(length <= bufferSize - 1, "value longer than the buffer allows");
        // The default, cut; or bytes of one line of the file.
        const bool isDefault = std::string(q.fallback).compare(0, value.size(), value) == 0;
        if (!isDefault) {
            FUZZ_CHECK(contents.find(value) != std::string::npos, "value is neither the default nor in the file");
            FUZZ_CHECK(value.find('\n') == std::string::npos, "value spans lines");
        }
        // Reading again gives the same.
        char again[256];
        GetPrivateProfileStringA(q.section, q.key, q.fallback, again, bufferSize, kSettingsPath);
        FUZZ_CHECK(std::strcmp(again, buffer) == 0, "a second read differs");
    }

    // The settings step over the same file.
    trallio::ResetRadioState();
    trallio::LoadSettings();
    for (int i = 0; i < trallio::kStationCount; ++i) {
        FUZZ_CHECK(trallio::radio.stationFolders[i] == trallio::radio.stationBuffers[i],
                   "station " + std::to_string(i) + " not in its own buffer");
        FUZZ_CHECK(std::memchr(trallio::radio.stationBuffers[i], 0, trallio::kSettingsTextSize) != nullptr,
                   "station " + std::to_string(i) + " not terminated");
    }
    FUZZ_CHECK(trallio::radio.config.duckPercent >= -1 && trallio::radio.config.duckPercent <= 100,
               "duck_dialogue read as " + std::to_string(trallio::radio.config.duckPercent));
    return 0;
}
