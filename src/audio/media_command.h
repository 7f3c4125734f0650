// The command text the radio sends for a track: one builder for the radio's own commands and for
// the station checker's test-play, so both name a file the same way.
#pragma once

#include <cstddef>

#include "platform/win32.h"

namespace trallio {

// Room for the longest command: a keyword, a quoted path of a 254-byte folder and a name of 260
// bytes (255 UTF-16 units with Unicode names), the longest trailing piece and ten digits with a sign.
constexpr size_t kMediaCommandUnits = 640;

struct MediaCommand {
    WCHAR units[kMediaCommandUnits];  // terminated
    size_t length;                    // units before the terminator
};

// keyword + "\"" + folder + "\\" + name + "\"" + tail. With `utf8Names` the folder and name are
// UTF-8 and go as their UTF-16 form (characters above U+FFFF as surrogate pairs); otherwise each
// byte goes as the 16-bit unit of the same value, which is how the directory stream narrows names.
// The keyword and tail go byte for byte. A command that would not fit is cut (the folder or name
// between characters); the service then refuses it, and nothing is written past the buffer.
void BuildMediaCommand(MediaCommand& command, const char* keyword, const char* folder, const char* name,
                       const char* tail, bool utf8Names);

// Appends `text` byte for byte to a built command and terminates it (what does not fit is cut).
void AppendToMediaCommand(MediaCommand& command, const char* text);

}  // namespace trallio
