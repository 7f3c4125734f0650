#include "host/remembered_state.h"

#include <cstring>

#include "host/settings.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

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

}  // namespace

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
    radio.remembered.volume = volume;
    radio.remembered.station = station;
    radio.remembered.off = off;
    radio.remembered.startPending = station >= 0 && !off;
}

}  // namespace trallio
