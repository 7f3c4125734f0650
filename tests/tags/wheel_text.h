// The wheel's now-playing text as the radio builds it: the folder, a line break, the second line
// and a line break, each put in as far as it fits in 63 bytes and never cut inside a UTF-8
// character. Shared by the native tests and the wine host.
#pragma once

#include <algorithm>
#include <string>

namespace tags_test {

inline std::string WheelTextOf(const std::string& folder, const std::string& line) {
    std::string text;
    for (const std::string& piece : {folder, std::string("\n"), line, std::string("\n")}) {
        size_t fit = std::min(piece.size(), 63 - text.size());
        while (fit < piece.size() && fit > 0 && (static_cast<unsigned char>(piece[fit]) & 0xC0) == 0x80) {
            --fit;
        }
        text += piece.substr(0, fit);
    }
    return text;
}

}  // namespace tags_test
