#include "playback/radio_state.h"

#include <cstring>

namespace trallio {

const char emptyText[1] = "";

namespace {

constexpr RadioState kInitialState = {
    {"Trallio\\Radio 1", "Trallio\\Radio 2", "Trallio\\Radio 3"},
    emptyText,
    emptyText,
    90,
    nullptr,
    nullptr,
    false,
    false,
    false,
    false,
    false,
    false,
    false,
    false,
    false,
    false,
    {},
    {},
};

}  // namespace

RadioState radio = kInitialState;

void ResetRadioState() {
    if (radio.folderStream != nullptr) {
        closedir(radio.folderStream);
    }
    radio = kInitialState;
}

}  // namespace trallio
