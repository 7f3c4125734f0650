// A track's artist and title, read from the file's own tags with the tag library. Called when a
// track starts with titles = tags, never per frame.
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

struct TrackTags {
    char artist[kTagValueSize];
    size_t artistLength;
    char title[kTagValueSize];
    size_t titleLength;
};

// Reads the tags of the file at `path`, a Windows-style path from the game folder, in UTF-8 when
// `utf8Path` and in the system's code page otherwise. The values are UTF-8, cut to kTagValueSize
// - 1 bytes and terminated. Returns false, with both values empty, when the file is missing or
// unreadable, its tags are corrupt or absent, or reading them would pass kTagReadBudget (an mp3's
// ID3v2 tag: kLargestId3v2Tag).
bool ReadTrackTags(const char* path, bool utf8Path, TrackTags& tags);

}  // namespace trallio
