// The simulator on the recording media service: every command is traced and answered, nothing is
// heard, and tracks end only when told to.
#include "fake_media.h"
#include "simulator.h"

namespace sim {

const char* MediaServiceName() {
    return "recording stand-in";
}

bool StartMediaService() {
    return true;
}

void StopMediaService(const std::string&) {}

bool CanFinishTracks() {
    return true;
}

bool FinishPlayingTracks() {
    fakehost::FinishAllTracks();
    return true;
}

}  // namespace sim
