// The steady frames the radio spends most of its life in, each with a floor: the same calls the
// frame must make, in a straight line, with every text and command made beforehand.
#pragma once

namespace bench {

enum class Steady { OnFootOff, RidingPlaying, WheelHover, WheelVolumeHold };

constexpr Steady kAllStates[] = {Steady::OnFootOff, Steady::RidingPlaying, Steady::WheelHover,
                                 Steady::WheelVolumeHold};

const char* Name(Steady state);
// Puts the radio state and the null host's world into the steady state.
void Prepare(Steady state);
// One frame of the radio: TickFrame().
void RadioFrame();
// One frame of the floor for the state.
void FloorFrame(Steady state);

}  // namespace bench
