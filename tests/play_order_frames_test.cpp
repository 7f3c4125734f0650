// A station of 10,000 entries in name and shuffle order, on a host of its own: a directory stream
// that counts the entries read between two frames, a media service that answers "playing", and
// the heap allocation counter of the frame benchmarks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../bench/alloc_counter.h"
#include "platform/file_bytes.h"
#include "platform/track_tags.h"
#include "platform/script_hook.h"
#include "platform/win32.h"
#include "platform/dir_stream.h"
#include "playback/play_order.h"
#include "playback/playback.h"
#include "playback/radio_state.h"

namespace {

constexpr int kEntries = 10000;

int frames = 1;          // frames the current pass has spanned
int readsThisFrame = 0;
int mostReadsInAFrame = 0;
int framesToFirstOpen = 0;
int opens = 0;
int pauses = 0;
uint64_t resultSlot = 0;

}  // namespace

namespace trallio {

struct DIR {
    int position;
    dirent entry;
};

DIR* opendir(const char*, bool) {
    static DIR stream;
    stream.position = 0;
    return &stream;
}

// ".", "..", then tracks named out of order with every tenth entry a picture.
dirent* readdir(DIR* stream) {
    if (stream->position == kEntries) {
        return nullptr;
    }
    const int i = stream->position++;
    ++readsThisFrame;
    mostReadsInAFrame = readsThisFrame > mostReadsInAFrame ? readsThisFrame : mostReadsInAFrame;
    if (i < 2) {
        std::strcpy(stream->entry.d_name, i == 0 ? "." : "..");
    } else {
        std::snprintf(stream->entry.d_name, sizeof stream->entry.d_name, i % 10 == 0 ? "cover %d.jpg" : "%d.mp3",
                      (i * 7919) % kEntries);
    }
    return &stream->entry;
}

int closedir(DIR*) {
    return 0;
}

}  // namespace trallio

void scriptWait(DWORD) {
    ++frames;
    readsThisFrame = 0;
}
void nativeInit(uint64_t) {}
void nativePush64(uint64_t) {}
uint64_t* nativeCall() {
    return &resultSlot;
}

MCIERROR mciSendStringW(LPCWSTR command, LPWSTR reply, UINT length, HWND) {
    if (command[0] == u'o') {
        ++opens;
        framesToFirstOpen = framesToFirstOpen == 0 ? frames : framesToFirstOpen;
    }
    if (command[0] == u'p' && command[1] == u'a') {
        ++pauses;
    }
    if (reply != nullptr && length > 8) {
        std::memcpy(reply, u"playing", sizeof u"playing");
    }
    return 0;
}

DWORD GetPrivateProfileStringA(LPCSTR, LPCSTR, LPCSTR defaultValue, LPSTR returned, DWORD size, LPCSTR) {
    std::strncpy(returned, defaultValue, size);
    return static_cast<DWORD>(std::strlen(returned));
}

// The sound mix is off here: its window and clock calls are linked but never made.
HWND FindWindowA(LPCSTR, LPCSTR) {
    return nullptr;
}
HWND GetForegroundWindow() {
    return nullptr;
}
DWORD GetTickCount() {
    return 0;
}

// Nor is unicode_names: the settings file's bytes are never read.
namespace trallio {
size_t ReadFileBytes(const char*, char*, size_t) {
    return 0;
}
// Nor are titles from tags.
bool ReadTrackTags(const char*, bool, TrackTags&) {
    return false;
}
}  // namespace trallio

namespace {

using trallio::PlayOrder;
using trallio::radio;

void Pass() {
    frames = 1;
    readsThisFrame = 0;
    trallio::UpdatePlayback();
}

TEST(PlayOrderFrames, TenThousandEntriesSpreadOverFramesThenSteadyFramesAllocateNothing) {
    for (PlayOrder order : {PlayOrder::kName, PlayOrder::kShuffle}) {
        SCOPED_TRACE(order == PlayOrder::kName ? "name" : "shuffle");
        trallio::ResetRadioState();
        mostReadsInAFrame = framesToFirstOpen = opens = pauses = 0;
        radio.config.playOrder = order;
        trallio::SeedShuffle(7);
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
        const uint64_t beforeListing = bench::AllocationCount();
        Pass();
        EXPECT_GT(bench::AllocationCount(), beforeListing) << "the listing's buffer is counted";
        EXPECT_LE(mostReadsInAFrame, trallio::kListingEntriesPerFrame);
        EXPECT_GE(mostReadsInAFrame, trallio::kListingEntriesPerFrame) << "the listing fills its frames";
        EXPECT_EQ(opens, 1);
        EXPECT_GT(framesToFirstOpen, 1);
        EXPECT_LE(framesToFirstOpen, 40);
        EXPECT_EQ(radio.listing.count, 9000u - 1u) << "every audio entry, '.', '..' and pictures left out";
        if (order == PlayOrder::kName) {
            EXPECT_STREQ(radio.currentTrack, "1.mp3");
        }

        // Steady frames: playing, then paused.
        const uint64_t before = bench::AllocationCount();
        for (int i = 0; i < 100; ++i) {
            Pass();
        }
        radio.radioOn = false;
        for (int i = 0; i < 100; ++i) {
            Pass();
        }
        EXPECT_EQ(bench::AllocationCount() - before, 0u);
        EXPECT_EQ(pauses, 1);
        EXPECT_EQ(opens, 1);
        EXPECT_TRUE(radio.paused);
    }
    trallio::ResetRadioState();
}

}  // namespace
