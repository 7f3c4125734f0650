// The simulator's two ways to run: a window fed by the keyboard and mouse, and a headless run of a
// scenario file that writes a trace.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "scenario.h"

namespace sim {

struct RunOptions {
    std::ostream* trace = nullptr;  // null: no trace
    Scenario scenario;              // may be empty in a window
    bool haveScenario = false;
    int frames = 0;                 // stop after this many frames; 0: when the scenario ends (or the window closes)
    int fps = 0;                    // frames per second; 0: as fast as possible
    int width = 1280;               // window size
    int height = 720;
    std::string font;
    std::vector<std::pair<int, std::string>> screenshots;  // frame, BMP path
};

// Both return the process's exit status: 0 when the run ended as planned, 1 when a scenario failed
// at run time (an await ran out, a screenshot could not be written) or the window could not open.
int RunHeadless(const RunOptions& options);
int RunWindow(const RunOptions& options);

}  // namespace sim
