// What must hold of the radio after every frame, whatever the player, the desktop and the folders
// did: shared by the long random run and the frame fuzzer.
#pragma once

#include <string>

#include "fake_host.h"
#include "fake_media.h"
#include "playback/radio_state.h"

namespace soak {

// The radio's record and the world it left behind, checked together. Returns an empty text when
// everything holds, otherwise which rule broke and the values involved.
inline std::string CheckRadioInvariants() {
    const trallio::RadioState& r = trallio::radio;
    if (r.volume < 0 || r.volume > trallio::kMaxVolume) {
        return "volume " + std::to_string(r.volume) + " outside 0..500";
    }
    if (r.paused && (r.currentFolder == trallio::emptyText || r.currentTrack == trallio::emptyText)) {
        return "paused without a folder and a track";
    }
    if (r.currentTrack != trallio::emptyText && r.currentFolder == trallio::emptyText) {
        return "a current track without a current folder";
    }
    if (r.currentFolder != trallio::emptyText && r.currentFolder != r.stationFolders[0] &&
        r.currentFolder != r.stationFolders[1] && r.currentFolder != r.stationFolders[2]) {
        return "the current folder is none of the station texts";
    }
    if (r.paused && r.radioOn) {
        return "paused with the radio on at the end of a frame";
    }
    if (r.trackActive && !r.folderOpen) {
        return "a track watched before any scan started one";
    }
    if (r.folderEntry != nullptr && r.folderStream == nullptr) {
        return "an entry without its stream";
    }
    if (fakehost::DoubleOpens() != 0) {
        return std::to_string(fakehost::DoubleOpens()) + " track(s) opened twice without a close between";
    }
    // Every way off a track (its end, a skip, a station switch) closes it before anything else
    // opens: at most one device is ever open.
    if (fakehost::OpenDeviceCount() > 1) {
        return std::to_string(fakehost::OpenDeviceCount()) + " devices open at once";
    }
    // The playback pass sets the open-world music flag from radioOn before anything else, and
    // nothing in the pass changes radioOn: a frame that ends inside a folder walk has the flag
    // of its pass's start, which is still radioOn.
    const int expected = r.radioOn ? 1 : 0;
    if (fakehost::Game().musicDisabled != expected) {
        return "open-world music flag " + std::to_string(fakehost::Game().musicDisabled) + " while radioOn is " +
               std::to_string(expected);
    }
    // The texts the radio shows and sends must stay readable, terminated strings.
    if (r.currentTrack != trallio::emptyText && std::char_traits<char>::length(r.currentTrack) > 260) {
        return "current track name longer than an entry name";
    }
    return {};
}

}  // namespace soak
