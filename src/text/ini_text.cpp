#include "text/ini_text.h"

#include <cstring>

#include "text/ini_names.h"
#include "text/utf.h"

namespace trallio {

namespace {

// UTF-16 units of either byte order, converted a bounded chunk at a time so no buffer of the
// whole text is needed.
size_t Utf16BytesToUtf8(const unsigned char* bytes, size_t length, bool bigEndian, char* out, size_t size) {
    size_t written = 0;
    out[0] = 0;
    char16_t chunk[256];
    size_t at = 0;
    while (at + 1 < length) {
        size_t units = 0;
        while (units < 256 && at + 1 < length) {
            chunk[units++] = bigEndian ? static_cast<char16_t>(bytes[at] << 8 | bytes[at + 1])
                                       : static_cast<char16_t>(bytes[at + 1] << 8 | bytes[at]);
            at += 2;
        }
        // A pair split by the chunk's end is kept whole by carrying its first half to the next chunk.
        if (units == 256 && chunk[255] >= 0xD800 && chunk[255] <= 0xDBFF && at + 1 < length) {
            --units;
            at -= 2;
        }
        const size_t before = written;
        written += Utf16ToUtf8(chunk, units, out + written, size - written);
        if (written == before || written + 1 >= size) {
            break;
        }
    }
    return written;
}

}  // namespace

size_t SettingsBytesToUtf8(const char* bytes, size_t length, char* out, size_t size) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (length >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        return Utf16BytesToUtf8(b + 2, length - 2, false, out, size);
    }
    if (length >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        return Utf16BytesToUtf8(b + 2, length - 2, true, out, size);
    }
    if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        return CleanUtf8(bytes + 3, length - 3, out, size);
    }
    return CleanUtf8(bytes, length, out, size);
}

bool FindIniValue(const char* text, size_t length, const char* section, const char* key, char* out,
                  size_t size) {
    const char* valueBegin = nullptr;
    const char* valueEnd = nullptr;
    if (ini::FindValue(text, length, section, key, valueBegin, valueEnd)) {
        // The value is well-formed UTF-8 already; cut it only between characters.
        const size_t count = Utf8PrefixLength(valueBegin, static_cast<size_t>(valueEnd - valueBegin), size - 1);
        std::memcpy(out, valueBegin, count);
        out[count] = 0;
        return true;
    }
    return false;
}

}  // namespace trallio
