#include "scenario_player.h"

#include <iostream>
#include <utility>

#include "wheel/layout.h"
#include "wheel_points.h"

namespace sim {

void SlotCentre(int slot, int clientWidth, int clientHeight, int& x, int& y) {
    const fakehost::WheelPoint centre = fakehost::SlotCentre(slot);
    x = fakehost::ClientPixel(centre.x, clientWidth);
    y = fakehost::ClientPixel(centre.y, clientHeight);
}

void SetPadButton(fakehost::PadInput& pad, char button, bool down) {
    switch (button) {
        case 'W':
            pad.wheelButton = down;
            break;
        case 'A':
            pad.accept = down;
            break;
        case 'B':
            pad.cancel = down;
            break;
        case 'L':
            pad.leftBumper = down;
            break;
        case 'R':
            pad.rightBumper = down;
            break;
        default:
            break;
    }
}

ScenarioPlayer::ScenarioPlayer(Scenario scenario) : scenario_(std::move(scenario)) {
    finished_ = false;
}

int ScenarioPlayer::Resolve(const ScenarioEvent& event) const {
    return event.relative ? base_ + event.frame : event.frame;
}

namespace {

// The events that set what the player and the game do: true when `event` is one of them.
bool ApplyInput(const ScenarioEvent& event, Controls& controls) {
    switch (event.command) {
        case Command::Mount:
            controls.onMount = event.on;
            break;
        case Command::Vehicle:
            controls.inVehicle = event.on;
            break;
        case Command::Boat:
            controls.inBoat = event.on;
            break;
        case Command::Train:
            controls.inTrain = event.on;
            break;
        case Command::Conversation:
            controls.conversationPlaying = event.on;
            break;
        case Command::PauseMenu:
            controls.pauseMenuOpen = event.on;
            break;
        case Command::Key:
            (event.key == 'Q' ? controls.keyQ : controls.keyR) = event.on;
            break;
        case Command::Button:
            controls.leftButton = event.on;
            break;
        case Command::Pad:
            controls.pad.inUse = event.on;
            break;
        case Command::PadButton:
            SetPadButton(controls.pad, event.key, event.on);
            break;
        case Command::Stick:
            controls.pad.stickX = static_cast<float>(event.x);
            controls.pad.stickY = static_cast<float>(event.y);
            break;
        case Command::Cursor:
            if (event.slot >= 0) {
                SlotCentre(event.slot, controls.clientWidth, controls.clientHeight, controls.cursorX,
                           controls.cursorY);
            } else {
                controls.cursorX = event.x;
                controls.cursorY = event.y;
            }
            break;
        case Command::Window:
            controls.clientWidth = event.x;
            controls.clientHeight = event.y;
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace

bool ScenarioPlayer::BeginFrame(int frame, Controls& controls, FrameActions& actions, std::string& error) {
    while (!awaiting_ && endFrame_ < 0 && next_ < scenario_.events.size()) {
        const ScenarioEvent& event = scenario_.events[next_];
        const int due = Resolve(event);
        if (due < frame) {
            error = "line " + std::to_string(event.line) + ": frame " + std::to_string(due) +
                    " has already run (the await before it ended at frame " + std::to_string(frame - 1) + ")";
            return false;
        }
        if (due > frame) {
            break;
        }
        ++next_;
        base_ = due;
        lastFrame_ = due;
        // The event's words after the frame number, for the trace.
        const size_t blank = event.source.find_first_of(" \t");
        const std::string words = blank == std::string::npos ? event.source : event.source.substr(blank + 1);
        if (ApplyInput(event, controls)) {
            actions.notes.push_back("input " + words);
            continue;
        }
        switch (event.command) {
            case Command::Finish:
                actions.finishTracks = true;
                break;
            case Command::Await:
                awaiting_ = true;
                await_ = &event;
                awaitDeadline_ = frame + event.frames - 1;
                break;
            case Command::Screenshot:
                pendingShots_.push_back(event.text);
                break;
            case Command::End:
                endFrame_ = frame;
                break;
            default:
                break;
        }
        actions.notes.push_back("input " + words);
    }
    return true;
}

bool ScenarioPlayer::EndFrame(int frame, bool seen, FrameActions& actions, std::string& error) {
    for (std::string& shot : pendingShots_) {
        actions.screenshots.push_back(std::move(shot));
    }
    pendingShots_.clear();
    if (awaiting_) {
        if (seen) {
            awaiting_ = false;
            base_ = frame + 1;
            await_ = nullptr;
        } else if (frame >= awaitDeadline_) {
            error = "line " + std::to_string(await_->line) + ": no trace line contained \"" + await_->text +
                    "\" within " + std::to_string(await_->frames) + " frames";
            awaiting_ = false;
            finished_ = true;
            return false;
        }
    }
    if (endFrame_ >= 0 && frame >= endFrame_) {
        finished_ = true;
    } else if (!awaiting_ && next_ == scenario_.events.size() && frame >= lastFrame_) {
        finished_ = true;
    }
    return true;
}

const std::string* ScenarioPlayer::AwaitText() const {
    if (awaiting_) {
        return &await_->text;
    }
    if (endFrame_ < 0 && next_ < scenario_.events.size() && scenario_.events[next_].command == Command::Await) {
        return &scenario_.events[next_].text;
    }
    return nullptr;
}

bool ScenarioPlayer::Finished() const {
    return finished_;
}

bool BeginScenarioFrame(ScenarioPlayer& player, Simulator& simulator, int frame, Controls& controls,
                        FrameActions& actions, const std::string*& watching) {
    std::string error;
    if (!player.BeginFrame(frame, controls, actions, error)) {
        std::cerr << "trallio-sim: " << error << '\n';
        return false;
    }
    for (const std::string& note : actions.notes) {
        simulator.Note(note);
    }
    if (actions.finishTracks && !FinishPlayingTracks()) {
        simulator.Note("note finish ignored: the " + std::string(MediaServiceName()) +
                       " service plays tracks to their end by itself");
    }
    if (player.AwaitText() != watching) {
        watching = player.AwaitText();
        simulator.Watch(watching != nullptr ? *watching : std::string());
    }
    return true;
}

}  // namespace sim
