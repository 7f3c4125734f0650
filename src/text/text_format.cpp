#include "text/text_format.h"

#include <cstring>

namespace trallio {

size_t FormatDecimal(int32_t value, char* out) {
    char reversed[kDecimalSize];
    size_t count = 0;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    size_t length = 0;
    if (value < 0) {
        out[length++] = '-';
    }
    while (count > 0) {
        out[length++] = reversed[--count];
    }
    out[length] = 0;
    return length;
}

size_t AppendFitted(char* buffer, size_t size, size_t length, const char* text,
                    size_t (*fit)(const char* text, size_t limit)) {
    if (size == 0) {
        return 0;
    }
    if (length >= size) {
        length = size - 1;
    }
    const size_t count = fit(text, size - 1 - length);
    std::memcpy(buffer + length, text, count);
    length += count;
    buffer[length] = 0;
    return length;
}

size_t AppendBounded(char* buffer, size_t size, size_t length, const char* text) {
    return AppendFitted(buffer, size, length, text, [](const char* piece, size_t limit) { return strnlen(piece, limit); });
}

}  // namespace trallio
