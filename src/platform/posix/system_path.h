// A Windows-style path as this system names it: every backslash read as a slash. The one rule of
// the Linux stand-ins (files, settings reader, directory stream, media service) and the checker.
#pragma once

#include <cstddef>
#include <string>

namespace trallio {

inline char SystemPathChar(char c) {
    return c == '\\' ? '/' : c;
}

// Into a caller's buffer, for the calls that must not allocate. False, with `out` untouched, when
// the path and its terminator do not fit in `size` bytes.
inline bool CopySystemPath(const char* path, char* out, size_t size) {
    size_t length = 0;
    while (path[length] != 0) {
        ++length;
    }
    if (length >= size) {
        return false;
    }
    for (size_t i = 0; i <= length; ++i) {
        out[i] = SystemPathChar(path[i]);
    }
    return true;
}

inline std::string SystemPath(const char* path) {
    std::string systemPath(path);
    for (char& c : systemPath) {
        c = SystemPathChar(c);
    }
    return systemPath;
}

}  // namespace trallio
