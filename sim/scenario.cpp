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

// Parses what follows the frame number. Returns an error message, or "" when the line is good.
std::string ParseCommand(std::string rest, ScenarioEvent& event) {
    const std::string name = NextWord(rest);
    std::vector<std::string> words;
    if (name != "await" && name != "screenshot") {
        std::string scan = rest;
        while (!scan.empty()) {
            words.push_back(NextWord(scan));
        }
    }
    auto expectWords = [&](size_t count, const char* usage) -> std::string {
        return words.size() == count ? "" : std::string("expected \"") + usage + "\"";
    };

    if (name == "mount" || name == "vehicle" || name == "boat" || name == "train" || name == "conversation" ||
        name == "pause-menu") {
        event.command = name == "mount"          ? Command::Mount
                        : name == "vehicle"      ? Command::Vehicle
                        : name == "boat"         ? Command::Boat
                        : name == "train"        ? Command::Train
                        : name == "conversation" ? Command::Conversation
                                                 : Command::PauseMenu;
        const std::string usage = name + " on|off";
        if (words.size() != 1 || !ParseSwitch(words[0], "on", "off", event.on)) {
            return "expected \"" + usage + "\"";
        }
        return "";
    }
    if (name == "key") {
        event.command = Command::Key;
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
    if (name == "button") {
        event.command = Command::Button;
        if (words.size() != 1 || !ParseSwitch(words[0], "down", "up", event.on)) {
            return "expected \"button down|up\"";
        }
        return "";
    }
    if (name == "cursor") {
        event.command = Command::Cursor;
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
        long x;
        long y;
        if (words.size() != 2 || !ParseNumber(words[0], 0, 100000, x) || !ParseNumber(words[1], 0, 100000, y)) {
            return "expected \"cursor X Y\" (client pixels) or \"cursor slot NAME\"";
        }
        event.x = static_cast<int>(x);
        event.y = static_cast<int>(y);
        return "";
    }
    if (name == "window") {
        event.command = Command::Window;
        long width;
        long height;
        if (words.size() != 2 || !ParseNumber(words[0], 1, 100000, width) ||
            !ParseNumber(words[1], 1, 100000, height)) {
            return "expected \"window WIDTH HEIGHT\" in pixels, each at least 1";
        }
        event.x = static_cast<int>(width);
        event.y = static_cast<int>(height);
        return "";
    }
    if (name == "finish") {
        event.command = Command::Finish;
        return expectWords(0, "finish");
    }
    if (name == "end") {
        event.command = Command::End;
        return expectWords(0, "end");
    }
    if (name == "await") {
        event.command = Command::Await;
        const std::string count = NextWord(rest);
        long frames;
        if (!ParseNumber(count, 1, kMaxFrame, frames) || rest.empty()) {
            return "expected \"await FRAMES TEXT\"";
        }
        event.frames = static_cast<int>(frames);
        event.text = rest;
        return "";
    }
    if (name == "screenshot") {
        event.command = Command::Screenshot;
        if (rest.empty()) {
            return "expected \"screenshot PATH\"";
        }
        event.text = rest;
        return "";
    }
    if (name.empty()) {
        return "a frame number without a command";
    }
    return "unknown command \"" + name + "\"";
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
