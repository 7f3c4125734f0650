// Shared ground for the radio's tests: a fresh radio, a fresh stand-in game and media service, and
// a scratch game folder as the current directory.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "fake_media.h"
#include "media_commands.h"
#include "playback/radio_state.h"
#include "scratch_folder.h"

namespace testing_support {

using trallio::radio;

class RadioTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Files and folders under the scratch game folder.
    void MakeFolder(const std::string& path);
    void MakeFile(const std::string& path, const std::string& contents = "x");
    void WriteSettings(const std::string& contents) { MakeFile("Trallio/Trallio.ini", contents); }
    // A fresh radio that has read `contents` as its settings file.
    void ReadSettings(const std::string& contents);
    // A playback pass as the frame driver makes it, with only that pass's events recorded.
    static void Pass();
    std::string gameFolder;

private:
    ScratchFolder scratch;
};

// A radio test whose wheel textures load at once, so the wheel draws in the frame it opens.
class WheelFrameTest : public RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        fakehost::GetWorld().dictionariesLoadAtOnce = true;
    }
    // On a mount with station 1 (Radio 1 of a.mp3) chosen, and one frame run.
    void RideWithStationOne();
    // The wheel's keys Q and R held or not.
    static void Keys(bool q, bool r) {
        fakehost::GetWorld().keyQ = q;
        fakehost::GetWorld().keyR = r;
    }
};

// One frame of the radio as the main loop runs it, without the script thread: the frame's
// events are cleared first, so Lines() shows this frame only.
void Frame();

// The wheel's clicks: its front-end sounds.
int Clicks();

// The recorded lines that start with `prefix` ("native ", "win32 ", "media ", "wait").
std::vector<std::string> LinesStartingWith(const std::string& prefix);
// The recorded native lines that name `name`, e.g. "SET_TIME_SCALE".
std::vector<std::string> NativeLines(const std::string& name);
int CountNatives(const std::string& name);
// The events of natives only, with their raw slots.
std::vector<fakehost::Event> NativeEvents();

// The media command for a track as the radio sends it.
std::string Quoted(const std::string& folder, const std::string& track);

}  // namespace testing_support
