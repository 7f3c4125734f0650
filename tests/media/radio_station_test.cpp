// The radio's whole playback path on the real media service: a station of three short files of
// different types plays through, one after another, and starts again from its first file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "media_files.h"
#include "platform/posix/media/media_service.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "stream_order.h"

namespace {

namespace mt = trallio::media::test;
using trallio::radio;

TEST(RadioStation, ThreeFilesPlayThroughAndLoop) {
    ASSERT_TRUE(trallio::media::StartMediaService());
    const std::string game = mt::ScratchDir() + "/station-game";
    ASSERT_TRUE(mt::MakeDir(game));
    ASSERT_TRUE(mt::MakeDir(game + "/Trallio"));
    ASSERT_TRUE(mt::MakeDir(game + "/Trallio/Radio 1"));
    for (const char* type : {"mp3", "ogg", "wav"}) {
        const std::string tone = mt::ToneFile(type, 4);
        ASSERT_FALSE(tone.empty()) << type;
        ASSERT_TRUE(mt::CopyFile(tone, game + "/Trallio/Radio 1/tone." + type));
    }
    mt::WriteFile(game + "/Trallio/Radio 1/cover.jpg", "not audio");
    mt::InDirectory inGame(game);

    // The order the radio will play them in.
    const std::vector<std::string> expected = testing_support::TracksInOrder("Trallio\\Radio 1");
    ASSERT_EQ(expected.size(), 3u);

    trallio::ResetRadioState();
    fakehost::Reset();
    radio.radioOn = true;
    trallio::SelectStation(radio.stationFolders[0]);

    // Frames about 10 ms apart until five tracks have started: the three, then the first two again.
    std::vector<std::string> started;
    std::string current;
    const double deadline = mt::NowMs() + 30000;
    while (started.size() < 5 && mt::NowMs() < deadline) {
        fakehost::BeginFrame();
        trallio::UpdatePlayback();
        if (radio.trackActive && current != radio.currentTrack) {
            current = radio.currentTrack;
            started.push_back(current);
            // Playing from the moment it was started, as the service reports it.
            EXPECT_EQ(mt::ModeOf("\"Trallio\\Radio 1\\" + current + "\""), "playing") << current;
        }
        if (!radio.trackActive) {
            current.clear();
        }
        mt::SleepMs(10);
    }
    ASSERT_EQ(started.size(), 5u) << "tracks started before the deadline";
    EXPECT_EQ(started, (std::vector<std::string>{expected[0], expected[1], expected[2], expected[0], expected[1]}));
    // Each track was closed before the next opened: one device at a time.
    EXPECT_EQ(trallio::media::OpenDeviceCount(), 1);
    mt::Send("close all");
    trallio::ResetRadioState();
    trallio::media::SettleMediaService();
}

}  // namespace
