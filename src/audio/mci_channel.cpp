#include "audio/mci_channel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "playback/sound_mix.h"
#include "text/text_format.h"
#include "text/utf.h"
#include "platform/win32.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

// Room for the longest command: a keyword, a quoted path of a 254-byte folder and a 260-byte
// name, the longest trailing piece and ten digits with a sign.
constexpr size_t kCommandUnits = 640;
constexpr size_t kReplyUnits = 64;

struct CommandText {
    WCHAR units[kCommandUnits];
    size_t length;
};

// Appends `count` bytes one to one as 16-bit units of the same value. Bytes 0x80..0xFF become
// U+0080..U+00FF, which is how the directory stream narrows names, so the widened name finds the
// same file. A command that would not fit is cut; the caller then sends a truncated text, which the
// service rejects, rather than writing past the buffer. The terminator is written by Terminate.
void AppendBytes(CommandText& command, const char* text, size_t count) {
    const size_t room = kCommandUnits - 1 - command.length;
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

// With Unicode names, a folder or file name is UTF-8 and becomes its UTF-16 form (characters above
// U+FFFF as surrogate pairs), cut between characters when it would not fit.
void AppendUtf8(CommandText& command, const char* text) {
    char16_t units[kCommandUnits];
    const size_t count = Utf8ToUtf16(text, std::strlen(text), units, kCommandUnits - command.length);
    WCHAR* out = command.units + command.length;
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<WCHAR>(units[i]);
    }
    command.length += count;
}

void Append(CommandText& command, const char* text) {
    if (radio.unicodeNames) {
        AppendUtf8(command, text);
    } else {
        AppendBytes(command, text, std::strlen(text));
    }
}

// The command's fixed pieces, whose lengths are known when the radio is built.
struct Piece {
    const char* text;
    size_t length;
};

template <size_t N>
constexpr Piece Literal(const char (&text)[N]) {
    return Piece{text, N - 1};
}

void Terminate(CommandText& command) {
    command.units[command.length] = 0;
}

// keyword + "\"" + folder + "\\" + track + "\"" + tail
void BuildCommand(CommandText& command, Piece keyword, const char* folder, const char* track, Piece tail) {
    command.length = 0;
    AppendBytes(command, keyword.text, keyword.length);
    AppendBytes(command, "\"", 1);
    Append(command, folder);
    AppendBytes(command, "\\", 1);
    Append(command, track);
    AppendBytes(command, "\"", 1);
    AppendBytes(command, tail.text, tail.length);
    Terminate(command);
}

MCIERROR Send(Piece keyword, const char* folder, const char* track, Piece tail) {
    CommandText command;
    BuildCommand(command, keyword, folder, track, tail);
    return mciSendStringW(command.units, nullptr, 0, nullptr);
}

// Sends the status query and tells whether the reply holds "stopped"; `refused` tells whether the
// service answered the query with an error.
bool QueryStopped(const char* folder, const char* track, bool& refused) {
    CommandText command;
    BuildCommand(command, Literal("status "), folder, track, Literal(" mode"));
    // The first unit is a space so that a service that writes nothing reads as no reply; the
    // rest is zeroed so that nothing uninitialised is ever read.
    WCHAR reply[kReplyUnits] = {u' '};
    refused = mciSendStringW(command.units, reply, kReplyUnits, nullptr) != 0;

    // Read only up to the first zero unit within the buffer: a service that writes no reply
    // leaves the space, which reads as not stopped. Each unit counts by its low 8 bits.
    size_t length = 0;
    while (length < kReplyUnits && reply[length] != 0) {
        ++length;
    }
    static const char kStopped[] = "stopped";
    const size_t needle = sizeof kStopped - 1;
    for (size_t start = 0; start + needle <= length; ++start) {
        size_t i = 0;
        while (i < needle && static_cast<char>(reply[start + i] & 0xFF) == kStopped[i]) {
            ++i;
        }
        if (i == needle) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool OpenTrack(const char* folder, const char* track) {
    if (folder[0] == 0 || track[0] == 0) {
        return true;
    }
    if (Send(Literal("open "), folder, track, Literal(" type MPEGVideo")) != 0) {
        return false;
    }
    Send(Literal("play "), folder, track, Literal(""));
    return true;
}

void CloseTrack(const char* folder, const char* track) {
    Send(Literal("close "), folder, track, Literal(""));
}

void SetTrackVolume(const char* folder, const char* track) {
    CommandText command;
    BuildCommand(command, Literal("setaudio "), folder, track, Literal(" volume to "));
    char digits[kDecimalSize];
    // The wheel's volume, or its lowered share while someone speaks (duck_dialogue).
    const size_t length = FormatDecimal(VolumeInForce(), digits);
    AppendBytes(command, digits, length);
    Terminate(command);
    mciSendStringW(command.units, nullptr, 0, nullptr);
}

void PauseTrack(const char* folder, const char* track) {
    Send(Literal("pause "), folder, track, Literal(""));
}

void ResumeTrack(const char* folder, const char* track) {
    Send(Literal("resume "), folder, track, Literal(" notify"));
}

bool IsTrackStopped(const char* folder, const char* track) {
    bool refused = false;
    return QueryStopped(folder, track, refused);
}

TrackMode QueryTrackMode(const char* folder, const char* track) {
    bool refused = false;
    const bool stopped = QueryStopped(folder, track, refused);
    if (refused) {
        return TrackMode::kRefused;
    }
    return stopped ? TrackMode::kStopped : TrackMode::kPlaying;
}

}  // namespace trallio
