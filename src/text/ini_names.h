#pragma once

// The rules both settings readers share (the radio's own Unicode reader and the Linux stand-in of
// the system's reader): blanks around names and values are dropped, and section and key names
// compare without regard to ASCII case.

#include <cstddef>
#include <cstring>

namespace trallio {
namespace ini {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// [begin, end) with blanks removed on both sides.
inline void Trim(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
}

inline char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [begin, end) is `name`, upper and lower case alike.
inline bool SameName(const char* begin, const char* end, const char* name) {
    const size_t length = std::strlen(name);
    if (static_cast<size_t>(end - begin) != length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (Lower(begin[i]) != Lower(name[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace ini
}  // namespace trallio
