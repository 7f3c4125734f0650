#include "text/utf.h"

#include <cstring>

#include "text/text_format.h"

namespace trallio {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

size_t EncodedUtf8Length(char32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

}  // namespace

size_t PutUtf8(char32_t code, char* out, size_t size, size_t length) {
    const size_t count = EncodedUtf8Length(code);
    if (length + count >= size) {
        return length;
    }
    unsigned char* p = reinterpret_cast<unsigned char*>(out + length);
    if (count == 1) {
        p[0] = static_cast<unsigned char>(code);
    } else if (count == 2) {
        p[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
        p[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else if (count == 3) {
        p[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
        p[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        p[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else {
        p[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
        p[1] = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
        p[2] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        p[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    }
    return length + count;
}

char32_t DecodeUtf8(const char* text, size_t length, size_t& used) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    used = 1;
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        return lead;
    }
    size_t count;
    char32_t code;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return kReplacementCharacter;
    }
    if (count > length) {
        return kReplacementCharacter;
    }
    for (size_t i = 1; i < count; ++i) {
        if (!IsContinuation(p[i])) {
            return kReplacementCharacter;
        }
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return kReplacementCharacter;
    }
    used = count;
    return code;
}

namespace {

// Decodes `text` one character at a time and hands each to `put`, stopping at the first that
// `put` says does not fit.
template <typename Put>
void DecodeEachUtf8(const char* text, size_t length, Put put) {
    size_t at = 0;
    while (at < length) {
        size_t used;
        if (!put(DecodeUtf8(text + at, length - at, used))) {
            return;
        }
        at += used;
    }
}

}  // namespace

size_t Utf8ToUtf16(const char* text, size_t length, char16_t* out, size_t units) {
    size_t written = 0;
    DecodeEachUtf8(text, length, [&](char32_t code) {
        const size_t need = code >= 0x10000 ? 2 : 1;
        if (written + need >= units) {
            return false;
        }
        if (need == 2) {
            const char32_t offset = code - 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 | (offset >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 | (offset & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(code);
        }
        return true;
    });
    out[written] = 0;
    return written;
}

size_t Utf16ToUtf8(const char16_t* text, size_t length, char* out, size_t size) {
    size_t written = 0;
    for (size_t at = 0; at < length; ++at) {
        char32_t code = text[at];
        if (code >= 0xD800 && code <= 0xDBFF && at + 1 < length && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[at + 1] - 0xDC00);
            ++at;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacementCharacter;
        }
        const size_t next = PutUtf8(code, out, size, written);
        if (next == written) {
            break;
        }
        written = next;
    }
    out[written] = 0;
    return written;
}

size_t CleanUtf8(const char* text, size_t length, char* out, size_t size) {
    size_t written = 0;
    DecodeEachUtf8(text, length, [&](char32_t code) {
        const size_t next = PutUtf8(code, out, size, written);
        const bool fits = next != written;
        written = next;
        return fits;
    });
    out[written] = 0;
    return written;
}

size_t Utf8CutLength(const char* text, size_t limit) {
    return Utf8PrefixLength(text, strnlen(text, limit + 4), limit);
}

size_t Utf8PrefixLength(const char* text, size_t length, size_t limit) {
    size_t kept = 0;
    while (kept < length) {
        size_t used;
        DecodeUtf8(text + kept, length - kept, used);
        if (kept + used > limit) {
            break;
        }
        kept += used;
    }
    return kept;
}

size_t AppendUtf8Bounded(char* buffer, size_t size, size_t length, const char* text) {
    return AppendFitted(buffer, size, length, text, Utf8CutLength);
}

}  // namespace trallio
