#include "audio/media_thread.h"

#include <atomic>
#include <cstring>

#include "audio/media_command.h"
#include "audio/start_tags.h"
#include "platform/thread.h"
#include "platform/win32.h"
#include "text/text_format.h"

namespace trallio {

namespace {

constexpr uint32_t kQueueSize = 32;  // a power of two
constexpr uint32_t kPollMs = 16;     // about one frame; never under 10 ms
constexpr uint32_t kHungMs = 2000;
constexpr size_t kReplyUnits = 64;

struct QueuedCommand {
    MediaStep step;
    uint32_t ticket;
    MediaCommand text;
    char tagPath[kTagPathSize];  // kOpen: the track's path for its tags, "" for none
    bool utf8Path;
    Loudness loudness;   // kOpen: whether the tags' gains are looked for too
    double defaultGain;  // kOpen: the gain of a track without one
    int32_t level;       // kStartVolume: the level in force
};

// Single producer (the script fiber), single consumer (the thread): each side writes only its
// own index, and a slot is handed over by the release store of that index.
QueuedCommand slots[kQueueSize];
std::atomic<uint32_t> head{0};  // written by the fiber
std::atomic<uint32_t> tail{0};  // written by the thread
std::atomic<bool> started{false};
std::atomic<bool> stopRequested{false};
constexpr uint32_t kStopWaitMs = 1000;
uint32_t nextTicket = 0;
constexpr uint32_t kLastTicket = 0x7FFFFFFFu;

// The answers: the last open's ticket and result (ticket << 1 | accepted), the latest status
// poll (ticket << 8 | mode + 1), and the start of the media call in progress (0: none).
std::atomic<uint32_t> openAnswer{0};
std::atomic<uint64_t> pollAnswer{0};
std::atomic<uint32_t> callStartedAt{0};
// The tag line and gain of the last accepted open, written before its answer is published.
char openTagLine[kThreadTagLineSize];
LoudnessState openGain;

// The thread's own state.
struct Worker {
    bool lastOpenAccepted = false;
    uint32_t lastOpenTicket = 0;
    bool polling = false;
    uint32_t lastPollAt = 0;
    MediaCommand status;
    TrackTags tags;
    bool levelling = false;  // the last accepted open asked for loudness
};
Worker worker;

MCIERROR Call(const MediaCommand& command, WCHAR* reply, UINT replyUnits) {
    callStartedAt.store(ThreadClockMs() | 1u, std::memory_order_release);
    const MCIERROR result = mciSendStringW(command.units, reply, replyUnits, nullptr);
    callStartedAt.store(0, std::memory_order_release);
    return result;
}

void Poll() {
    WCHAR reply[kReplyUnits] = {u' '};
    const bool refused = Call(worker.status, reply, kReplyUnits) != 0;
    const TrackMode mode = refused ? TrackMode::kRefused
                           : ReplySaysStopped(reply, kReplyUnits) ? TrackMode::kStopped
                                                                  : TrackMode::kPlaying;
    pollAnswer.store((static_cast<uint64_t>(worker.lastOpenTicket) << 8) | (static_cast<uint64_t>(mode) + 1),
                     std::memory_order_release);
    worker.lastPollAt = ThreadClockMs();
}

// The tags of an accepted open with a path, read here rather than on the game's frame; with
// loudness on, the gains too (a track without a usable one plays at the default gain).
void ReadTags(const QueuedCommand& command) {
    openTagLine[0] = 0;
    worker.levelling = worker.lastOpenAccepted && command.loudness != Loudness::kOff;
    openGain = LoudnessState{command.defaultGain, false};
    if (!worker.lastOpenAccepted || command.tagPath[0] == 0) {
        return;
    }
    ReadStartTags(command.tagPath, command.utf8Path, command.loudness, command.defaultGain, worker.tags, openTagLine,
                  sizeof openTagLine, openGain);
}

// The track's first volume: " volume to <level>" after the queued "setaudio <device>", the level
// levelled by the gain read with the open.
void SendStartVolume(const QueuedCommand& command) {
    char tail[kVolumeTailSize];
    FormatVolumeTail(worker.levelling ? LevelledVolume(command.level, openGain.trackGain) : command.level, tail);
    MediaCommand volume = command.text;
    AppendToMediaCommand(volume, tail);
    Call(volume, nullptr, 0);
}

void Run(const QueuedCommand& command) {
    const bool opened = worker.lastOpenAccepted;
    switch (command.step) {
        case MediaStep::kOpen:
            worker.lastOpenAccepted = Call(command.text, nullptr, 0) == 0;
            worker.lastOpenTicket = command.ticket;
            worker.polling = false;
            ReadTags(command);
            openAnswer.store((command.ticket << 1) | (worker.lastOpenAccepted ? 1u : 0u), std::memory_order_release);
            return;
        case MediaStep::kVolume:
            Call(command.text, nullptr, 0);
            return;
        case MediaStep::kIfOpened:
        case MediaStep::kPauseIfOpened:
        case MediaStep::kResumeIfOpened:
            if (opened) {
                Call(command.text, nullptr, 0);
                worker.polling = command.step == MediaStep::kPauseIfOpened ? false
                                 : command.step == MediaStep::kResumeIfOpened ? true
                                                                              : worker.polling;
            }
            return;
        case MediaStep::kStartVolume:
            if (opened) {
                SendStartVolume(command);
            }
            return;
        case MediaStep::kIfRefused:
            if (!opened) {
                Call(command.text, nullptr, 0);
            }
            return;
        case MediaStep::kWatchIfOpened:
            if (opened) {
                worker.status = command.text;
                worker.polling = true;
                Poll();
            }
            return;
        case MediaStep::kClose:
            Call(command.text, nullptr, 0);
            worker.polling = false;
            return;
        case MediaStep::kForget:
            worker.polling = false;
            worker.lastOpenAccepted = false;
            return;
    }
}

// The pause of the polled track, made from its status query: "status <device> mode" becomes
// "pause <device>".
void PausePolledTrack() {
    static const char16_t kStatus[] = u"status ";
    static const char16_t kMode[] = u" mode";
    const size_t statusUnits = sizeof kStatus / sizeof kStatus[0] - 1;
    const size_t modeUnits = sizeof kMode / sizeof kMode[0] - 1;
    const MediaCommand& status = worker.status;
    if (status.length < statusUnits + modeUnits) {
        return;
    }
    MediaCommand pause;
    const char16_t kPause[] = u"pause ";
    size_t length = 0;
    for (; kPause[length] != 0; ++length) {
        pause.units[length] = static_cast<WCHAR>(kPause[length]);
    }
    for (size_t i = statusUnits; i < status.length - modeUnits; ++i) {
        pause.units[length++] = status.units[i];
    }
    pause.units[length] = 0;
    pause.length = length;
    Call(pause, nullptr, 0);
}

// Stops the playing track (a pause: a close may need the loader lock the unloading thread holds)
// and parks the thread for good.
void Park() {
    if (worker.polling) {
        PausePolledTrack();
    }
    ParkThisThread();
}

void WorkerLoop() {
    for (;;) {
        if (stopRequested.load(std::memory_order_acquire)) {
            Park();
        }
        uint32_t at = tail.load(std::memory_order_relaxed);
        while (at != head.load(std::memory_order_acquire)) {
            if (stopRequested.load(std::memory_order_acquire)) {
                Park();
            }
            Run(slots[at % kQueueSize]);
            tail.store(++at, std::memory_order_release);
        }
        uint32_t wait = 1000;
        if (worker.polling) {
            uint32_t since = ThreadClockMs() - worker.lastPollAt;
            if (since >= kPollMs) {
                Poll();
                since = 0;
            }
            wait = kPollMs - since;
        }
        WaitForWake(wait);
    }
}

// Takes the next free slot, starting the thread on first use; nullptr when the queue is full.
QueuedCommand* NextSlot() {
    if (!started.load(std::memory_order_relaxed)) {
        started.store(StartThread(WorkerLoop), std::memory_order_relaxed);
    }
    if (MediaQueueRoom() == 0) {
        return nullptr;
    }
    return &slots[head.load(std::memory_order_relaxed) % kQueueSize];
}

void Publish() {
    head.store(head.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    WakeThread();
}

// Whether the newest command waiting in the queue is `text`, a volume command not yet sent.
bool VolumeWaiting(const MediaCommand& text) {
    const uint32_t newest = head.load(std::memory_order_relaxed);
    if (newest == tail.load(std::memory_order_acquire)) {
        return false;
    }
    const QueuedCommand& waiting = slots[(newest - 1) % kQueueSize];
    return waiting.step == MediaStep::kVolume && waiting.text.length == text.length &&
           std::memcmp(waiting.text.units, text.units, text.length * sizeof text.units[0]) == 0;
}

void Queue(MediaStep step, uint32_t ticket, const char* keyword, const char* folder, const char* track,
           const char* trailer, bool utf8Names, const TagRead& tags = TagRead{nullptr, Loudness::kOff, 0},
           int32_t level = 0) {
    QueuedCommand* slot = NextSlot();
    if (slot == nullptr) {
        return;
    }
    slot->step = step;
    slot->ticket = ticket;
    BuildMediaCommand(slot->text, keyword, folder, track, trailer, utf8Names);
    // The wheel sends the volume every frame: while the same command still waits, once is enough.
    if (step == MediaStep::kVolume && VolumeWaiting(slot->text)) {
        return;
    }
    slot->tagPath[0] = 0;
    if (tags.path != nullptr) {
        AppendBounded(slot->tagPath, sizeof slot->tagPath, 0, tags.path);
    }
    slot->utf8Path = utf8Names;
    slot->loudness = tags.loudness;
    slot->defaultGain = tags.defaultGain;
    slot->level = level;
    Publish();
}

}  // namespace

uint32_t QueueTrackOpen(const char* folder, const char* track, int32_t level, bool utf8Names, const TagRead& tags) {
    // Tickets run from 1 in 31 bits, so that 0 is never a ticket.
    nextTicket = (nextTicket % kLastTicket) + 1;
    const uint32_t ticket = nextTicket;
    Queue(MediaStep::kOpen, ticket, "open ", folder, track, " type MPEGVideo", utf8Names, tags);
    Queue(MediaStep::kIfOpened, ticket, "play ", folder, track, "", utf8Names);
    Queue(MediaStep::kIfRefused, ticket, "close ", folder, track, "", utf8Names);
    Queue(MediaStep::kStartVolume, ticket, "setaudio ", folder, track, "", utf8Names, TagRead{nullptr, Loudness::kOff, 0},
          level);
    Queue(MediaStep::kWatchIfOpened, ticket, "status ", folder, track, " mode", utf8Names);
    return ticket;
}

void QueueTrackCommand(MediaStep step, const char* keyword, const char* folder, const char* track,
                       const char* trailer, bool utf8Names) {
    Queue(step, 0, keyword, folder, track, trailer, utf8Names);
}

OpenAnswer AnswerToOpen(uint32_t ticket) {
    const uint32_t answer = openAnswer.load(std::memory_order_acquire);
    if ((answer >> 1) != ticket) {
        return OpenAnswer::kPending;
    }
    return (answer & 1u) != 0 ? OpenAnswer::kAccepted : OpenAnswer::kRefused;
}

void TagLineOfOpen(uint32_t ticket, char* out, size_t size) {
    out[0] = 0;
    if (AnswerToOpen(ticket) == OpenAnswer::kAccepted) {
        AppendBounded(out, size, 0, openTagLine);
    }
}

LoudnessState GainOfOpen(uint32_t ticket) {
    return AnswerToOpen(ticket) == OpenAnswer::kAccepted ? openGain : LoudnessState{};
}

uint32_t OpensAwaitingAnswer() {
    // Tickets run from 1 to kLastTicket and wrap; the answered one is 0 before any answer.
    const uint32_t answered = openAnswer.load(std::memory_order_acquire) >> 1;
    return (nextTicket + kLastTicket - answered) % kLastTicket;
}

bool LatestTrackMode(uint32_t ticket, TrackMode& mode) {
    const uint64_t answer = pollAnswer.load(std::memory_order_acquire);
    if ((answer >> 8) != ticket || (answer & 0xFF) == 0) {
        return false;
    }
    mode = static_cast<TrackMode>((answer & 0xFF) - 1);
    return true;
}

int MediaQueueRoom() {
    return static_cast<int>(kQueueSize - (head.load(std::memory_order_relaxed) - tail.load(std::memory_order_acquire)));
}

bool MediaServiceHung() {
    // The start is stored with its lowest bit set (0 means no call), so it may read one
    // millisecond ahead of the clock: a difference that runs backwards is no time at all.
    const uint32_t since = callStartedAt.load(std::memory_order_acquire);
    return since != 0 && static_cast<int32_t>(ThreadClockMs() - since) >= static_cast<int32_t>(kHungMs);
}

void StopMediaThread() {
    if (!started.load(std::memory_order_relaxed)) {
        return;
    }
    CloseAllWhenParked();
    stopRequested.store(true, std::memory_order_release);
    WakeThread();
    if (!AwaitParked(kStopWaitMs)) {
        FreezeThread();
    }
}

void DrainMediaQueue() {
    while (MediaQueueRoom() < static_cast<int>(kQueueSize) || callStartedAt.load(std::memory_order_acquire) != 0) {
        SleepThread(1);
    }
}

void SettleMediaThread() {
    if (!started.load(std::memory_order_relaxed)) {
        return;
    }
    QueueTrackCommand(MediaStep::kForget, "", "", "", "", false);
    DrainMediaQueue();
}

}  // namespace trallio
