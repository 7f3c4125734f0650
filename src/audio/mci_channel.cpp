#include "audio/mci_channel.h"
#include "audio/media_command.h"
#include "audio/media_thread.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/win32.h"
#include "text/text_format.h"

namespace trallio {

namespace {

constexpr size_t kReplyUnits = 64;

MCIERROR Send(const char* keyword, const char* folder, const char* track, const char* tail, bool utf8Names) {
    MediaCommand command;
    BuildMediaCommand(command, keyword, folder, track, tail, utf8Names);
    return mciSendStringW(command.units, nullptr, 0, nullptr);
}

// Sends the status query and tells whether the reply holds "stopped"; `refused` tells whether the
// service answered the query with an error.
bool QueryStopped(const char* folder, const char* track, bool utf8Names, bool& refused) {
    MediaCommand command;
    BuildMediaCommand(command, "status ", folder, track, " mode", utf8Names);
    // The first unit is a space so that a service that writes nothing reads as no reply; the
    // rest is zeroed so that nothing uninitialised is ever read.
    WCHAR reply[kReplyUnits] = {u' '};
    refused = mciSendStringW(command.units, reply, kReplyUnits, nullptr) != 0;
    return ReplySaysStopped(reply, kReplyUnits);
}

// With media_thread on, the command goes to the thread's queue instead.
void SendOrQueue(MediaStep step, const char* keyword, const char* folder, const char* track, const char* tail,
                 bool utf8Names) {
    if (mediaThreadOn) {
        QueueTrackCommand(step, keyword, folder, track, tail, utf8Names);
    } else {
        Send(keyword, folder, track, tail, utf8Names);
    }
}

}  // namespace

// Read only up to the first zero unit within the buffer: a service that writes no reply leaves
// the space, which reads as not stopped. Each unit counts by its low 8 bits.
bool ReplySaysStopped(const WCHAR* reply, size_t units) {
    size_t length = 0;
    while (length < units && reply[length] != 0) {
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

void FormatVolumeTail(int32_t level, char* tail) {
    static const char kVolumeTo[] = " volume to ";
    std::memcpy(tail, kVolumeTo, sizeof kVolumeTo - 1);
    FormatDecimal(level, tail + sizeof kVolumeTo - 1);
}

bool OpenTrack(const char* folder, const char* track, bool utf8Names) {
    if (folder[0] == 0 || track[0] == 0) {
        return true;
    }
    if (Send("open ", folder, track, " type MPEGVideo", utf8Names) != 0) {
        return false;
    }
    Send("play ", folder, track, "", utf8Names);
    return true;
}

void CloseTrack(const char* folder, const char* track, bool utf8Names) {
    SendOrQueue(MediaStep::kClose, "close ", folder, track, "", utf8Names);
}

void SetTrackVolume(const char* folder, const char* track, int32_t level, bool utf8Names) {
    char tail[kVolumeTailSize];
    FormatVolumeTail(level, tail);
    SendOrQueue(MediaStep::kVolume, "setaudio ", folder, track, tail, utf8Names);
}

void PauseTrack(const char* folder, const char* track, bool utf8Names) {
    SendOrQueue(MediaStep::kPauseIfOpened, "pause ", folder, track, "", utf8Names);
}

void ResumeTrack(const char* folder, const char* track, bool utf8Names) {
    SendOrQueue(MediaStep::kResumeIfOpened, "resume ", folder, track, " notify", utf8Names);
}

bool IsTrackStopped(const char* folder, const char* track, bool utf8Names) {
    bool refused = false;
    return QueryStopped(folder, track, utf8Names, refused);
}

TrackMode QueryTrackMode(const char* folder, const char* track, bool utf8Names) {
    bool refused = false;
    const bool stopped = QueryStopped(folder, track, utf8Names, refused);
    if (refused) {
        return TrackMode::kRefused;
    }
    return stopped ? TrackMode::kStopped : TrackMode::kPlaying;
}

}  // namespace trallio
