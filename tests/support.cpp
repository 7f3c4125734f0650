#include "support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "host/frame_driver.h"
#include "host/settings.h"
#include "media_commands.h"
#include "playback/playback.h"
#include "playback/radio_state.h"

namespace testing_support {

void RadioTest::SetUp() {
    trallio::ResetRadioState();
    fakehost::Reset();
    fakehost::ResetMedia();
    scratch.Enter("trallio-test");
    gameFolder = scratch.path;
}

void RadioTest::TearDown() {
    fakehost::Reset();
    trallio::ResetRadioState();
    scratch.Leave();
}

void RadioTest::Pass() {
    fakehost::ClearEvents();
    trallio::UpdatePlayback();
}

void RadioTest::ReadSettings(const std::string& contents) {
    trallio::ResetRadioState();
    WriteSettings(contents);
    trallio::LoadSettings();
}

int Clicks() {
    return CountNatives("PLAY_SOUND_FRONTEND");
}

void WheelFrameTest::RideWithStationOne() {
    MakeFile("Trallio/Radio 1/a.mp3");
    fakehost::GetWorld().onMount = true;
    trallio::radio.radioOn = true;
    trallio::SelectStation(trallio::radio.stationFolders[0]);
    Frame();
}

void RadioTest::MakeFolder(const std::string& path) {
    std::string partial;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!partial.empty()) {
                mkdir(partial.c_str(), 0755);
            }
        }
        if (i < path.size()) {
            partial += path[i];
        }
    }
}

void RadioTest::MakeFile(const std::string& path, const std::string& contents) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) {
        MakeFolder(path.substr(0, slash));
    }
    std::ofstream file(path, std::ios::binary);
    file << contents;
}

void Frame() {
    fakehost::ClearEvents();
    fakehost::BeginFrame();
    trallio::TickFrame();
}

std::vector<std::string> LinesStartingWith(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : fakehost::Lines()) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> NativeLines(const std::string& name) {
    std::vector<std::string> lines;
    for (const std::string& line : fakehost::Lines(fakehost::EventKind::Native)) {
        if (line.find(" " + name + "(") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

int CountNatives(const std::string& name) {
    return static_cast<int>(NativeLines(name).size());
}

std::vector<fakehost::Event> NativeEvents() {
    std::vector<fakehost::Event> events;
    for (const fakehost::Event& event : fakehost::Events()) {
        if (event.kind == fakehost::EventKind::Native) {
            events.push_back(event);
        }
    }
    return events;
}

std::string Quoted(const std::string& folder, const std::string& track) {
    return media_commands::Device(folder, track);
}

}  // namespace testing_support
