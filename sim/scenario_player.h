// Plays a scenario against the simulator's controls, frame by frame. Both the headless run and
// the window use it: the window lets a scenario drive the inputs (and take screenshots) too.
#pragma once

#include <string>
#include <vector>

#include "scenario.h"
#include "simulator.h"

namespace sim {

// What the driver has to do for the events of one frame besides changing the controls.
struct FrameActions {
    bool finishTracks = false;             // at the start of the frame
    std::vector<std::string> notes;        // trace lines for the inputs applied
    std::vector<std::string> screenshots;  // at the end of the frame
};

class ScenarioPlayer {
public:
    explicit ScenarioPlayer(Scenario scenario);

    // Start of frame `frame` (the frame about to run): applies every event due then. Returns false
    // with `error` ("line N: ...") when an event names a frame that has already run.
    bool BeginFrame(int frame, Controls& controls, FrameActions& actions, std::string& error);
    // End of frame `frame`. `seen` tells whether the awaited text has appeared (see AwaitText).
    // Returns false with `error` when an await has run out of frames.
    bool EndFrame(int frame, bool seen, FrameActions& actions, std::string& error);
    // The text the scenario waits for: that of a running await, or of the next event when it is an
    // await (so an await also sees what happened from the frame of the event before it on). Null
    // when no await is coming. The driver watches the trace for it from the next frame on, and
    // starts afresh when the pointer changes.
    const std::string* AwaitText() const;
    // True after the frame of the last event (or of "end") has run.
    bool Finished() const;

private:
    int Resolve(const ScenarioEvent& event) const;

    Scenario scenario_;
    size_t next_ = 0;
    int base_ = 0;            // the frame relative frames count from
    bool awaiting_ = false;
    int awaitDeadline_ = 0;
    const ScenarioEvent* await_ = nullptr;
    int endFrame_ = -1;
    int lastFrame_ = 0;       // the frame of the last event applied
    std::vector<std::string> pendingShots_;
    bool finished_ = false;
};

// Starts frame `frame` of a scenario on the simulator: applies the frame's events to `controls`,
// writes them to the trace, ends the playing tracks when asked, and points the simulator at the
// text awaited next (`watching`, kept by the caller between frames). Returns false, with the error
// printed, when the scenario names a frame that has already run.
bool BeginScenarioFrame(ScenarioPlayer& player, Simulator& simulator, int frame, Controls& controls,
                        FrameActions& actions, const std::string*& watching);

// The centre of a wheel slot's hit rectangle in client pixels of a window of this size, as the
// radio's hit test scales it.
void SlotCentre(int slot, int clientWidth, int clientHeight, int& x, int& y);
// Holds or lets go of one pad button by its scenario letter: 'W' the wheel button, 'A', 'B', 'L'
// (LB), 'R' (RB).
void SetPadButton(fakehost::PadInput& pad, char button, bool down);

}  // namespace sim
