// The remembered state at work in the frames: the remembered station started on the first eligible
// frame, and the state file written at the frame the wheel closes.
#include <cstdio>
#include <cstring>

#include "host/remembered_state.h"
#include "platform/win32.h"
#include "playback/playback.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr char kTemporaryPath[] = ".\\Trallio\\state.ini.tmp";

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
    // Written and renamed into place without waiting for the disk, which would stall this frame on
    // a busy drive: after a power cut the file can be empty or torn, and such a file reads as the
    // defaults.
    DWORD written = 0;
    const bool complete = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) != 0 &&
                          written == static_cast<DWORD>(length);
    CloseHandle(file);
    if (!complete || MoveFileExA(kTemporaryPath, kStatePath, MOVEFILE_REPLACE_EXISTING) == 0) {
        // A full disk or a read-only state file: the old file stays as it was, and nothing else.
        DeleteFileA(kTemporaryPath);
        return false;
    }
    return true;
}

}  // namespace

void StartRememberedStation() {
    if (!radio.remembered.startPending) {
        return;
    }
    radio.remembered.startPending = false;
    if (radio.currentFolder != emptyText) {
        return;
    }
    radio.radioOn = true;
    SelectStation(radio.stationFolders[radio.remembered.station]);
}

void SaveRememberedState() {
    // Until the player chooses a station in this game, the remembered choice (and its off flag)
    // still stands.
    const bool chosen = radio.currentFolder != emptyText;
    const int8_t station = chosen ? ChosenStation() : radio.remembered.station;
    const bool off = chosen ? radio.stoppedByUser : radio.remembered.off;
    if (radio.volume == radio.remembered.volume && station == radio.remembered.station && off == radio.remembered.off) {
        return;
    }
    if (WriteStateFile(radio.volume, station, off)) {
        radio.remembered.volume = radio.volume;
        radio.remembered.station = station;
        radio.remembered.off = off;
    }
}

}  // namespace trallio
