// Parsing of one media-control command string into what the service acts on.
//
// A command is blank-separated words: the command keyword, the device name, then the command's
// own flags. Keywords and flags are matched without regard to ASCII case. The device name is
// either the text between two double quotes (blanks allowed, nothing escaped) or a single word;
// both forms name the same device.
#pragma once

#include <cstdint>
#include <string>

#include "platform/posix/media/mci_errors.h"

namespace trallio::media {

enum class Verb { Open, Play, Pause, Resume, Close, SetAudio, Status };

enum class StatusItem { Mode, Position, Length, Volume };

struct Command {
    Verb verb = Verb::Status;
    // The device name as sent, without its quotes: compared unit for unit.
    std::u16string device;
    // "close all".
    bool all = false;
    bool notify = false;
    bool wait = false;
    // open: "type <name>" was given (only MPEGVideo is accepted).
    bool typed = false;
    // setaudio: the value of "volume to <n>", 0..1000.
    uint32_t volume = 0;
    StatusItem item = StatusItem::Mode;
};

// Fills `command` from the zero-terminated `text`. Returns 0, or the MCI error code that
// Windows gives the same mistake: unknown command keyword, unknown flag, missing device name or
// parameter, missing closing quote, a volume that is not a number or above 1000.
MciError ParseCommand(const char16_t* text, Command& command);

}  // namespace trallio::media
