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

#include "platform/posix/system_path.h"
#include "platform/win32.h"
#include "text/ini_names.h"

namespace {

// A settings file larger than this is read only up to here; nothing a player writes comes near.
constexpr size_t kMaxFileBytes = 16u << 20;

bool ReadFile(const char* path, std::string& contents) {
    std::FILE* file = std::fopen(trallio::SystemPath(path).c_str(), "rb");
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

// Finds the value of `key` in `section`; returns false when either is missing.
bool FindValue(const std::string& contents, const char* section, const char* key, const char*& valueBegin,
               const char*& valueEnd) {
    return trallio::ini::FindValue(contents.data(), contents.size(), section, key, valueBegin, valueEnd);
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
