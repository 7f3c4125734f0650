#include "platform/posix/media/command.h"

namespace trallio::media {

namespace {

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

// One word of the command: [begin, end) in the text. `quoted` words had their quotes removed.
struct Word {
    const char16_t* begin = nullptr;
    const char16_t* end = nullptr;
    bool quoted = false;
};

// Walks the command text word by word.
class Words {
public:
    explicit Words(const char16_t* text) : next_(text) {}

    // Returns false at the end of the text. A quote without its closing partner sets `error`.
    bool Next(Word& word, MciError& error) {
        while (*next_ != 0 && IsBlank(*next_)) {
            ++next_;
        }
        if (*next_ == 0) {
            return false;
        }
        if (*next_ == u'"') {
            const char16_t* begin = ++next_;
            while (*next_ != 0 && *next_ != u'"') {
                ++next_;
            }
            if (*next_ == 0) {
                error = kMciNoClosingQuote;
                return false;
            }
            word = Word{begin, next_, true};
            ++next_;
            return true;
        }
        const char16_t* begin = next_;
        while (*next_ != 0 && !IsBlank(*next_)) {
            ++next_;
        }
        word = Word{begin, next_, false};
        return true;
    }

private:
    const char16_t* next_;
};

// Case-insensitive (ASCII) comparison of an unquoted word with a lower-case keyword.
bool Is(const Word& word, const char* keyword) {
    if (word.quoted) {
        return false;
    }
    const char16_t* p = word.begin;
    for (; *keyword != 0; ++keyword, ++p) {
        if (p == word.end) {
            return false;
        }
        char16_t unit = *p;
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
        if (unit != static_cast<unsigned char>(*keyword)) {
            return false;
        }
    }
    return p == word.end;
}

// Command keywords that MCI knows but this service does not carry out.
bool IsOtherMciCommand(const Word& word) {
    static const char* const kOthers[] = {
        "break", "capability", "configure", "cue",  "info",  "load",   "put",    "realize",
        "record", "save",      "seek",      "set",  "setvideo", "signal", "step", "stop",
        "sysinfo", "update",   "where",     "window", "freeze", "unfreeze", "list", "undo",
    };
    for (const char* keyword : kOthers) {
        if (Is(word, keyword)) {
            return true;
        }
    }
    return false;
}

MciError ParseVerb(const Word& word, Verb& verb) {
    static const struct {
        const char* keyword;
        Verb verb;
    } kVerbs[] = {
        {"open", Verb::Open},   {"play", Verb::Play},         {"pause", Verb::Pause},
        {"resume", Verb::Resume}, {"close", Verb::Close},     {"setaudio", Verb::SetAudio},
        {"status", Verb::Status},
    };
    for (const auto& entry : kVerbs) {
        if (Is(word, entry.keyword)) {
            verb = entry.verb;
            return kMciOk;
        }
    }
    return IsOtherMciCommand(word) ? kMciUnsupportedFunction : kMciUnrecognizedCommand;
}

// A decimal volume: digits only, at most 1000.
MciError ParseVolume(const Word& word, uint32_t& volume) {
    if (word.quoted || word.begin == word.end) {
        return kMciBadInteger;
    }
    uint32_t value = 0;
    for (const char16_t* p = word.begin; p != word.end; ++p) {
        if (*p < u'0' || *p > u'9') {
            return kMciBadInteger;
        }
        if (value <= 1000) {
            value = value * 10 + static_cast<uint32_t>(*p - u'0');
        }
    }
    if (value > 1000) {
        return kMciOutOfRange;
    }
    volume = value;
    return kMciOk;
}

MciError ParseStatusItem(const Word& word, StatusItem& item) {
    static const struct {
        const char* keyword;
        StatusItem item;
    } kItems[] = {
        {"mode", StatusItem::Mode},
        {"position", StatusItem::Position},
        {"length", StatusItem::Length},
        {"volume", StatusItem::Volume},
    };
    for (const auto& entry : kItems) {
        if (Is(word, entry.keyword)) {
            item = entry.item;
            return kMciOk;
        }
    }
    return kMciUnrecognizedKeyword;
}

}  // namespace

MciError ParseCommand(const char16_t* text, Command& command) {
    command = Command{};
    if (text == nullptr) {
        return kMciMissingCommandString;
    }
    Words words(text);
    MciError error = kMciOk;
    Word word;
    if (!words.Next(word, error)) {
        return error != kMciOk ? error : kMciMissingCommandString;
    }
    error = ParseVerb(word, command.verb);
    if (error != kMciOk) {
        return error;
    }
    if (!words.Next(word, error)) {
        return error != kMciOk ? error : kMciMissingDeviceName;
    }
    if (word.begin == word.end) {
        return kMciMissingDeviceName;
    }
    command.device.assign(word.begin, word.end);
    command.all = command.verb == Verb::Close && Is(word, "all");

    bool haveItem = false;
    while (words.Next(word, error)) {
        if (Is(word, "notify")) {
            command.notify = true;
        } else if (Is(word, "wait")) {
            command.wait = true;
        } else if (command.verb == Verb::Open && Is(word, "type")) {
            if (!words.Next(word, error)) {
                return error != kMciOk ? error : kMciMissingParameter;
            }
            // MCI answers an unknown device type as an unknown device.
            if (!Is(word, "mpegvideo")) {
                return kMciInvalidDeviceName;
            }
            command.typed = true;
        } else if (command.verb == Verb::SetAudio && Is(word, "volume") && !haveItem) {
            if (!words.Next(word, error)) {
                return error != kMciOk ? error : kMciMissingParameter;
            }
            if (!Is(word, "to")) {
                return kMciMissingParameter;
            }
            if (!words.Next(word, error)) {
                return error != kMciOk ? error : kMciMissingParameter;
            }
            error = ParseVolume(word, command.volume);
            if (error != kMciOk) {
                return error;
            }
            haveItem = true;
        } else if (command.verb == Verb::Status && !haveItem) {
            error = ParseStatusItem(word, command.item);
            if (error != kMciOk) {
                return error;
            }
            haveItem = true;
        } else {
            return kMciUnrecognizedKeyword;
        }
    }
    if (error != kMciOk) {
        return error;
    }
    if ((command.verb == Verb::SetAudio || command.verb == Verb::Status) && !haveItem) {
        return kMciMissingParameter;
    }
    return kMciOk;
}

}  // namespace trallio::media
