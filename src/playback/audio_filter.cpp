#include "playback/audio_filter.h"

#include <cstring>

namespace trallio {

namespace {

// True when `extension` (which starts with '.') stands anywhere in `name` as a run of bytes: a
// scan for each '.' followed by a comparison of the extension's remaining bytes.
bool ContainsExtension(const char* name, size_t nameLength, const char* extension) {
    const size_t length = std::strlen(extension);
    if (nameLength < length) {
        return false;
    }
    const char* last = name + (nameLength - length);
    for (const char* p = name; p <= last; ++p) {
        if (*p == '.' && std::memcmp(p + 1, extension + 1, length - 1) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsAudioFile(const char* name) {
    if (name == nullptr || name[0] == 0) {
        return false;
    }
    const size_t length = std::strlen(name);
    static const char* const kExtensions[] = {".mp3", ".aac", ".wav", ".flac", ".ogg"};
    bool audio = false;
    for (const char* extension : kExtensions) {
        audio |= ContainsExtension(name, length, extension);
    }
    return audio;
}

}  // namespace trallio
