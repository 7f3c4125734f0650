#include "scenario.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

constexpr long kMaxFrame = 10000000;  // about two days of game at 60 frames a second

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) {
        return "";
    }
    const size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

// Splits off the first blank-separated word; `rest` keeps what follows, trimmed.
std::string NextWord(std::string& rest) {
    rest = Trim(rest);
    const size_t blank = rest.find_first_of(" \t");
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? "" : Trim(rest.substr(blank));
    return word;
}

bool ParseNumber(const std::string& word, long low, long high, long& value) {
    if (word.empty() || word.size() > 9) {
        return false;
    }
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    value = std::strtol(word.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

bool ParseSwitch(const std::string& word, const char* onWord, const char* offWord, bool& on) {
    if (word == onWord) {
        on = true;
        return true;
    }
    if (word == offWord) {
        on = false;
        return true;
    }
    return false;
}

// A command line after its frame: the command's name, the text after it (trimmed) and that text
// split into words.
struct CommandText {
    std::string name;
    std::string rest;
    std::vector<std::string> words;
};

// Each parser fills the event from the command's text; returns an error message, or "".
using CommandParser = std::string (*)(CommandText& text, ScenarioEvent& event);

// mount, vehicle, boat, train, conversation, pause-menu: on or off.
std::string ParseOnOff(CommandText& text, ScenarioEvent& event) {
    if (text.words.size() != 1 || !ParseSwitch(text.words[0], "on", "off", event.on)) {
        return "expected \"" + text.name + " on|off\"";
    }
    return "";
}

std::string ParseKey(CommandText& text, ScenarioEvent& event) {
    const std::vector<std::string>& words = text.words;
    if (words.size() != 2) {
        return "expected \"key q|r down|up\"";
    }
    if (words[0] == "q" || words[0] == "Q") {
        event.key = 'Q';
    } else if (words[0] == "r" || words[0] == "R") {
        event.key = 'R';
    } else {
        return "unknown key \"" + words[0] + "\": the radio reads only q and r";
    }
    if (!ParseSwitch(words[1], "down", "up", event.on)) {
        return "expected \"key q|r down|up\"";
    }
    return "";
}

std::string ParseButton(CommandText& text, ScenarioEvent& event) {
    if (text.words.size() != 1 || !ParseSwitch(text.words[0], "down", "up", event.on)) {
        return "expected \"button down|up\"";
    }
    return "";
}

// Two words, each a number from `low` to 100000, into the event's x and y.
bool ParseTwoNumbers(const std::vector<std::string>& words, long low, ScenarioEvent& event) {
    long x;
    long y;
    if (words.size() != 2 || !ParseNumber(words[0], low, 100000, x) || !ParseNumber(words[1], low, 100000, y)) {
        return false;
    }
    event.x = static_cast<int>(x);
    event.y = static_cast<int>(y);
    return true;
}

std::string ParseCursor(CommandText& text, ScenarioEvent& event) {
    const std::vector<std::string>& words = text.words;
    if (words.size() == 2 && words[0] == "slot") {
        long index;
        event.slot = ParseNumber(words[1], 0, 7, index) ? static_cast<int>(index) : SlotByName(words[1]);
        if (event.slot < 0) {
            return "unknown slot \"" + words[1] +
                   "\": use 0..7 or background, off, station1, station2, station3, volume-down, "
                   "volume-up, skip";
        }
        return "";
    }
    if (!ParseTwoNumbers(words, 0, event)) {
        return "expected \"cursor X Y\" (client pixels) or \"cursor slot NAME\"";
    }
    return "";
}

std::string ParseWindow(CommandText& text, ScenarioEvent& event) {
    if (!ParseTwoNumbers(text.words, 1, event)) {
        return "expected \"window WIDTH HEIGHT\" in pixels, each at least 1";
    }
    return "";
}

// finish, end: the name alone.
std::string ParseNameOnly(CommandText& text, ScenarioEvent&) {
    return text.words.empty() ? "" : "expected \"" + text.name + "\"";
}

// await FRAMES TEXT: the text is the rest of the line, blanks and all.
std::string ParseAwait(CommandText& text, ScenarioEvent& event) {
    const std::string count = NextWord(text.rest);
    long frames;
    if (!ParseNumber(count, 1, kMaxFrame, frames) || text.rest.empty()) {
        return "expected \"await FRAMES TEXT\"";
    }
    event.frames = static_cast<int>(frames);
    event.text = text.rest;
    return "";
}

// screenshot PATH: the path is the rest of the line, blanks and all.
std::string ParseScreenshot(CommandText& text, ScenarioEvent& event) {
    if (text.rest.empty()) {
        return "expected \"screenshot PATH\"";
    }
    event.text = text.rest;
    return "";
}

// pad on|off: the game pad is the input in use.
std::string ParsePad(CommandText& text, ScenarioEvent& event) {
    return ParseOnOff(text, event);
}

// pad-button wheel|a|b|lb|rb down|up, the button as its letter: W, A, B, L, R.
std::string ParsePadButton(CommandText& text, ScenarioEvent& event) {
    static const char* const kNames[] = {"wheel", "a", "b", "lb", "rb"};
    static const char kLetters[] = {'W', 'A', 'B', 'L', 'R'};
    for (int i = 0; i < 5 && text.words.size() == 2; ++i) {
        if (text.words[0] == kNames[i] && ParseSwitch(text.words[1], "down", "up", event.on)) {
            event.key = kLetters[i];
            return "";
        }
    }
    return "expected \"pad-button wheel|a|b|lb|rb down|up\"";
}

// stick up|down|left|right|centre: the right stick all the way, or back at the centre.
std::string ParseStick(CommandText& text, ScenarioEvent& event) {
    static const char* const kNames[] = {"centre", "up", "down", "left", "right"};
    static const int kX[] = {0, 0, 0, -1, 1};
    static const int kY[] = {0, -1, 1, 0, 0};
    for (int i = 0; i < 5 && text.words.size() == 1; ++i) {
        if (text.words[0] == kNames[i]) {
            event.x = kX[i];
            event.y = kY[i];
            return "";
        }
    }
    return "expected \"stick up|down|left|right|centre\"";
}

const struct {
    const char* name;
    Command command;
    CommandParser parse;
} kCommands[] = {
    {"mount", Command::Mount, ParseOnOff},
    {"vehicle", Command::Vehicle, ParseOnOff},
    {"boat", Command::Boat, ParseOnOff},
    {"train", Command::Train, ParseOnOff},
    {"conversation", Command::Conversation, ParseOnOff},
    {"pause-menu", Command::PauseMenu, ParseOnOff},
    {"key", Command::Key, ParseKey},
    {"button", Command::Button, ParseButton},
    {"pad", Command::Pad, ParsePad},
    {"pad-button", Command::PadButton, ParsePadButton},
    {"stick", Command::Stick, ParseStick},
    {"cursor", Command::Cursor, ParseCursor},
    {"window", Command::Window, ParseWindow},
    {"finish", Command::Finish, ParseNameOnly},
    {"end", Command::End, ParseNameOnly},
    {"await", Command::Await, ParseAwait},
    {"screenshot", Command::Screenshot, ParseScreenshot},
};

// Parses what follows the frame number. Returns an error message, or "" when the line is good.
std::string ParseCommand(std::string rest, ScenarioEvent& event) {
    CommandText text;
    text.name = NextWord(rest);
    text.rest = rest;
    for (std::string scan = rest; !scan.empty();) {
        text.words.push_back(NextWord(scan));
    }
    for (const auto& command : kCommands) {
        if (text.name == command.name) {
            event.command = command.command;
            return command.parse(text, event);
        }
    }
    if (text.name.empty()) {
        return "a frame number without a command";
    }
    return "unknown command \"" + text.name + "\"";
}

}  // namespace

int SlotByName(const std::string& name) {
    static const char* const kNames[] = {"background", "off",         "station1",  "station2",
                                         "station3",   "volume-down", "volume-up", "skip"};
    for (int slot = 0; slot < 8; ++slot) {
        if (name == kNames[slot]) {
            return slot;
        }
    }
    return -1;
}

bool ParseScenario(const std::string& text, Scenario& scenario, std::string& error) {
    scenario.events.clear();
    std::istringstream lines(text);
    std::string raw;
    int lineNumber = 0;
    // The last absolute frame known while reading; unknown after an await, whose end is only
    // known when the scenario runs.
    long known = 0;
    bool frameKnown = true;
    bool ended = false;
    while (std::getline(lines, raw)) {
        ++lineNumber;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        auto fail = [&](const std::string& message) {
            error = "line " + std::to_string(lineNumber) + ": " + message;
            return false;
        };
        if (ended) {
            return fail("nothing may follow \"end\"");
        }
        ScenarioEvent event;
        event.line = lineNumber;
        event.source = line;
        std::string rest = line;
        std::string frameWord = NextWord(rest);
        long frame;
        if (!frameWord.empty() && frameWord[0] == '+') {
            event.relative = true;
            if (!ParseNumber(frameWord.substr(1), 0, kMaxFrame, frame)) {
                return fail("bad relative frame \"" + frameWord + "\": expected +N with N from 0");
            }
        } else if (!ParseNumber(frameWord, 1, kMaxFrame, frame)) {
            return fail("bad frame \"" + frameWord + "\": expected a frame number from 1 or +N");
        }
        event.frame = static_cast<int>(frame);
        const std::string problem = ParseCommand(rest, event);
        if (!problem.empty()) {
            return fail(problem);
        }
        if (!event.relative) {
            if (frameKnown && frame < known) {
                return fail("frame " + std::to_string(frame) + " comes before frame " + std::to_string(known) +
                            " of an earlier line");
            }
            known = frame;
            frameKnown = true;
        } else if (frameKnown) {
            known += frame;
            if (known > kMaxFrame) {
                return fail("frame beyond " + std::to_string(kMaxFrame));
            }
        }
        if (event.command == Command::Await) {
            frameKnown = false;
        }
        ended = event.command == Command::End;
        scenario.events.push_back(event);
    }
    return true;
}

bool LoadScenario(const std::string& path, Scenario& scenario, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return ParseScenario(contents.str(), scenario, error);
}

}  // namespace sim
