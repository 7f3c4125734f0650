// Scenario files for the simulator: frame-numbered input events, one per line. The format is
// described in docs/simulator.md.
#pragma once

#include <string>
#include <vector>

namespace sim {

enum class Command {
    Mount,       // mount on|off
    Vehicle,     // vehicle on|off
    Boat,        // boat on|off
    Train,       // train on|off
    Conversation,  // conversation on|off
    PauseMenu,   // pause-menu on|off
    Key,         // key q|r down|up
    Button,      // button down|up (left mouse button)
    Pad,         // pad on|off: the game pad is the input in use
    PadButton,   // pad-button wheel|a|b|lb|rb down|up
    Stick,       // stick up|down|left|right|centre (the right stick)
    Cursor,      // cursor X Y (client pixels) or cursor slot NAME|INDEX
    Window,      // window WIDTH HEIGHT (client size in pixels)
    Finish,      // finish: the recording media service ends every playing track
    Await,       // await FRAMES TEXT: run until a trace line contains TEXT
    Screenshot,  // screenshot PATH: the picture at the end of the frame
    End,         // end: the frame is the last one run
};

struct ScenarioEvent {
    int line = 0;           // 1-based line in the file
    bool relative = false;  // "+N": N frames after the previous event
    int frame = 0;          // the absolute frame, or the offset when relative
    Command command = Command::End;
    char key = 0;           // Key: 'Q' or 'R'; PadButton: 'W' (wheel), 'A', 'B', 'L' (LB), 'R' (RB)
    bool on = false;        // Mount/Vehicle/Boat/Train: on; Key/Button: down
    int slot = -1;          // Cursor by slot: 0..7; -1 for pixel coordinates
    int x = 0;              // Cursor: client pixels; Window: width; Stick: -1, 0 or 1
    int y = 0;              // Cursor: client pixels; Window: height; Stick: -1 (up), 0 or 1
    int frames = 0;         // Await: at most this many frames
    std::string text;       // Await: the text looked for; Screenshot: the path
    std::string source;     // the line as written, blanks trimmed (echoed into the trace)
};

struct Scenario {
    std::vector<ScenarioEvent> events;
};

// Parses a whole scenario. On a malformed line returns false and sets `error` to
// "line N: what is wrong".
bool ParseScenario(const std::string& text, Scenario& scenario, std::string& error);
bool LoadScenario(const std::string& path, Scenario& scenario, std::string& error);

// The slot names a scenario may use with "cursor slot": background, off, station1, station2,
// station3, volume-down, volume-up, skip. Returns -1 for an unknown name.
int SlotByName(const std::string& name);

}  // namespace sim
