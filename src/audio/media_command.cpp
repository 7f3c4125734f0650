#include "audio/media_command.h"

#include <cstring>

#include "text/utf.h"

namespace trallio {

namespace {

// Appends `count` bytes one to one as 16-bit units of the same value. Bytes 0x80..0xFF become
// U+0080..U+00FF, which is how the directory stream narrows names, so the widened name finds the
// same file. The terminator is written by BuildMediaCommand.
void AppendBytes(MediaCommand& command, const char* text, size_t count) {
    const size_t room = kMediaCommandUnits - 1 - command.length;
    if (count > room) {
        count = room;
    }
    WCHAR* out = command.units + command.length;
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<WCHAR>(in[i]);
    }
    command.length += count;
}

// A UTF-8 folder or file name as its UTF-16 form, cut between characters when it would not fit.
void AppendUtf8(MediaCommand& command, const char* text) {
    char16_t units[kMediaCommandUnits];
    const size_t count = Utf8ToUtf16(text, std::strlen(text), units, kMediaCommandUnits - command.length);
    WCHAR* out = command.units + command.length;
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<WCHAR>(units[i]);
    }
    command.length += count;
}

void AppendName(MediaCommand& command, const char* text, bool utf8) {
    if (utf8) {
        AppendUtf8(command, text);
    } else {
        AppendBytes(command, text, std::strlen(text));
    }
}

}  // namespace

void BuildMediaCommand(MediaCommand& command, const char* keyword, const char* folder, const char* name,
                       const char* tail, bool utf8Names) {
    command.length = 0;
    AppendBytes(command, keyword, std::strlen(keyword));
    AppendBytes(command, "\"", 1);
    AppendName(command, folder, utf8Names);
    AppendBytes(command, "\\", 1);
    AppendName(command, name, utf8Names);
    AppendBytes(command, "\"", 1);
    AppendToMediaCommand(command, tail);
}

void AppendToMediaCommand(MediaCommand& command, const char* text) {
    AppendBytes(command, text, std::strlen(text));
    command.units[command.length] = 0;
}

}  // namespace trallio
