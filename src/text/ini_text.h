// The settings file read as Unicode text: its bytes decoded by their byte order mark and one value
// found in the decoded text, with the same rules as the platform's reader (ASCII case-blind
// section and key names, blanks trimmed, one pair of quotes removed, ';' and '#' comment lines,
// the first matching key wins).
#pragma once

#include <cstddef>

namespace trallio {

// The file's bytes as well-formed UTF-8: UTF-16 (little or big endian) after its byte order mark,
// otherwise UTF-8 with the optional byte order mark left off. `size` > 0. Returns the bytes
// written, the terminator not counted.
size_t SettingsBytesToUtf8(const char* bytes, size_t length, char* out, size_t size);

// Copies the value of `key` in `section` of the UTF-8 `text` into `out` (cut between characters,
// terminated) and returns true, or returns false and leaves `out` untouched.
bool FindIniValue(const char* text, size_t length, const char* section, const char* key, char* out,
                  size_t size);

}  // namespace trallio
