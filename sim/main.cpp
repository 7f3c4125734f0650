// trallio-sim: the radio without the game. Hosts the same radio library the plug-in is built
// from, in a window or headless on a scenario file. See docs/simulator.md.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "demo_library.h"
#include "runs.h"
#include "scene.h"
#include "scenario.h"
#include "simulator.h"

namespace {

constexpr char kUsage[] =
    "Usage: trallio-sim [options]\n"
    "\n"
    "Runs the radio plug-in's own code in a stand-in game: in a window (keyboard and mouse), or\n"
    "headless on a scenario file, writing a trace of every call the radio makes.\n"
    "\n"
    "  --game-dir DIR         the game folder: Trallio\\Trallio.ini and relative station folders are\n"
    "                         read from here (default: the current folder)\n"
    "  --window               open a window (the default when a display is set)\n"
    "  --headless SCENARIO    run the scenario file without a window (the default without a display)\n"
    "  --scenario SCENARIO    in a window, let a scenario drive the inputs as well\n"
    "  --trace FILE           write the trace to FILE ('-': standard output, the headless default)\n"
    "  --frames N             stop after N frames\n"
    "  --fps N                frames per second (window: 60; headless: 0, as fast as possible)\n"
    "  --size WIDTHxHEIGHT    window size (default 1280x720)\n"
    "  --screenshot FRAME BMP save the picture of that frame (repeatable; headless draws off-screen)\n"
    "  --demo                 make demo stations for station folders that don't exist, without asking\n"
    "  --no-demo              never make demo stations\n"
    "  --sink auto|system|fake|fast\n"
    "                         where the GStreamer media service plays: the sound card, a sink that\n"
    "                         keeps to the clock, or one that drops sound as fast as it decodes\n"
    "                         (sets TRALLIO_AUDIO_SINK; auto: the sound card when there is one)\n"
    "  --font FILE            TrueType font for the window (default: DejaVu Sans)\n"
    "  --help                 this text\n";

bool ParseInt(const char* text, int low, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || parsed < low || parsed > 100000000) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

int UsageError(const std::string& message) {
    std::cerr << "trallio-sim: " << message << "\n\n" << kUsage;
    return 2;
}

// Makes demo stations where the station folders don't exist: without asking with --demo, after
// asking when someone can answer, not at all otherwise.
void OfferDemo(bool demo, bool noDemo) {
    for (const sim::StationFolder& folder : sim::ReadStationFolders()) {
        if (folder.opens) {
            continue;
        }
        bool make = demo;
        if (!demo && !noDemo) {
            if (isatty(STDIN_FILENO) != 0) {
                std::cout << "Station " << folder.station << "'s folder \"" << folder.text
                          << "\" doesn't exist. Make a demo station there? [Y/n] " << std::flush;
                std::string answer;
                std::getline(std::cin, answer);
                make = answer.empty() || answer[0] == 'y' || answer[0] == 'Y';
            } else {
                std::cerr << "trallio-sim: station " << folder.station << "'s folder \"" << folder.text
                          << "\" doesn't exist (run with --demo to make a demo station there)\n";
            }
        }
        if (make) {
            sim::CreateDemoStation(folder, std::cerr);
        }
    }
}

// What the command line asks for.
struct CommandLine {
    sim::RunOptions options;
    std::string gameDir;
    std::string headless;
    std::string scenarioPath;
    std::string tracePath;
    bool window = false;
    bool demo = false;
    bool noDemo = false;
    bool fpsGiven = false;
};

// The arguments still to read.
struct Arguments {
    int count;
    char** values;
    int next;

    bool Take(std::string& out) {
        if (next >= count) {
            return false;
        }
        out = values[next++];
        return true;
    }
};

// One option: its name, how it reads its values into the command line (false when they are
// missing or wrong), and what to say then.
struct Option {
    const char* name;
    bool (*read)(Arguments& args, CommandLine& line);
    const char* problem;
};

bool ReadSize(Arguments& args, CommandLine& line) {
    std::string text;
    if (!args.Take(text)) {
        return false;
    }
    const size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x).c_str(), 64, line.options.width) &&
           ParseInt(text.substr(x + 1).c_str(), 64, line.options.height);
}

bool ReadScreenshot(Arguments& args, CommandLine& line) {
    std::string text;
    int frame = 0;
    std::string path;
    if (!args.Take(text) || !ParseInt(text.c_str(), 1, frame) || !args.Take(path)) {
        return false;
    }
    line.options.screenshots.emplace_back(frame, path);
    return true;
}

bool ReadSink(Arguments& args, CommandLine&) {
    std::string text;
    if (!args.Take(text) || (text != "auto" && text != "system" && text != "fake" && text != "fast")) {
        return false;
    }
    setenv("TRALLIO_AUDIO_SINK", text.c_str(), 1);
    return true;
}

const Option kOptions[] = {
    {"--game-dir", [](Arguments& a, CommandLine& l) { return a.Take(l.gameDir); }, "--game-dir needs a folder"},
    {"--window", [](Arguments&, CommandLine& l) { l.window = true; return true; }, ""},
    {"--headless", [](Arguments& a, CommandLine& l) { return a.Take(l.headless); },
     "--headless needs a scenario file"},
    {"--scenario", [](Arguments& a, CommandLine& l) { return a.Take(l.scenarioPath); },
     "--scenario needs a scenario file"},
    {"--trace", [](Arguments& a, CommandLine& l) { return a.Take(l.tracePath); }, "--trace needs a file"},
    {"--frames",
     [](Arguments& a, CommandLine& l) {
         std::string text;
         return a.Take(text) && ParseInt(text.c_str(), 1, l.options.frames);
     },
     "--frames needs a number from 1"},
    {"--fps",
     [](Arguments& a, CommandLine& l) {
         std::string text;
         l.fpsGiven = a.Take(text) && ParseInt(text.c_str(), 0, l.options.fps);
         return l.fpsGiven;
     },
     "--fps needs a number from 0"},
    {"--size", ReadSize, "--size needs WIDTHxHEIGHT, each at least 64"},
    {"--screenshot", ReadScreenshot, "--screenshot needs a frame number from 1 and a file"},
    {"--demo", [](Arguments&, CommandLine& l) { l.demo = true; return true; }, ""},
    {"--no-demo", [](Arguments&, CommandLine& l) { l.noDemo = true; return true; }, ""},
    {"--sink", ReadSink, "--sink needs auto, system, fake or fast"},
    {"--font", [](Arguments& a, CommandLine& l) { return a.Take(l.options.font); }, "--font needs a file"},
};

enum class Parsed { Run, Help, Wrong };

// Reads the options in order; stops at the first wrong one (`problem` says what is wrong) or at
// --help.
Parsed ReadCommandLine(int argc, char** argv, CommandLine& line, std::string& problem) {
    Arguments args{argc, argv, 1};
    std::string arg;
    while (args.Take(arg)) {
        if (arg == "--help" || arg == "-h") {
            return Parsed::Help;
        }
        const Option* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                            [&arg](const Option& o) { return arg == o.name; });
        if (option == std::end(kOptions)) {
            problem = "unknown option " + arg;
            return Parsed::Wrong;
        }
        if (!option->read(args, line)) {
            problem = option->problem;
            return Parsed::Wrong;
        }
    }
    return Parsed::Run;
}

// What is wrong with the options taken together, or "".
std::string ConflictIn(const CommandLine& line) {
    if (!line.headless.empty() && (line.window || !line.scenarioPath.empty())) {
        return "--headless runs without a window; use --window --scenario to drive a window";
    }
    if (line.demo && line.noDemo) {
        return "--demo and --no-demo exclude each other";
    }
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && value[0] != 0;
    };
    const bool haveDisplay = isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
    if (line.headless.empty() && !line.window && !haveDisplay) {
        return "no display: give a scenario with --headless, or set DISPLAY for a window";
    }
    return "";
}

// Reads the scenario, if there is one (before moving into the game folder, so its path may be
// relative).
bool LoadScenarioFile(CommandLine& line, bool inWindow) {
    const std::string scenarioFile = inWindow ? line.scenarioPath : line.headless;
    if (scenarioFile.empty()) {
        return true;
    }
    std::string error;
    if (!sim::LoadScenario(scenarioFile, line.options.scenario, error)) {
        std::cerr << "trallio-sim: " << scenarioFile << ": " << error << '\n';
        return false;
    }
    line.options.haveScenario = true;
    return true;
}

// Points the run's trace at standard output, at a file (kept open in `file`) or nowhere.
bool OpenTrace(CommandLine& line, bool inWindow, std::unique_ptr<std::ofstream>& file) {
    const std::string& path = line.tracePath;
    if (path.empty() ? !inWindow : path == "-") {
        line.options.trace = &std::cout;
    } else if (!path.empty()) {
        file = std::make_unique<std::ofstream>(path, std::ios::binary);
        if (!*file) {
            std::cerr << "trallio-sim: cannot write " << path << '\n';
            return false;
        }
        line.options.trace = file.get();
    }
    return true;
}

bool EnterGameFolder(const std::string& gameDir) {
    if (!gameDir.empty() && chdir(gameDir.c_str()) != 0) {
        std::cerr << "trallio-sim: cannot enter the game folder " << gameDir << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    line.options.font = sim::kDefaultFont;
    std::string problem;
    switch (ReadCommandLine(argc, argv, line, problem)) {
        case Parsed::Help:
            std::cout << kUsage;
            return 0;
        case Parsed::Wrong:
            return UsageError(problem);
        case Parsed::Run:
            break;
    }
    problem = ConflictIn(line);
    if (!problem.empty()) {
        return UsageError(problem);
    }
    const bool inWindow = line.headless.empty();
    std::unique_ptr<std::ofstream> traceFile;
    if (!LoadScenarioFile(line, inWindow) || !OpenTrace(line, inWindow, traceFile) || !EnterGameFolder(line.gameDir)) {
        return 2;
    }
    if (!line.fpsGiven) {
        line.options.fps = inWindow ? 60 : 0;
    }

    OfferDemo(line.demo, line.noDemo);
    std::cerr << "trallio-sim: media service: " << sim::MediaServiceName() << '\n';
    if (!sim::StartMediaService()) {
        std::cerr << "trallio-sim: the media service cannot start; every track will fail to open\n";
    }
    return inWindow ? sim::RunWindow(line.options) : sim::RunHeadless(line.options);
}
