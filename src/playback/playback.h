// The radio's playback state machine: turns the requests left in the radio state into
// media-control commands, once per frame.
#pragma once

namespace trallio {

// One playback pass; runs as the last step of every frame. While it walks past folder entries that
// are not tracks it yields one frame per entry, so one call can span several frames.
void UpdatePlayback();

// Makes `folder` (one of the station texts) the current station; the next pass with the radio on
// plays it from its first track. Choosing the current station again changes nothing.
void SelectStation(const char* folder);

}  // namespace trallio
