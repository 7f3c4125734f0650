#include "audio/mci_channel.h"

#include <cstddef>
#include <cstdint>

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

// Appends bytes one to one as 16-bit units of the same value. Bytes 0x80..0xFF become
// U+0080..U+00FF, which is how the directory stream narrows names, so the widened name finds the
// same file. A command that would not fit is cut; the caller then sends a truncated text, which the
// service rejects, rather than writing past the buffer.
void Append(CommandText& command, const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (command.length + 1 >= kCommandUnits) {
            break;
        }
        command.units[command.length++] = static_cast<WCHAR>(*p);
    }
    command.units[command.length] = 0;
}

void AppendDecimal(CommandText& command, int32_t value) {
    char digits[16];
    size_t count = 0;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char text[17];
    size_t length = 0;
    if (value < 0) {
        text[length++] = '-';
    }
    while (count > 0) {
        text[length++] = digits[--count];
    }
    text[length] = 0;
    Append(command, text);
}

// keyword + "\"" + folder + "\\" + track + "\"" + tail
void BuildCommand(CommandText& command, const char* keyword, const char* folder, const char* track,
                  const char* tail) {
    command.length = 0;
    command.units[0] = 0;
    Append(command, keyword);
    Append(command, "\"");
    Append(command, folder);
    Append(command, "\\");
    Append(command, track);
    Append(command, "\"");
    Append(command, tail);
}

void Send(const char* keyword, const char* folder, const char* track, const char* tail) {
    CommandText command;
    BuildCommand(command, keyword, folder, track, tail);
    mciSendStringW(command.units, nullptr, 0, nullptr);
}

}  // namespace

void OpenTrack(const char* folder, const char* track) {
    if (folder[0] == 0 || track[0] == 0) {
        return;
    }
    Send("open ", folder, track, " type MPEGVideo");
    Send("play ", folder, track, "");
}

void CloseTrack(const char* folder, const char* track) {
    Send("close ", folder, track, "");
}

void SetTrackVolume(const char* folder, const char* track) {
    CommandText command;
    BuildCommand(command, "setaudio ", folder, track, " volume to ");
    AppendDecimal(command, radio.volume);
    mciSendStringW(command.units, nullptr, 0, nullptr);
}

void PauseTrack(const char* folder, const char* track) {
    Send("pause ", folder, track, "");
}

void ResumeTrack(const char* folder, const char* track) {
    Send("resume ", folder, track, " notify");
}

bool IsTrackStopped(const char* folder, const char* track) {
    CommandText command;
    BuildCommand(command, "status ", folder, track, " mode");
    // The first unit is a space so that a service that writes nothing reads as no reply; the
    // rest is zeroed so that nothing uninitialised is ever read.
    WCHAR reply[kReplyUnits] = {u' '};
    mciSendStringW(command.units, reply, kReplyUnits, nullptr);

    // Read only up to the first zero unit within the buffer: a service that writes no reply
    // leaves the space, which reads as not stopped.
    char narrow[kReplyUnits + 1];
    size_t length = 0;
    while (length < kReplyUnits && reply[length] != 0) {
        narrow[length] = static_cast<char>(reply[length] & 0xFF);
        ++length;
    }
    narrow[length] = 0;
    static const char kStopped[] = "stopped";
    const size_t needle = sizeof kStopped - 1;
    for (size_t start = 0; start + needle <= length; ++start) {
        size_t i = 0;
        while (i < needle && narrow[start + i] == kStopped[i]) {
            ++i;
        }
        if (i == needle) {
            return true;
        }
    }
    return false;
}

}  // namespace trallio
