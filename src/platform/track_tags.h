// A track's artist and title, and on request its two loudness gains, read from the file's own tags
// with the tag library in one read. Called when a track starts with titles = tags or loudness on,
// never per frame.
#pragma once

#include <cstddef>

namespace trallio {

// The most bytes of each tag value kept; the wheel shows far fewer.
constexpr size_t kTagValueSize = 512;

// Bytes of the file the tag library may read for one track. A file whose tags need more (a cover
// picture of megabytes in a flac or ogg file's comments) is read as having none, so a start never
// reads for long.
constexpr unsigned long kTagReadBudget = 2ul << 20;

// An mp3's ID3v2 tag is read frame by frame without its large frames (pictures), so its size
// costs next to nothing up to this limit; a larger tag is read as none.
constexpr unsigned long kLargestId3v2Tag = 8ul << 20;

// The most bytes of a gain text kept, terminator included; a longer value is no gain.
constexpr size_t kGainTextSize = 32;

struct TrackTags {
    char artist[kTagValueSize];
    size_t artistLength;
    char title[kTagValueSize];
    size_t titleLength;
    // Set by the caller: also look for the gain tags. Then the texts of REPLAYGAIN_TRACK_GAIN and
    // REPLAYGAIN_ALBUM_GAIN (names in any case) from ID3v2 TXXX frames or an APE tag in an mp3, or
    // the file's own tag (Vorbis comments in ogg and flac); empty when absent or not looked for.
    bool withGains;
    char trackGain[kGainTextSize];
    char albumGain[kGainTextSize];
};

// Reads the tags (and with tags.withGains the gains) of the file at `path`, a Windows-style path
// from the game folder, in UTF-8 when `utf8Path` and in the system's code page otherwise. The
// values are UTF-8, cut to kTagValueSize - 1 bytes and terminated. Returns false, with every value
// empty, when the file is missing or unreadable, its tags are corrupt or absent, or reading them
// would pass kTagReadBudget (an mp3's ID3v2 tag: kLargestId3v2Tag).
bool ReadTrackTags(const char* path, bool utf8Path, TrackTags& tags);

}  // namespace trallio
