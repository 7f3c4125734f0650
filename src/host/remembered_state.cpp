#include "host/remembered_state.h"

#include <cstdio>
#include <cstring>

#include "platform/win32.h"
#include "playback/playback.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr char kSettingsPath[] = ".\\Trallio\\Trallio.ini";
constexpr char kTemporaryPath[] = ".\\Trallio\\state.ini.tmp";
constexpr char kSection[] = "state";

// A read of the state file; an absent key reads as the empty text, which no value accepts.
void ReadValue(const char* key, char* value) {
    std::memset(value, 0, kSettingsTextSize);
    GetPrivateProfileStringA(kSection, key, "", value, kSettingsTextSize, kStatePath);
    value[kSettingsTextSize - 1] = 0;
}

// One to three decimal digits and nothing else, 0..kMaxVolume.
bool ParseVolume(const char* text, int32_t* volume) {
    const size_t length = std::strlen(text);
    if (length == 0 || length > 3) {
        return false;
    }
    int32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    if (value > kMaxVolume) {
        return false;
    }
    *volume = value;
    return true;
}

// "0", "1" or "2", or "none".
bool ParseStation(const char* text, int8_t* station) {
    if (std::strcmp(text, "none") == 0) {
        *station = -1;
        return true;
    }
    if (text[0] >= '0' && text[0] < '0' + kStationCount && text[1] == 0) {
        *station = static_cast<int8_t>(text[0] - '0');
        return true;
    }
    return false;
}

bool ParseFlag(const char* text, bool* flag) {
    if ((text[0] == '0' || text[0] == '1') && text[1] == 0) {
        *flag = text[0] == '1';
        return true;
    }
    return false;
}

int8_t ChosenStation() {
    for (int i = 0; i < kStationCount; ++i) {
        if (radio.currentFolder == radio.stationFolders[i]) {
            return static_cast<int8_t>(i);
        }
    }
    return -1;
}

bool WriteStateFile(int32_t volume, int8_t station, bool off) {
    char text[96];
    char stationText[8];
    if (station < 0) {
        std::strcpy(stationText, "none");
    } else {
        std::snprintf(stationText, sizeof stationText, "%d", station);
    }
    const int length = std::snprintf(text, sizeof text, "[state]\r\nvolume=%d\r\nstation=%s\r\noff=%d\r\n",
                                     static_cast<int>(volume), stationText, off ? 1 : 0);
    HANDLE file = CreateFileA(kTemporaryPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool complete = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) != 0 &&
                          written == static_cast<DWORD>(length) && FlushFileBuffers(file) != 0;
    CloseHandle(file);
    if (!complete || MoveFileExA(kTemporaryPath, kStatePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        // A full disk or a read-only state file: the old file stays as it was, and nothing else.
        DeleteFileA(kTemporaryPath);
        return false;
    }
    return true;
}

}  // namespace

void LoadRememberSetting() {
    char value[kSettingsTextSize] = {};
    GetPrivateProfileStringA("config", "remember", "False", value, kSettingsTextSize, kSettingsPath);
    value[kSettingsTextSize - 1] = 0;
    radio.remember = std::memcmp(value, "True", 5) == 0 || std::memcmp(value, "true", 5) == 0;
    if (radio.remember) {
        LoadRememberedState();
    }
}

void LoadRememberedState() {
    char value[kSettingsTextSize];
    int32_t volume = 90;
    int8_t station = -1;
    bool off = false;
    ReadValue("volume", value);
    bool valid = ParseVolume(value, &volume);
    ReadValue("station", value);
    valid = valid && ParseStation(value, &station);
    ReadValue("off", value);
    valid = valid && ParseFlag(value, &off);
    if (!valid) {
        volume = 90;
        station = -1;
        off = false;
    }
    radio.volume = volume;
    radio.savedVolume = volume;
    radio.savedStation = station;
    radio.savedOff = off;
    radio.rememberedStartPending = station >= 0 && !off;
}

void StartRememberedStation() {
    if (!radio.rememberedStartPending) {
        return;
    }
    radio.rememberedStartPending = false;
    if (radio.currentFolder != emptyText) {
        return;
    }
    radio.radioOn = true;
    SelectStation(radio.stationFolders[radio.savedStation]);
}

void SaveRememberedState() {
    // Until the player chooses a station in this game, the remembered choice (and its off flag)
    // still stands.
    const bool chosen = radio.currentFolder != emptyText;
    const int8_t station = chosen ? ChosenStation() : radio.savedStation;
    const bool off = chosen ? radio.stoppedByUser : radio.savedOff;
    if (radio.volume == radio.savedVolume && station == radio.savedStation && off == radio.savedOff) {
        return;
    }
    if (WriteStateFile(radio.volume, station, off)) {
        radio.savedVolume = radio.volume;
        radio.savedStation = station;
        radio.savedOff = off;
    }
}

}  // namespace trallio
