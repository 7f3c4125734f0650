// trallio-sim: the radio without the game. Hosts the same radio library the plug-in is built
// from, in a window or headless on a scenario file. See docs/simulator.md.
#include <unistd.h>

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

}  // namespace

int main(int argc, char** argv) {
    sim::RunOptions options;
    options.font = sim::kDefaultFont;
    std::string gameDir;
    std::string headless;
    std::string scenarioPath;
    std::string tracePath;
    bool window = false;
    bool demo = false;
    bool noDemo = false;
    bool fpsGiven = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--game-dir") {
            if (!value(gameDir)) {
                return UsageError("--game-dir needs a folder");
            }
        } else if (arg == "--window") {
            window = true;
        } else if (arg == "--headless") {
            if (!value(headless)) {
                return UsageError("--headless needs a scenario file");
            }
        } else if (arg == "--scenario") {
            if (!value(scenarioPath)) {
                return UsageError("--scenario needs a scenario file");
            }
        } else if (arg == "--trace") {
            if (!value(tracePath)) {
                return UsageError("--trace needs a file");
            }
        } else if (arg == "--frames") {
            if (!value(text) || !ParseInt(text.c_str(), 1, options.frames)) {
                return UsageError("--frames needs a number from 1");
            }
        } else if (arg == "--fps") {
            if (!value(text) || !ParseInt(text.c_str(), 0, options.fps)) {
                return UsageError("--fps needs a number from 0");
            }
            fpsGiven = true;
        } else if (arg == "--size") {
            const size_t x = i + 1 < argc ? std::string(argv[i + 1]).find('x') : std::string::npos;
            if (!value(text) || x == std::string::npos || !ParseInt(text.substr(0, x).c_str(), 64, options.width) ||
                !ParseInt(text.substr(x + 1).c_str(), 64, options.height)) {
                return UsageError("--size needs WIDTHxHEIGHT, each at least 64");
            }
        } else if (arg == "--screenshot") {
            int frame = 0;
            std::string path;
            if (!value(text) || !ParseInt(text.c_str(), 1, frame) || !value(path)) {
                return UsageError("--screenshot needs a frame number from 1 and a file");
            }
            options.screenshots.emplace_back(frame, path);
        } else if (arg == "--demo") {
            demo = true;
        } else if (arg == "--no-demo") {
            noDemo = true;
        } else if (arg == "--sink") {
            if (!value(text) || (text != "auto" && text != "system" && text != "fake" && text != "fast")) {
                return UsageError("--sink needs auto, system, fake or fast");
            }
            setenv("TRALLIO_AUDIO_SINK", text.c_str(), 1);
        } else if (arg == "--font") {
            if (!value(options.font)) {
                return UsageError("--font needs a file");
            }
        } else {
            return UsageError("unknown option " + arg);
        }
    }
    if (!headless.empty() && (window || !scenarioPath.empty())) {
        return UsageError("--headless runs without a window; use --window --scenario to drive a window");
    }
    if (demo && noDemo) {
        return UsageError("--demo and --no-demo exclude each other");
    }
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && value[0] != 0;
    };
    const bool haveDisplay = isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
    if (headless.empty() && !window && !haveDisplay) {
        return UsageError("no display: give a scenario with --headless, or set DISPLAY for a window");
    }
    const bool inWindow = headless.empty();

    // Scenario paths are read before moving into the game folder, so they may be relative.
    const std::string scenarioFile = inWindow ? scenarioPath : headless;
    if (!scenarioFile.empty()) {
        std::string error;
        if (!sim::LoadScenario(scenarioFile, options.scenario, error)) {
            std::cerr << "trallio-sim: " << scenarioFile << ": " << error << '\n';
            return 2;
        }
        options.haveScenario = true;
    }
    std::unique_ptr<std::ofstream> traceFile;
    if (tracePath.empty() ? !inWindow : tracePath == "-") {
        options.trace = &std::cout;
    } else if (!tracePath.empty()) {
        traceFile = std::make_unique<std::ofstream>(tracePath, std::ios::binary);
        if (!*traceFile) {
            std::cerr << "trallio-sim: cannot write " << tracePath << '\n';
            return 2;
        }
        options.trace = traceFile.get();
    }
    if (!gameDir.empty() && chdir(gameDir.c_str()) != 0) {
        std::cerr << "trallio-sim: cannot enter the game folder " << gameDir << '\n';
        return 2;
    }
    if (!fpsGiven) {
        options.fps = inWindow ? 60 : 0;
    }

    OfferDemo(demo, noDemo);
    std::cerr << "trallio-sim: media service: " << sim::MediaServiceName() << '\n';
    if (!sim::StartMediaService()) {
        std::cerr << "trallio-sim: the media service cannot start; every track will fail to open\n";
    }
    return inWindow ? sim::RunWindow(options) : sim::RunHeadless(options);
}
