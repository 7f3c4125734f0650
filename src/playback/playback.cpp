#include "playback/playback.h"

#include <cstring>

#include "audio/mci_channel.h"
#include "audio/media_thread.h"
#include "game/message.h"
#include "game/native_call.h"
#include "game/natives.h"
#include "playback/audio_filter.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "playback/sound_mix.h"
#include "playback/track_title.h"
#include "text/text_format.h"

namespace trallio {

namespace {

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
        radio.refusals.opensThisFrame = 0;
    }
    return true;
}

// media_thread: queues the current track's open (with its play, volume and status polls, or its
// close when refused). The track counts as neither accepted nor refused until the thread answers.
void QueueOpen() {
    radio.refusals.trackRefused = false;
    radio.answers.openPending = false;
    if (radio.currentFolder[0] == 0 || radio.currentTrack[0] == 0) {
        return;
    }
    const bool levelling = radio.config.loudness != Loudness::kOff;
    const TagRead tags{radio.config.titlesFromTags || levelling ? CurrentTrackPath() : nullptr, radio.config.loudness,
                       radio.config.loudnessDefault};
    radio.answers.startLevel = VolumeInForce();
    radio.answers.ticket =
        QueueTrackOpen(radio.currentFolder, radio.currentTrack, radio.answers.startLevel, radio.config.unicodeNames, tags);
    radio.answers.openPending = true;
}

// media_thread: takes the thread's answer to the current track's open once it has come. A refused
// track is closed already by the thread and counts as finished, as it does without the thread.
void TakeOpenAnswer() {
    if (!radio.answers.openPending) {
        return;
    }
    const OpenAnswer answer = AnswerToOpen(radio.answers.ticket);
    if (answer == OpenAnswer::kPending) {
        return;
    }
    radio.answers.openPending = false;
    if (answer == OpenAnswer::kRefused) {
        radio.refusals.trackRefused = true;
        return;
    }
    // The tags were read on the thread, after the open, and the track's first volume levelled there.
    TagLineOfOpen(radio.answers.ticket, radio.trackTitle, sizeof radio.trackTitle);
    FormatNowPlaying(radio.answers.nowPlaying, sizeof radio.answers.nowPlaying);
    if (radio.config.loudness != Loudness::kOff) {
        radio.levelling = GainOfOpen(radio.answers.ticket);
        // Volume commands wait while the gain is unknown: a level that changed meanwhile goes now.
        if (VolumeInForce() != radio.answers.startLevel) {
            SendTrackVolume();
        }
    }
}

// media_thread: the latest status of the current track as the thread polled it; a track not yet
// polled counts as playing, and `known` tells which.
TrackMode CurrentTrackMode(bool& known) {
    if (!radio.config.mediaThread) {
        known = true;
        return QueryTrackMode(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
    }
    TrackMode mode = TrackMode::kPlaying;
    known = LatestTrackMode(radio.answers.ticket, mode);
    return mode;
}

// media_thread: while a media call has been running for two seconds the radio sends nothing and
// says so once; it also waits while the queue has no room for a whole pass, or while two opens
// wait for their answers.
bool MediaStalled() {
    constexpr int kPassRoom = 16;
    constexpr uint32_t kMostOpensWaiting = 2;
    const bool hung = MediaServiceHung();
    if (!hung) {
        radio.answers.hungShown = false;
        return MediaQueueRoom() < kPassRoom || OpensAwaitingAnswer() >= kMostOpensWaiting;
    }
    if (!radio.answers.hungShown) {
        radio.answers.hungShown = true;
        ShowMessage("The media service is not answering. Trallio is paused.");
    }
    return true;
}

// Opens `name` as the current track: the entry record's name field in folder order, a name in the
// listing otherwise. A track whose open the service refuses is closed at once and marked refused:
// it counts as finished, and PassOverRefusedTracks goes on.
void StartTrack(const char* name) {
    radio.currentTrack = name;
    radio.trackTitle[0] = 0;
    radio.trackActive = true;
    ++radio.refusals.opensThisFrame;
    radio.refusals.loopSentOpen = true;
    if (radio.config.mediaThread) {
        QueueOpen();
        return;
    }
    if (!OpenTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames)) {
        CloseTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
        radio.refusals.trackRefused = true;
        return;
    }
    radio.refusals.trackRefused = false;
    // One tag read for the title and the gain, before the volume command that carries the gain.
    if (radio.config.titlesFromTags || radio.config.loudness != Loudness::kOff) {
        ReadTrackTitle();
    }
    SendTrackVolume();
}

// "No track in <folder> would play. Run TrallioCheck.exe", shown once when a whole walk of the
// folder was refused.
void ShowRefusedStationMessage() {
    char* text = radio.refusals.message;
    const size_t size = sizeof radio.refusals.message;
    size_t length = AppendBounded(text, size, 0, "No track in ");
    length = AppendBounded(text, size, length, radio.currentFolder);
    AppendBounded(text, size, length, " would play. Run TrallioCheck.exe");
    ShowMessage(text);
}

void ReachFolderEnd() {
    radio.stationSwitchPending = true;
    radio.trackActive = false;
    radio.refusals.trackRefused = false;
    radio.skipRequested = false;
    // A walk that sent opens and had every one refused is not walked again by itself: each new
    // walk would only be refused again.
    if (radio.refusals.loopSentOpen && !radio.refusals.loopAcceptedOpen) {
        radio.refusals.stationRefused = true;
        ShowRefusedStationMessage();
    }
    radio.refusals.loopSentOpen = false;
    radio.refusals.loopAcceptedOpen = false;
}

// Reads on to the next audio file and starts it, or reaches the folder's end.
void StartNextEntry() {
    // No stream (the last scan of this station failed and the station was chosen again): there is
    // no next entry, which is the folder's end.
    if (radio.folderStream == nullptr) {
        ReachFolderEnd();
        return;
    }
    if (radio.config.playOrder != PlayOrder::kFolder) {
        const char* next = NextListedTrack();
        if (next == nullptr) {
            ReachFolderEnd();
            return;
        }
        StartTrack(next);
        radio.skipRequested = false;
        return;
    }
    radio.folderEntry = readdir(radio.folderStream);
    if (radio.folderEntry == nullptr || !FindAudioEntry()) {
        ReachFolderEnd();
        return;
    }
    StartTrack(radio.folderEntry->d_name);
    radio.skipRequested = false;
}

// A refused track is already closed and counts as finished: the next audio file starts in the
// same frame. Each frame sends at most kMaxOpensPerFrame opens, so a folder of refused files is
// spread over frames; a refused track left when the frame's opens are spent is passed over at the
// start of the next pass, without a status query.
void PassOverRefusedTracks() {
    while (radio.trackActive && radio.refusals.trackRefused && radio.refusals.opensThisFrame < kMaxOpensPerFrame) {
        StartNextEntry();
    }
}

void AdvanceStep() {
    CloseTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
    StartNextEntry();
    PassOverRefusedTracks();
}

void WatchStep() {
    if (!radio.trackActive || radio.answers.openPending) {
        return;
    }
    if (radio.refusals.trackRefused) {
        PassOverRefusedTracks();
        return;
    }
    // A status query the service refuses means the device is not open or cannot play: the track
    // is finished. Only a track that answers counts as accepted for this walk, so that a station
    // whose every file opens but never answers ends like a station of refused opens instead of
    // reopening its files for ever.
    bool known = true;
    const TrackMode mode = CurrentTrackMode(known);
    if (known && mode != TrackMode::kRefused) {
        radio.refusals.loopAcceptedOpen = true;
    }
    if (mode == TrackMode::kPlaying && !radio.skipRequested) {
        return;
    }
    AdvanceStep();
}

void ScanStep() {
    CloseFolderStream();
    DIR* stream = radio.currentFolder[0] == 0 ? nullptr : opendir(radio.currentFolder, radio.config.unicodeNames);
    if (stream == nullptr) {
        ShowMessage("Directory doesn't exist. Check your directories");
        return;
    }
    radio.folderStream = stream;
    radio.refusals.loopSentOpen = false;
    radio.refusals.loopAcceptedOpen = false;
    const char* first = nullptr;
    if (radio.config.playOrder == PlayOrder::kFolder) {
        radio.folderEntry = readdir(stream);
        if (radio.folderEntry == nullptr || !FindAudioEntry()) {
            return;
        }
        first = radio.folderEntry->d_name;
    } else {
        // The whole listing is read over frames (the stream stays open at its end, so that closing
        // it moves currentTrack to its own copy before the listing is read again).
        first = ReadStationListing(stream);
        if (first == nullptr) {
            return;
        }
    }
    radio.folderOpen = true;
    StartTrack(first);
    radio.stationSwitchPending = false;
    WatchStep();
}

void PauseStep() {
    SetOpenWorldMusicDisabled(0);
    // A refused track is closed already: there is nothing to pause.
    if (radio.currentTrack == emptyText || radio.currentFolder == emptyText || radio.paused || radio.refusals.trackRefused) {
        return;
    }
    if (radio.config.mediaThread) {
        bool known = true;
        if (CurrentTrackMode(known) == TrackMode::kStopped) {
            return;
        }
    } else if (IsTrackStopped(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames)) {
        return;
    }
    PauseTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
    radio.paused = true;
}

}  // namespace

void SendTrackVolume() {
    // media_thread with loudness: the current track's gain is known once its open is answered.
    if (radio.config.mediaThread && radio.config.loudness != Loudness::kOff && radio.answers.openPending) {
        return;
    }
    SetTrackVolume(radio.currentFolder, radio.currentTrack, TrackVolume(), radio.config.unicodeNames);
}

void UpdatePlayback() {
    if (radio.config.mediaThread) {
        // A pass that waits for the thread still keeps the open-world music as the radio is.
        if (MediaStalled()) {
            SetOpenWorldMusicDisabled(radio.radioOn ? 1 : 0);
            return;
        }
        TakeOpenAnswer();
    }
    if (!radio.radioOn) {
        PauseStep();
        return;
    }
    SetOpenWorldMusicDisabled(1);
    radio.stoppedByUser = false;
    radio.refusals.opensThisFrame = 0;
    if (radio.paused) {
        ResumeTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
        radio.paused = false;
        return;
    }
    if (radio.folderOpen && !radio.stationSwitchPending) {
        WatchStep();
    } else if (!radio.refusals.stationRefused) {
        ScanStep();
    }
}

void SelectStation(const char* folder) {
    if (folder == nullptr) {
        ShowMessage("Directory doesn't exist");
        return;
    }
    radio.stationSwitchPending = true;
    // A station whose every track was refused is tried again when chosen, the same one too.
    const bool retry = radio.refusals.stationRefused;
    radio.refusals.stationRefused = false;
    if (radio.currentFolder == emptyText) {
        radio.currentFolder = folder;
        return;
    }
    if (radio.currentFolder == folder && retry) {
        return;
    }
    if (radio.currentFolder == folder) {
        radio.stationSwitchPending = false;
        return;
    }
    CloseTrack(radio.currentFolder, radio.currentTrack, radio.config.unicodeNames);
    radio.currentFolder = folder;
}

}  // namespace trallio
