#include "playback/radio_state.h"

#include <cstdlib>

#include "audio/media_thread.h"

namespace trallio {

const char emptyText[1] = "";

// Initialised before any code of the module runs: every value is a constant.
RadioState radio;

void ResetRadioState() {
    if (radio.folderStream != nullptr) {
        closedir(radio.folderStream);
    }
    std::free(radio.listing.buffer);
    radio = RadioState{};
    mediaThreadOn = false;
}

}  // namespace trallio
