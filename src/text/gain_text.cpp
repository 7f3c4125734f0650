#include "text/gain_text.h"

#include <cstdint>
#include <cstring>

#include "text/text_format.h"
#include "text/words.h"

namespace trallio {

namespace {

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return text;
}

// Digits kept: further decimals add nothing a volume step could show, and the number stays exact;
// so many whole digits are far beyond any limit.
constexpr int kMostDigits = 12;

}  // namespace

bool ParseGainText(const char* text, double limit, double* decibels) {
    const char* at = SkipBlanks(text);
    bool negative = false;
    if (*at == '+' || *at == '-') {
        negative = *at == '-';
        ++at;
    } else if (std::strncmp(at, "\xE2\x88\x92", 3) == 0) {
        negative = true;
        at += 3;
    }
    int64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool mark = false;
    for (;; ++at) {
        if (*at >= '0' && *at <= '9') {
            if (count == kMostDigits) {
                if (!mark) {
                    return false;
                }
                continue;
            }
            digits = digits * 10 + (*at - '0');
            ++count;
            decimals += mark;
        } else if ((*at == '.' || *at == ',') && !mark) {
            mark = true;
        } else {
            break;
        }
    }
    at = SkipBlanks(at);
    if (LowerAscii(at[0]) == 'd' && LowerAscii(at[1]) == 'b') {
        at = SkipBlanks(at + 2);
    }
    if (count == 0 || *at != 0) {
        return false;
    }
    // One division by an exact power of ten: the nearest double to the decimal text.
    double scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    const double value = static_cast<double>(digits) / scale;
    if (value > limit) {
        return false;
    }
    *decibels = negative ? -value : value;
    return true;
}

void FormatGainText(double decibels, char* out) {
    const double rounded = decibels * 100 + (decibels < 0 ? -0.5 : 0.5);
    const int32_t hundredths = static_cast<int32_t>(rounded);
    const int32_t size = hundredths < 0 ? -hundredths : hundredths;
    size_t length = 0;
    if (hundredths != 0) {
        out[length++] = hundredths < 0 ? '-' : '+';
    }
    length += FormatDecimal(size / 100, out + length);
    const int32_t fraction = size % 100;
    if (fraction != 0) {
        out[length++] = '.';
        out[length++] = static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) {
            out[length++] = static_cast<char>('0' + fraction % 10);
        }
    }
    std::memcpy(out + length, " dB", 4);
}

}  // namespace trallio
