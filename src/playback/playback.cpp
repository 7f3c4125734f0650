#include "playback/playback.h"

#include <cstring>

#include "audio/mci_channel.h"
#include "host/native_call.h"
#include "host/natives.h"
#include "playback/audio_filter.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

// Puts a short text in the game's on-screen message log.
void ShowMessage(const char* text) {
    const GameValue message{CallNative64(native::kCreateVarString, 10, "LITERAL_STRING", text)};
    CallNative(native::kMessageLogAddText, message);
    CallNative(native::kMessageLogShow);
    CallNative(native::kMessageLogClear);
}

void SetOpenWorldMusicDisabled(int32_t disabled) {
    CallNative(native::kSetAudioFlag, "OpenWorldMusicDisabled", disabled);
}

// Closes the folder stream. currentTrack may borrow the name field of the stream's entry record;
// it then moves to a copy, so that it stays a readable name that is not emptyText.
void CloseFolderStream() {
    if (radio.folderStream == nullptr) {
        return;
    }
    // currentTrack is only ever emptyText, the copy, or the name field of this stream's record
    // (which folderEntry no longer shows once the stream has reported its end).
    if (radio.currentTrack != emptyText && radio.currentTrack != radio.lastTrackName) {
        std::strncpy(radio.lastTrackName, radio.currentTrack, sizeof radio.lastTrackName - 1);
        radio.lastTrackName[sizeof radio.lastTrackName - 1] = 0;
        radio.currentTrack = radio.lastTrackName;
    }
    closedir(radio.folderStream);
    radio.folderStream = nullptr;
    radio.folderEntry = nullptr;
}

// Reads entries until one is an audio file. The entry already in folderEntry is tested first
// without a wait; every later entry is tested after one frame, so that a folder full of other
// files spreads its walk over frames. Returns false at the folder's end.
bool FindAudioEntry() {
    while (!IsAudioFile(radio.folderEntry->d_name)) {
        radio.folderEntry = readdir(radio.folderStream);
        if (radio.folderEntry == nullptr) {
            return false;
        }
        scriptWait(0);
    }
    return true;
}

void StartEntryAsTrack() {
    radio.currentTrack = radio.folderEntry->d_name;
    OpenTrack(radio.currentFolder, radio.currentTrack);
    SetTrackVolume(radio.currentFolder, radio.currentTrack);
    radio.trackActive = true;
}

void ReachFolderEnd() {
    radio.stationSwitchPending = true;
    radio.trackActive = false;
    radio.skipRequested = false;
}

void AdvanceStep() {
    CloseTrack(radio.currentFolder, radio.currentTrack);
    // No stream (the last scan of this station failed and the station was chosen again): there is
    // no next entry, which is the folder's end.
    if (radio.folderStream == nullptr) {
        ReachFolderEnd();
        return;
    }
    radio.folderEntry = readdir(radio.folderStream);
    if (radio.folderEntry == nullptr || !FindAudioEntry()) {
        ReachFolderEnd();
        return;
    }
    StartEntryAsTrack();
    radio.skipRequested = false;
}

void WatchStep() {
    if (!radio.trackActive) {
        return;
    }
    if (!IsTrackStopped(radio.currentFolder, radio.currentTrack) && !radio.skipRequested) {
        return;
    }
    AdvanceStep();
}

void ScanStep() {
    CloseFolderStream();
    DIR* stream = radio.currentFolder[0] == 0 ? nullptr : opendir(radio.currentFolder);
    if (stream == nullptr) {
        ShowMessage("Directory doesn't exist. Check your directories");
        return;
    }
    radio.folderStream = stream;
    radio.folderEntry = readdir(stream);
    if (radio.folderEntry == nullptr || !FindAudioEntry()) {
        return;
    }
    radio.folderOpen = true;
    StartEntryAsTrack();
    radio.stationSwitchPending = false;
    WatchStep();
}

void PauseStep() {
    SetOpenWorldMusicDisabled(0);
    if (radio.currentTrack == emptyText || radio.currentFolder == emptyText || radio.paused) {
        return;
    }
    if (IsTrackStopped(radio.currentFolder, radio.currentTrack)) {
        return;
    }
    PauseTrack(radio.currentFolder, radio.currentTrack);
    radio.paused = true;
}

}  // namespace

void UpdatePlayback() {
    if (!radio.radioOn) {
        PauseStep();
        return;
    }
    SetOpenWorldMusicDisabled(1);
    radio.stoppedByUser = false;
    if (radio.paused) {
        ResumeTrack(radio.currentFolder, radio.currentTrack);
        radio.paused = false;
        return;
    }
    if (radio.folderOpen && !radio.stationSwitchPending) {
        WatchStep();
    } else {
        ScanStep();
    }
}

void SelectStation(const char* folder) {
    if (folder == nullptr) {
        ShowMessage("Directory doesn't exist");
        return;
    }
    radio.stationSwitchPending = true;
    if (radio.currentFolder == emptyText) {
        radio.currentFolder = folder;
        return;
    }
    if (radio.currentFolder == folder) {
        radio.stationSwitchPending = false;
        return;
    }
    CloseTrack(radio.currentFolder, radio.currentTrack);
    radio.currentFolder = folder;
}

}  // namespace trallio
