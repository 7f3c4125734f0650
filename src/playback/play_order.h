// A station's tracks in name or shuffle order: the folder's listing read over frames into one
// buffer, then arranged. Folder order needs none of this: it walks the stream lazily.
#pragma once

#include <cstdint>

#include "platform/dir_stream.h"

namespace trallio {

// The order in which a station's tracks play: the platform's own order of the folder, the natural
// order of the names, or a new random order on every loop.
enum class PlayOrder : uint8_t { kFolder, kName, kShuffle };

// A station's audio-file names in name or shuffle order, read once per loop. One heap block holds
// every name (each zero-terminated) and, after them, the play order as offsets of the names.
struct TrackListing {
    char* buffer = nullptr;
    uint32_t size = 0;       // bytes in use
    uint32_t capacity = 0;   // bytes obtained
    uint32_t orderStart = 0;  // byte offset of the order table
    uint32_t count = 0;      // tracks in the order
    uint32_t next = 0;       // the order's next position
    const char* folder = nullptr;  // the station text the buffer was read for
    uint64_t shuffleState = 0x9E3779B97F4A7C15u;  // the shuffle's generator, seeded at script start
    char loopLastTrack[kMaxNameBytes + 1] = {};   // the track that ended the previous loop (shuffle)
};

// Most folder entries read between two frames while a listing is read.
constexpr int kListingEntriesPerFrame = 256;

// "folder", "name" or "shuffle" in any case; anything else is folder order.
PlayOrder ParsePlayOrder(const char* value);
// Seeds the shuffle's generator; the script does it once at start.
void SeedShuffle(uint64_t seed);
// A random number below `bound` (at least 1) from the shuffle's generator.
uint32_t RandomBelow(uint32_t bound);

// Natural name order: case-insensitive, runs of digits compared by their value, ties broken byte
// by byte. Negative, zero or positive as strcmp.
int CompareNames(const char* a, const char* b);

// Reads every entry of `stream` (the current station's), waiting one frame after each
// kListingEntriesPerFrame entries, keeps the audio files' names and arranges them in the radio's
// order. Returns the first track, or nullptr when the folder holds none.
const char* ReadStationListing(DIR* stream);
// The order's next track, or nullptr at the end of the loop.
const char* NextListedTrack();
// Frees the listing's buffer; nothing may refer into it any more.
void ReleaseListing();

}  // namespace trallio
