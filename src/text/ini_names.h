#pragma once

// The rules both settings readers share (the radio's own Unicode reader and the Linux stand-in of
// the system's reader): blanks around names and values are dropped, section and key names compare
// without regard to ASCII case, ';' and '#' start comment lines, one pair of matching quotes
// around a value is removed, and the first matching key wins.

#include <cstddef>

namespace trallio {
namespace ini {

// Finds the value of `key` in `section` of the settings text [text, text + length); returns false
// when either is missing. The value is [valueBegin, valueEnd), inside the text.
bool FindValue(const char* text, size_t length, const char* section, const char* key, const char*& valueBegin,
               const char*& valueEnd);

}  // namespace ini
}  // namespace trallio
