#include "text/ini_names.h"

#include <cstring>

#include "text/words.h"

namespace trallio {
namespace ini {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// [begin, end) with blanks removed on both sides.
void Trim(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
}

// Whether [begin, end) is `name`, upper and lower case alike.
bool SameName(const char* begin, const char* end, const char* name) {
    const size_t length = std::strlen(name);
    if (static_cast<size_t>(end - begin) != length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(begin[i]) != LowerAscii(name[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool FindValue(const char* text, size_t length, const char* section, const char* key, const char*& valueBegin,
               const char*& valueEnd) {
    const char* const end = text + length;
    bool inSection = false;
    for (const char* line = text; line < end;) {
        const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        if (lineEnd == nullptr) {
            lineEnd = end;
        }
        const char* begin = line;
        const char* stop = lineEnd;
        line = lineEnd < end ? lineEnd + 1 : end;
        Trim(begin, stop);
        if (begin == stop || *begin == ';' || *begin == '#') {
            continue;
        }
        if (*begin == '[') {
            const char* close = static_cast<const char*>(std::memchr(begin, ']', static_cast<size_t>(stop - begin)));
            if (close != nullptr) {
                const char* nameBegin = begin + 1;
                const char* nameEnd = close;
                Trim(nameBegin, nameEnd);
                inSection = SameName(nameBegin, nameEnd, section);
                continue;
            }
        }
        if (!inSection) {
            continue;
        }
        const char* equals = static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(stop - begin)));
        if (equals == nullptr) {
            continue;
        }
        const char* keyBegin = begin;
        const char* keyEnd = equals;
        Trim(keyBegin, keyEnd);
        if (!SameName(keyBegin, keyEnd, key)) {
            continue;
        }
        valueBegin = equals + 1;
        valueEnd = stop;
        Trim(valueBegin, valueEnd);
        if (valueEnd - valueBegin >= 2 && (*valueBegin == '"' || *valueBegin == '\'') &&
            valueEnd[-1] == *valueBegin) {
            ++valueBegin;
            --valueEnd;
        }
        return true;
    }
    return false;
}

}  // namespace ini
}  // namespace trallio
