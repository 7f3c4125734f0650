// The player's bad audio files, played by the radio through the real Linux media service: text
// under an audio name, an empty file, a file cut short, and a file whose name gives the wrong
// type. The radio must pass over what does not decode and keep the station going; a file of
// another type than its name says plays by what it holds.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "fake_host.h"
#include "media_files.h"
#include "platform/posix/media/media_service.h"
#include "platform/win32.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "stream_order.h"
#include "scratch_folder.h"

namespace {

using testing_support::ReadFile;
using trallio::radio;
using trallio::media::test::ModeOf;
using trallio::media::test::PositionOf;
using trallio::media::test::Send;
using trallio::media::test::WriteFile;

// Runs a shell command; true when it succeeded.
bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

class BadAudio : public ::testing::Test {
protected:
    void SetUp() override {
        trallio::ResetRadioState();
        fakehost::Reset();
        scratch.Enter("trallio-audio");
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_EQ(mkdir("Trallio", 0755), 0);
        ASSERT_EQ(mkdir("Trallio/Radio 1", 0755), 0);
        ASSERT_EQ(mkdir("made", 0755), 0);
        // Half a second of tone in each type, made by the platform's own encoders.
        const std::string tone = "gst-launch-1.0 -q audiotestsrc num-buffers=22 ! audioconvert ! ";
        ASSERT_TRUE(Shell(tone + "wavenc ! filesink location=made/tone.wav"));
        ASSERT_TRUE(Shell(tone + "vorbisenc ! oggmux ! filesink location=made/tone.ogg"));
        ASSERT_TRUE(Shell(tone + "lamemp3enc ! filesink location=made/tone.mp3"));
    }
    void TearDown() override {
        Send("close all");  // the service lives as long as the process
        trallio::ResetRadioState();
        fakehost::Reset();
        scratch.Leave();
    }
    testing_support::ScratchFolder scratch;
};

TEST_F(BadAudio, TheRadioPassesOverWhatDoesNotDecodeAndPlaysTheRest) {
    setenv("TRALLIO_AUDIO_SINK", "fast", 1);  // no need to wait for real time here
    const std::string mp3 = ReadFile("made/tone.mp3");
    const std::string wav = ReadFile("made/tone.wav");
    ASSERT_GT(mp3.size(), 1000u);
    std::string words;
    for (int i = 0; i < 100; ++i) {
        words += "not sound at all\n";
    }
    WriteFile("Trallio/Radio 1/corrupt.mp3", words);
    WriteFile("Trallio/Radio 1/empty.ogg", "");
    WriteFile("Trallio/Radio 1/truncated.mp3", mp3.substr(0, mp3.size() / 3));
    WriteFile("Trallio/Radio 1/really ogg.mp3", ReadFile("made/tone.ogg"));
    WriteFile("Trallio/Radio 1/good.wav", wav);
    const std::vector<std::string> tracks = testing_support::TracksInOrder("Trallio\\Radio 1");
    ASSERT_EQ(tracks.size(), 5u);

    // One round of the station: every file is started in the stream's order, each is closed
    // when the service reports it stopped, and the folder's end is reached.
    radio.stationFolders[0] = "Trallio\\Radio 1";
    radio.radioOn = true;
    trallio::SelectStation(radio.stationFolders[0]);
    // currentTrack reads the stream's one entry record: a new track shows as a new name there.
    std::vector<std::string> started;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        trallio::UpdatePlayback();
        ASSERT_LE(trallio::media::OpenDeviceCount(), 1);
        if (radio.trackActive && (started.empty() || started.back() != radio.currentTrack)) {
            started.push_back(radio.currentTrack);
        }
        if (radio.folderOpen && radio.stationSwitchPending && !radio.trackActive) {
            break;  // the folder's end
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(started, tracks);
    ASSERT_TRUE(radio.stationSwitchPending) << "the round never ended: a track never read stopped";
    EXPECT_EQ(trallio::media::OpenDeviceCount(), 0);

    // The next pass starts the station again from its first file.
    trallio::UpdatePlayback();
    EXPECT_EQ(std::string(radio.currentTrack), tracks.front());
}

TEST_F(BadAudio, AFileOfAnotherTypeThanItsNameSaysPlaysByWhatItHolds) {
    setenv("TRALLIO_AUDIO_SINK", "fake", 1);  // real time, so that the position can be watched
    WriteFile("Trallio/Radio 1/really ogg.mp3", ReadFile("made/tone.ogg"));
    WriteFile("Trallio/Radio 1/really mp3.wav", ReadFile("made/tone.mp3"));
    WriteFile("Trallio/Radio 1/not sound.ogg", std::string(4000, 'x'));
    for (const char* name : {"really ogg.mp3", "really mp3.wav", "not sound.ogg"}) {
        const std::string device = std::string("\"Trallio\\Radio 1\\") + name + "\"";
        ASSERT_EQ(Send("open " + device + " type MPEGVideo"), 0u) << name;
        Send("play " + device);
        long furthest = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ModeOf(device) == "playing" && std::chrono::steady_clock::now() < deadline) {
            furthest = std::max(furthest, PositionOf(device));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_EQ(ModeOf(device), "stopped") << name;
        if (std::string(name) == "not sound.ogg") {
            EXPECT_EQ(furthest, 0) << name;
        } else {
            EXPECT_GT(furthest, 0) << name << " never got past its start";
        }
        EXPECT_EQ(Send("close " + device), 0u);
    }
}

}  // namespace
