// The rules of the play order that need no frames: the setting's value and the natural order of
// names. The station checker shares them with the radio.
#include <cstring>

#include "playback/play_order.h"
#include "text/words.h"

namespace trallio {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

PlayOrder ParsePlayOrder(const char* value) {
    if (EqualsIgnoringCase(value, "name")) {
        return PlayOrder::kName;
    }
    if (EqualsIgnoringCase(value, "shuffle")) {
        return PlayOrder::kShuffle;
    }
    return PlayOrder::kFolder;
}

int CompareNames(const char* a, const char* b) {
    const char* x = a;
    const char* y = b;
    while (*x != 0 && *y != 0) {
        if (IsDigit(*x) && IsDigit(*y)) {
            while (*x == '0') ++x;
            while (*y == '0') ++y;
            const char* xEnd = x;
            const char* yEnd = y;
            while (IsDigit(*xEnd)) ++xEnd;
            while (IsDigit(*yEnd)) ++yEnd;
            if (xEnd - x != yEnd - y) {
                return xEnd - x < yEnd - y ? -1 : 1;
            }
            for (; x < xEnd; ++x, ++y) {
                if (*x != *y) {
                    return *x < *y ? -1 : 1;
                }
            }
            continue;
        }
        const char cx = LowerAscii(*x);
        const char cy = LowerAscii(*y);
        if (cx != cy) {
            return static_cast<unsigned char>(cx) < static_cast<unsigned char>(cy) ? -1 : 1;
        }
        ++x;
        ++y;
    }
    if (*x != *y) {
        return *x == 0 ? -1 : 1;
    }
    return std::strcmp(a, b);
}

}  // namespace trallio
