#include "audio/mci_channel.h"
#include "audio/media_command.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "playback/sound_mix.h"
#include "text/text_format.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr size_t kReplyUnits = 64;

MCIERROR Send(const char* keyword, const char* folder, const char* track, const char* tail) {
    MediaCommand command;
    BuildMediaCommand(command, keyword, folder, track, tail, radio.unicodeNames);
    return mciSendStringW(command.units, nullptr, 0, nullptr);
}

// Sends the status query and tells whether the reply holds "stopped"; `refused` tells whether the
// service answered the query with an error.
bool QueryStopped(const char* folder, const char* track, bool& refused) {
    MediaCommand command;
    BuildMediaCommand(command, "status ", folder, track, " mode", radio.unicodeNames);
    // The first unit is a space so that a service that writes nothing reads as no reply; the
    // rest is zeroed so that nothing uninitialised is ever read.
    WCHAR reply[kReplyUnits] = {u' '};
    refused = mciSendStringW(command.units, reply, kReplyUnits, nullptr) != 0;

    // Read only up to the first zero unit within the buffer: a service that writes no reply
    // leaves the space, which reads as not stopped. Each unit counts by its low 8 bits.
    size_t length = 0;
    while (length < kReplyUnits && reply[length] != 0) {
        ++length;
    }
    static const char kStopped[] = "stopped";
    const size_t needle = sizeof kStopped - 1;
    for (size_t start = 0; start + needle <= length; ++start) {
        size_t i = 0;
        while (i < needle && static_cast<char>(reply[start + i] & 0xFF) == kStopped[i]) {
            ++i;
        }
        if (i == needle) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool OpenTrack(const char* folder, const char* track) {
    if (folder[0] == 0 || track[0] == 0) {
        return true;
    }
    if (Send("open ", folder, track, " type MPEGVideo") != 0) {
        return false;
    }
    Send("play ", folder, track, "");
    return true;
}

void CloseTrack(const char* folder, const char* track) {
    Send("close ", folder, track, "");
}

void SetTrackVolume(const char* folder, const char* track) {
    static const char kVolumeTo[] = " volume to ";
    char tail[sizeof kVolumeTo - 1 + kDecimalSize];
    std::memcpy(tail, kVolumeTo, sizeof kVolumeTo - 1);
    // The wheel's volume, or its lowered share while someone speaks (duck_dialogue).
    FormatDecimal(VolumeInForce(), tail + sizeof kVolumeTo - 1);
    Send("setaudio ", folder, track, tail);
}

void PauseTrack(const char* folder, const char* track) {
    Send("pause ", folder, track, "");
}

void ResumeTrack(const char* folder, const char* track) {
    Send("resume ", folder, track, " notify");
}

bool IsTrackStopped(const char* folder, const char* track) {
    bool refused = false;
    return QueryStopped(folder, track, refused);
}

TrackMode QueryTrackMode(const char* folder, const char* track) {
    bool refused = false;
    const bool stopped = QueryStopped(folder, track, refused);
    if (refused) {
        return TrackMode::kRefused;
    }
    return stopped ? TrackMode::kStopped : TrackMode::kPlaying;
}

}  // namespace trallio
