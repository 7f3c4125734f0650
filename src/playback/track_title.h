// Titles from tags (titles = tags): the now-playing text's second line read from the track's own
// tags when it starts; the same read gives the track's gain with loudness on. With titles = file
// and loudness = off, nothing here is called.
#pragma once

#include <cstddef>

namespace trallio {

// The now-playing text's second line from the track's tags, and its terminator.
constexpr int kTrackTitleSize = 64;

// titles' value: "tags" in any case means the titles come from the tags; anything else is "file".
bool ParseTitlesFromTags(const char* value);

// Reads the current track's tags into trackTitle, or leaves it empty when they give no title; with
// loudness on, the same read looks for the gain tags and sets the gain the track plays at.
void ReadTrackTitle();
// The current track's path from the game folder, for its tags (valid until the next call).
const char* CurrentTrackPath();

// Room for the now-playing text and its terminator.
constexpr int kNowPlayingSize = 64;
// "<folder>\n<ShownTrackLine>\n" cut to `size` bytes (between characters for UTF-8 texts).
void FormatNowPlaying(char* out, size_t size);

// The second line the wheel shows: trackTitle when it holds a title, else the file name.
const char* ShownTrackLine();

}  // namespace trallio
