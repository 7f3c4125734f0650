// The one read of a track's tags when it starts (titles = tags or loudness on), made on the game's
// frame or, with media_thread, on the radio's own thread after the open is accepted.
#pragma once

#include <cstddef>

#include "audio/loudness.h"
#include "platform/track_tags.h"

namespace trallio {

// Reads the tags of the track at `path` (as ReadTrackTags takes it) into `tags`: the now-playing
// line into `line` ("" when they give no title) and, with `mode` on, the gain the track plays at
// into `gain` (`defaultGain` when no gain tag is usable). With `mode` off `gain` is left as it is.
void ReadStartTags(const char* path, bool utf8Path, Loudness mode, double defaultGain, TrackTags& tags, char* line,
                   size_t size, LoudnessState& gain);

}  // namespace trallio
