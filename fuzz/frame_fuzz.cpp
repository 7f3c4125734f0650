// The whole radio, frame by frame, on the stand-in game: each input is a game session of random
// player states, wheel keys, cursor positions, button presses, track endings and desktop failures.
// After every frame the radio's invariants must hold (and the sanitizers watch every read of the
// names the radio keeps).
//
// Input: one byte of set-up (media-player mode, which folders the stations name, texture loading,
// bit 6 duck_dialogue at 50, bit 7 pause_in_menus), then two bytes per frame:
//   first:  bits 0-2 ride (0 on foot, 1 vehicle, 2 boat, 3 train, else mount), bit 3 Q, bit 4 R,
//           bit 5 left button, bit 6 every playing track ends, bit 7 a desktop failure this frame
//   second: bits 0-2 the slot the cursor is on, bit 3 its corner instead of its middle,
//           bits 4-5 which desktop failure (window gone, cursor unreadable, minimised window,
//           no conversion to client coordinates), bit 6 a conversation plays, bit 7 the pause
//           menu is open (or, on frames with a desktop failure, the game is in the background)
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fake_host.h"
#include "fake_media.h"
#include "fuzz_support.h"
#include "host/frame_driver.h"
#include "playback/radio_state.h"
#include "soak/radio_invariants.h"
#include "wheel/layout.h"
#include "wheel_points.h"

namespace {

constexpr size_t kMaxFrames = 4000;

void Make(const std::string& path) {
    fuzzing::WriteWholeFile(path.c_str(), "x", 1);
}

void MakeFolder(const char* path) {
    if (mkdir(path, 0755) != 0) {
        std::perror(path);
        std::abort();
    }
}

// What the settings step would leave for this set-up byte.
void SetStations(uint8_t setup) {
    static const char* const kThird[] = {"Trallio\\Radio 1", "Trallio\\Gone", "", "Trallio\\file.mp3"};
    const char* const folders[trallio::kStationCount] = {
        "Trallio\\Radio 1",
        (setup & 0x08) != 0 ? "Trallio\\Many" : "Trallio\\Radio 2",
        kThird[(setup >> 1) & 3],
    };
    for (int i = 0; i < trallio::kStationCount; ++i) {
        std::strncpy(trallio::radio.stationBuffers[i], folders[i], trallio::kSettingsTextSize - 1);
        trallio::radio.stationFolders[i] = trallio::radio.stationBuffers[i];
    }
    trallio::radio.mediaPlayerMode = (setup & 0x01) != 0;
}

void AimAt(int slot, bool corner) {
    const trallio::HitRect& r = trallio::wheelHitRects[slot];
    const fakehost::WheelPoint centre = fakehost::SlotCentre(slot);
    // The client size may be zero (a minimised window); the cursor then sits on the origin.
    fakehost::PointCursorAt(corner ? r.x : centre.x, corner ? r.y : centre.y);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::ScratchFolder();
    MakeFolder("Trallio");
    MakeFolder("Trallio/Radio 1");
    MakeFolder("Trallio/Radio 2");
    MakeFolder("Trallio/Many");
    for (const char* name : {"one.mp3", "two.ogg", "three.flac", "cover.jpg", "Song.MP3", "my song.wav",
                             "caf\xC3\xA9 \xE2\x99\xAA.aac", "notes.txt"}) {
        Make(std::string("Trallio/Radio 1/") + name);
    }
    Make("Trallio/Radio 1/" + std::string(251, 'n') + ".mp3");
    MakeFolder("Trallio/Radio 1/live.wav");
    Make("Trallio/Radio 2/only.mp3");
    for (int i = 0; i < 200; ++i) {
        Make("Trallio/Many/junk" + std::to_string(i) + ".txt");
    }
    Make("Trallio/Many/tune.ogg");
    Make("Trallio/file.mp3");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    fakehost::Reset();
    fakehost::ResetMedia();
    trallio::ResetRadioState();
    fakehost::SetRecording(false);
    SetStations(data[0]);
    fakehost::World& w = fakehost::GetWorld();
    w.dictionariesLoadAtOnce = (data[0] & 0x20) != 0;
    trallio::radio.config.duckPercent = (data[0] & 0x40) != 0 ? 50 : -1;
    trallio::radio.config.pauseInMenus = (data[0] & 0x80) != 0;

    const size_t frames = std::min((size - 1) / 2, kMaxFrames);
    for (size_t frame = 0; frame < frames; ++frame) {
        const uint8_t a = data[1 + 2 * frame];
        const uint8_t b = data[2 + 2 * frame];
        const int ride = a & 7;
        w.inVehicle = ride == 1;
        w.inBoat = ride == 2;
        w.inTrain = ride == 3;
        w.onMount = ride >= 4;
        w.keyQ = (a & 0x08) != 0;
        w.keyR = (a & 0x10) != 0;
        w.leftButton = (a & 0x20) != 0;
        if ((a & 0x40) != 0) {
            fakehost::FinishAllTracks();
        }
        const bool failure = (a & 0x80) != 0;
        const int kind = (b >> 4) & 3;
        w.windowExists = !(failure && kind == 0);
        w.cursorReadable = !(failure && kind == 1);
        w.clientWidth = failure && kind == 2 ? 0 : 1920;
        w.clientHeight = failure && kind == 2 ? 0 : 1080;
        w.screenToClientWorks = !(failure && kind == 3);
        AimAt(b & 7, (b & 0x08) != 0);
        w.conversationPlaying = (b & 0x40) != 0;
        w.pauseMenuOpen = (b & 0x80) != 0 && !failure;
        w.gameInForeground = !((b & 0x80) != 0 && failure);
        w.tickCount = static_cast<uint32_t>(frame * 17);

        fakehost::BeginFrame();
        trallio::TickFrame();
        const std::string broken = soak::CheckRadioInvariants();
        FUZZ_CHECK(broken.empty(), "frame " + std::to_string(frame) + ": " + broken);
    }
    return 0;
}
