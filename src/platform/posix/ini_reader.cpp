// GetPrivateProfileStringA for systems that have none: reads one value from an INI file.
//
// The rules, close to the platform reader's:
// - section and key names match without regard to ASCII case;
// - blanks (spaces and tabs) around names and values are trimmed, and one pair of matching quotes
//   around a value is removed;
// - lines whose first non-blank byte is ';' or '#' are comments; lines without '=' outside a
//   section header are ignored;
// - the first matching key wins, in file order, also across repeated sections of the same name;
// - the value is cut to size - 1 bytes and always terminated;
// - the default applies when the file, the section or the key is missing;
// - a backslash in the file's path is read as a slash; values are returned byte for byte.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"
#include "text/ini_names.h"

namespace {

// A settings file larger than this is read only up to here; nothing a player writes comes near.
constexpr size_t kMaxFileBytes = 16u << 20;

bool ReadFile(const char* path, std::string& contents) {
    std::string systemPath(path);
    for (char& c : systemPath) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::FILE* file = std::fopen(systemPath.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char chunk[4096];
    size_t got;
    while (contents.size() < kMaxFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        contents.append(chunk, got);
    }
    std::fclose(file);
    if (contents.size() > kMaxFileBytes) {
        contents.resize(kMaxFileBytes);
    }
    return true;
}

using trallio::ini::SameName;
using trallio::ini::Trim;

// Finds the value of `key` in `section`; returns false when either is missing.
bool FindValue(const std::string& contents, const char* section, const char* key, const char*& valueBegin,
               const char*& valueEnd) {
    const char* p = contents.data();
    const char* const fileEnd = p + contents.size();
    bool inSection = false;
    while (p < fileEnd) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(fileEnd - p)));
        if (lineEnd == nullptr) {
            lineEnd = fileEnd;
        }
        const char* begin = p;
        const char* end = lineEnd;
        p = lineEnd < fileEnd ? lineEnd + 1 : fileEnd;
        Trim(begin, end);
        if (begin == end || *begin == ';' || *begin == '#') {
            continue;
        }
        if (*begin == '[') {
            const char* close = static_cast<const char*>(std::memchr(begin, ']', static_cast<size_t>(end - begin)));
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
        const char* equals = static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(end - begin)));
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
        valueEnd = end;
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

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName) {
    if (returned == nullptr || size == 0) {
        return 0;
    }
    const char* valueBegin = defaultValue != nullptr ? defaultValue : "";
    const char* valueEnd = valueBegin + std::strlen(valueBegin);
    std::string contents;
    if (section != nullptr && key != nullptr && fileName != nullptr && ReadFile(fileName, contents)) {
        FindValue(contents, section, key, valueBegin, valueEnd);
    }
    size_t length = static_cast<size_t>(valueEnd - valueBegin);
    if (length > size - 1) {
        length = size - 1;
    }
    std::memcpy(returned, valueBegin, length);
    returned[length] = 0;
    return static_cast<DWORD>(std::strlen(returned));
}
