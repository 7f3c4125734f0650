// The now-playing text's second line from a track's tags, with the setting titles = tags.
#pragma once

#include <cstddef>

namespace trallio {

// Writes "Artist - Title" when both tags show some text, the title alone when only it does, into
// `out` (`size` > 0 bytes, always terminated). Control characters and line breaks are left out,
// blanks at either end of each tag are dropped, bytes that are not UTF-8 are shown as U+FFFD, and
// what does not fit is cut between characters. Tag values are any `length` bytes, with or without
// a terminator. Returns the bytes written; 0 (an empty line) when there is no title to show, and
// the wheel then shows the file name.
size_t FormatTagLine(const char* artist, size_t artistLength, const char* title, size_t titleLength, char* out,
                     size_t size);

}  // namespace trallio
