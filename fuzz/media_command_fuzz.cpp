// Command strings for the Linux media service: any sequence of 16-bit units. The parser must read
// nothing past the terminator, answer with one of the service's error codes, and on success give
// a command that reads back the same when written out again in its plain form.
//
// Input: one byte that chooses how the rest becomes units (bit 0 set: each byte widened to one
// unit, as the radio widens its texts; clear: pairs of bytes, low byte first), then the text.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/posix/media/command.h"

namespace {

using trallio::media::Command;
using trallio::media::MciError;
using trallio::media::StatusItem;
using trallio::media::Verb;

bool IsKnownCode(MciError code) {
    using namespace trallio::media;
    for (MciError known : {kMciOk, kMciUnrecognizedKeyword, kMciUnrecognizedCommand, kMciInvalidDeviceName,
                           kMciMissingCommandString, kMciBadInteger, kMciMissingParameter, kMciUnsupportedFunction,
                           kMciOutOfRange, kMciMissingDeviceName, kMciNoClosingQuote}) {
        if (code == known) {
            return true;
        }
    }
    return false;
}

std::u16string Units(const char* text) {
    return std::u16string(text, text + std::strlen(text));
}

// The command written out in its plain form: keyword, quoted device, then its flags.
std::u16string Write(const Command& c) {
    static const char* const kVerbs[] = {"open", "play", "pause", "resume", "close", "setaudio", "status"};
    static const char* const kItems[] = {"mode", "position", "length", "volume"};
    std::u16string text = Units(kVerbs[static_cast<int>(c.verb)]);
    // "close all" names no device: its word goes out as it came.
    text += c.all ? u" " + c.device : u" \"" + c.device + u"\"";
    if (c.typed) {
        text += u" type mpegvideo";
    }
    if (c.verb == Verb::SetAudio) {
        text += Units((" volume to " + std::to_string(c.volume)).c_str());
    }
    if (c.verb == Verb::Status) {
        text += u" " + Units(kItems[static_cast<int>(c.item)]);
    }
    if (c.notify) {
        text += u" notify";
    }
    if (c.wait) {
        text += u" wait";
    }
    return text;
}

bool Same(const Command& a, const Command& b) {
    return a.verb == b.verb && a.device == b.device && a.all == b.all && a.notify == b.notify && a.wait == b.wait &&
           a.typed == b.typed && a.volume == b.volume && a.item == b.item;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // Exactly the text and its terminator on the heap, so that a read past it is caught.
    std::vector<char16_t> units;
    if ((data[0] & 1) != 0) {
        for (size_t i = 1; i < size; ++i) {
            units.push_back(static_cast<char16_t>(data[i]));
        }
    } else {
        for (size_t i = 1; i + 1 < size; i += 2) {
            units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
    }
    units.push_back(0);
    const std::u16string text(units.data());

    Command command;
    const MciError result = trallio::media::ParseCommand(units.data(), command);
    FUZZ_CHECK(IsKnownCode(result), "code " + std::to_string(result));
    if (result != trallio::media::kMciOk) {
        return 0;
    }
    FUZZ_CHECK(!command.device.empty(), "a command without a device");
    FUZZ_CHECK(command.device.find(u'\0') == std::u16string::npos, "a device name past the terminator");
    FUZZ_CHECK(text.find(command.device) != std::u16string::npos, "a device name that was not sent");
    FUZZ_CHECK(command.volume <= 1000, "volume " + std::to_string(command.volume));
    FUZZ_CHECK(!command.all || command.verb == Verb::Close, "\"all\" on a command other than close");
    FUZZ_CHECK(!command.typed || command.verb == Verb::Open, "a type on a command other than open");

    // Written out plainly and read again, the command is the same; a name holding a quote has no
    // plain form.
    if (command.device.find(u'"') == std::u16string::npos) {
        const std::u16string plain = Write(command);
        Command again;
        FUZZ_CHECK(trallio::media::ParseCommand(plain.c_str(), again) == trallio::media::kMciOk,
                   "the plain form is refused");
        FUZZ_CHECK(Same(command, again), "the plain form reads differently");
    }
    return 0;
}
