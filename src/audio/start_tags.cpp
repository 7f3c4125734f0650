#include "audio/start_tags.h"

#include "text/tag_line.h"

namespace trallio {

void ReadStartTags(const char* path, bool utf8Path, Loudness mode, double defaultGain, TrackTags& tags, char* line,
                   size_t size, LoudnessState& gain) {
    line[0] = 0;
    tags.withGains = mode != Loudness::kOff;
    if (ReadTrackTags(path, utf8Path, tags)) {
        FormatTagLine(tags.artist, tags.artistLength, tags.title, tags.titleLength, line, size);
    }
    // A file whose tags cannot be read has no gain texts: it plays at the default gain.
    if (tags.withGains) {
        gain.trackGain = defaultGain;
        gain.fromTag = FindTrackGain(mode, tags.trackGain, tags.albumGain, &gain.trackGain);
    }
}

}  // namespace trallio
