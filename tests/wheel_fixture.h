// The wheel tests' ground: float bits, the trace line of a drawn sprite, and a fixture that runs one
// wheel frame directly with the cursor placed on the client area in fractions.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "natives_catalog.h"
#include "playback/radio_state.h"
#include "support.h"
#include "wheel/layout.h"
#include "wheel/wheel.h"
#include "wheel_points.h"

namespace wheel_test {

using namespace testing_support;

// A float's bits, as a native's slot carries them.
inline uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::string F(float value) {
    return fakehost::FormatFloat(value);
}

// The trace line of DRAW_SPRITE for one slot's look: the rectangle's centre, size and colour.
inline std::string SpriteLine(const trallio::SpriteSpec& s) {
    return "native 0xC9884ECADE94CB34 DRAW_SPRITE(\"" + std::string(s.dictionary) + "\", \"" + s.texture + "\", " +
           F(s.x + s.width * 0.5f) + ", " + F(s.y + s.height * 0.5f) + ", " + F(s.width) + ", " + F(s.height) +
           ", 0, " + std::to_string(s.red) + ", " + std::to_string(s.green) + ", " + std::to_string(s.blue) + ", " +
           std::to_string(s.alpha) + ", 1)";
}

inline std::vector<std::string> DrawSpriteLines() {
    return NativeLines("DRAW_SPRITE");
}

// A wheel frame, called directly, with the cursor placed on the client area in fractions.
class Wheel : public testing_support::WheelFrameTest {
protected:
    void SetUp() override {
        WheelFrameTest::SetUp();
        radio.stationFolders[0] = "S1";
        radio.stationFolders[1] = "S2";
        radio.stationFolders[2] = "S3";
    }
    void PointAt(float fx, float fy) { fakehost::PointCursorAt(fx, fy); }
    void PointAtSlot(int slot) {
        const fakehost::WheelPoint centre = fakehost::SlotCentre(slot);
        PointAt(centre.x, centre.y);
    }
    void WheelFrame(bool button) {
        fakehost::GetWorld().leftButton = button;
        fakehost::ClearEvents();
        fakehost::BeginFrame();
        trallio::DrawWheel();
    }
    // A wheel frame with the cursor on the centre of `slot`.
    void WheelFrameOn(int slot, bool button) {
        PointAtSlot(slot);
        WheelFrame(button);
    }
    void PlayTrack() {
        radio.currentFolder = radio.stationFolders[0];
        radio.currentTrack = "a.mp3";
    }
};

}  // namespace wheel_test
