// media_thread: one thread of the radio's own makes every media call. The script fiber hands each
// command over through a small bounded queue and reads the latest answers; it never waits for the
// thread and holds no lock. The queue and the answers are fixed records: nothing is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/loudness.h"
#include "audio/mci_channel.h"

namespace trallio {

// Whether the radio's media commands go through the thread (set once by the settings step).
extern bool mediaThreadOn;

// What the thread does with a queued command. The conditional ones depend on the answer to the
// last open: a track's play, volume and status polls follow only an accepted open, its close
// only a refused one.
enum class MediaStep : uint8_t {
    kOpen,            // send, and keep and publish the answer
    kIfOpened,        // send when the last open was accepted
    kIfRefused,       // send when the last open was refused
    kWatchIfOpened,   // the status query polled from now on, when the last open was accepted
    kPauseIfOpened,   // send when the last open was accepted; polling stops
    kResumeIfOpened,  // send when the last open was accepted; polling goes on
    kClose,           // send; polling stops
    kForget,          // nothing sent: polling stops and the last open counts as refused
    kVolume,          // send as it is; the same command already waiting is not queued twice
    kStartVolume,     // a track's first volume, when the last open was accepted: its level, levelled
                      // by the track's gain when the open asked for loudness
};

// Room for a track's path for its tags: a station text, a separator and the longest entry name.
constexpr size_t kTagPathSize = 1100;
// Room for the tag line read on the thread, and its terminator.
constexpr size_t kThreadTagLineSize = 64;

// How the thread reads a track's tags after an accepted open, before it answers: `path` (null for
// no read), and with `loudness` on the gains too, `defaultGain` for a track without one.
struct TagRead {
    const char* path;
    Loudness loudness;
    double defaultGain;
};

// Queues a track's open: "open", then on acceptance "play", the volume at `level` (levelled by the
// track's gain with loudness on) and its status polls, on refusal "close". Returns the open's
// ticket, by which its answers are read.
uint32_t QueueTrackOpen(const char* folder, const char* track, int32_t level, bool utf8Names, const TagRead& tags);
// Queues one of a track's other commands; a command that finds the queue full is dropped.
void QueueTrackCommand(MediaStep step, const char* keyword, const char* folder, const char* track,
                       const char* tail, bool utf8Names);

enum class OpenAnswer { kPending, kAccepted, kRefused };
OpenAnswer AnswerToOpen(uint32_t ticket);
// The tag line read for the accepted open `ticket` ("" when its tags gave no title), copied into
// `out`. Valid once AnswerToOpen(ticket) is kAccepted, until the next open is queued.
void TagLineOfOpen(uint32_t ticket, char* out, size_t size);
// The gain the thread found for the accepted open `ticket` (loudness on), as the radio keeps it.
LoudnessState GainOfOpen(uint32_t ticket);
// Opens queued and not answered yet.
uint32_t OpensAwaitingAnswer();

// The latest status poll of the track opened with `ticket`; false while there is none.
bool LatestTrackMode(uint32_t ticket, TrackMode& mode);

// Free places in the queue.
int MediaQueueRoom();
// A media call has been running for two seconds or more.
bool MediaServiceHung();

// The module is being unloaded (not at process exit): the thread pauses the playing track and
// parks for good; waits for that at most a second. Does nothing when the thread never started.
void StopMediaThread();

// For hosts that wait for the thread (tests): returns once the thread has sent everything queued
// and is out of any media call.
void DrainMediaQueue();
// For hosts that start the radio afresh (tests): drains the queue, then has the thread forget its
// track.
void SettleMediaThread();

}  // namespace trallio
