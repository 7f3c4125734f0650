// A Windows-style path as this system names it: every backslash read as a slash.
#pragma once

#include <string>

namespace trallio {

inline std::string SystemPath(const char* path) {
    std::string systemPath(path);
    for (char& c : systemPath) {
        if (c == '\\') {
            c = '/';
        }
    }
    return systemPath;
}

}  // namespace trallio
