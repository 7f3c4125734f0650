#include "playback/play_order.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/script_hook.h"
#include "platform/win32.h"
#include "playback/audio_filter.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr uint32_t kFirstCapacity = 4096;

// Makes room for `more` bytes; false when memory runs out.
bool Reserve(uint32_t more) {
    TrackListing& listing = radio.listing;
    if (static_cast<uint64_t>(listing.size) + more <= listing.capacity) {
        return true;
    }
    uint64_t capacity = listing.capacity == 0 ? kFirstCapacity : listing.capacity;
    while (capacity < static_cast<uint64_t>(listing.size) + more) {
        capacity *= 2;
    }
    if (capacity > UINT32_MAX) {
        return false;
    }
    char* grown = static_cast<char*>(std::realloc(listing.buffer, capacity));
    if (grown == nullptr) {
        return false;
    }
    listing.buffer = grown;
    listing.capacity = static_cast<uint32_t>(capacity);
    return true;
}

uint32_t* OrderTable() {
    return reinterpret_cast<uint32_t*>(radio.listing.buffer + radio.listing.orderStart);
}

// Appends the order table (the offset of every name, in listing order); false when memory runs
// out, which leaves the names that fit.
void BuildOrderTable(uint32_t names) {
    TrackListing& listing = radio.listing;
    listing.orderStart = (listing.size + 3u) & ~3u;
    while (names > 0 && !Reserve(listing.orderStart - listing.size + names * 4u)) {
        --names;
    }
    uint32_t* table = OrderTable();
    uint32_t offset = 0;
    for (uint32_t i = 0; i < names; ++i) {
        table[i] = offset;
        offset += static_cast<uint32_t>(std::strlen(listing.buffer + offset)) + 1;
    }
    listing.count = names;
    listing.size = listing.orderStart + names * 4u;
}

void ShuffleOrder() {
    TrackListing& listing = radio.listing;
    uint32_t* table = OrderTable();
    for (uint32_t i = listing.count; i > 1; --i) {
        std::swap(table[i - 1], table[RandomBelow(i)]);
    }
    // The first track of a loop never repeats the last of the loop before.
    if (listing.count > 1 && std::strcmp(listing.buffer + table[0], radio.listing.loopLastTrack) == 0) {
        std::swap(table[0], table[1 + RandomBelow(listing.count - 1)]);
    }
}

}  // namespace

void SeedShuffle(uint64_t seed) {
    radio.listing.shuffleState = seed ^ 0x9E3779B97F4A7C15u;
}

uint32_t RandomBelow(uint32_t bound) {
    // splitmix64: one step per number, no state beyond the 64 bits in the record.
    uint64_t z = (radio.listing.shuffleState += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    return static_cast<uint32_t>(z % bound);
}

const char* ReadStationListing(DIR* stream) {
    TrackListing& listing = radio.listing;
    if (listing.folder != radio.currentFolder) {
        // Another station starts: the last one's names go, and so does its loop's last track.
        ReleaseListing();
        radio.listing.loopLastTrack[0] = 0;
        listing.folder = radio.currentFolder;
    }
    listing.size = 0;
    listing.count = 0;
    listing.next = 0;
    uint32_t names = 0;
    bool room = true;
    int readThisFrame = 0;
    for (;;) {
        if (readThisFrame == kListingEntriesPerFrame) {
            scriptWait(0);
            readThisFrame = 0;
            radio.refusals.opensThisFrame = 0;
        }
        radio.folderEntry = readdir(stream);
        if (radio.folderEntry == nullptr) {
            break;
        }
        ++readThisFrame;
        const char* name = radio.folderEntry->d_name;
        if (!room || !IsAudioFile(name)) {
            continue;
        }
        const uint32_t length = static_cast<uint32_t>(std::strlen(name)) + 1;
        room = Reserve(length);
        if (room) {
            std::memcpy(listing.buffer + listing.size, name, length);
            listing.size += length;
            ++names;
        }
    }
    BuildOrderTable(names);
    if (listing.count == 0) {
        return nullptr;
    }
    if (radio.config.playOrder == PlayOrder::kShuffle) {
        ShuffleOrder();
    } else {
        uint32_t* table = OrderTable();
        const char* base = listing.buffer;
        std::sort(table, table + listing.count,
                  [base](uint32_t a, uint32_t b) { return CompareNames(base + a, base + b) < 0; });
    }
    return NextListedTrack();
}

const char* NextListedTrack() {
    TrackListing& listing = radio.listing;
    if (listing.next >= listing.count) {
        return nullptr;
    }
    const char* name = listing.buffer + OrderTable()[listing.next++];
    if (listing.next == listing.count) {
        std::strncpy(radio.listing.loopLastTrack, name, sizeof radio.listing.loopLastTrack - 1);
        radio.listing.loopLastTrack[sizeof radio.listing.loopLastTrack - 1] = 0;
    }
    return name;
}

void ReleaseListing() {
    std::free(radio.listing.buffer);
    radio.listing = TrackListing{};
}

}  // namespace trallio
