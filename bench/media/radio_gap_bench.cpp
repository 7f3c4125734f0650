// How long the radio leaves between two tracks on the real media service: from the moment a track
// reports "stopped" to the next track's first sample, with the radio's playback pass run at 60
// frames a second. Prints one line per change of track and the median; not a test.
//
//   radio_gap_bench [changes]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_host.h"
#include "media_files.h"
#include "platform/posix/media/media_service.h"
#include "playback/playback.h"
#include "playback/radio_state.h"

namespace mt = trallio::media::test;
using trallio::radio;

namespace {

std::string Device(const std::string& track) {
    return "\"Trallio\\Radio 1\\" + track + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::atoi(argv[1]) : 6;
    if (!trallio::media::StartMediaService()) {
        std::fprintf(stderr, "the media service did not start\n");
        return 1;
    }
    const std::string game = mt::ScratchDir() + "/gap-game";
    mt::MakeDir(game);
    mt::MakeDir(game + "/Trallio");
    mt::MakeDir(game + "/Trallio/Radio 1");
    for (const char* type : {"mp3", "ogg", "wav"}) {
        mt::CopyFile(mt::ToneFile(type, 10), game + "/Trallio/Radio 1/tone." + type);
    }
    mt::InDirectory inGame(game);

    trallio::ResetRadioState();
    fakehost::Reset();
    radio.radioOn = true;
    trallio::SelectStation(radio.stationFolders[0]);

    const double frameMs = 1000.0 / 60.0;
    std::vector<double> gaps;
    std::string playing;      // the track whose end is awaited
    double stoppedAt = -1;    // when it first read "stopped"
    std::string next;         // the track started after it, awaiting its first sample
    double nextFrame = mt::NowMs();
    while (static_cast<int>(gaps.size()) < changes) {
        const double now = mt::NowMs();
        if (now >= nextFrame) {
            // The pass may see the end before the sampler below does, and closes the device:
            // the end is then within the last millisecond.
            if (stoppedAt < 0 && !playing.empty() && mt::ModeOf(Device(playing)) == "stopped") {
                stoppedAt = mt::NowMs();
            }
            fakehost::BeginFrame();
            trallio::UpdatePlayback();
            nextFrame += frameMs;
            if (radio.trackActive && playing != radio.currentTrack && next.empty()) {
                if (playing.empty()) {
                    playing = radio.currentTrack;  // the first track: nothing to measure yet
                } else {
                    next = radio.currentTrack;
                }
            }
        }
        // Sample between frames, every millisecond.
        if (stoppedAt < 0 && !playing.empty() && mt::ModeOf(Device(playing)) == "stopped") {
            stoppedAt = mt::NowMs();
        }
        if (!next.empty() && mt::PositionOf(Device(next)) > 0) {
            const double gap = mt::NowMs() - stoppedAt;
            std::printf("%-10s -> %-10s %7.1f ms\n", playing.c_str(), next.c_str(), gap);
            gaps.push_back(gap);
            playing = next;
            next.clear();
            stoppedAt = -1;
        }
        mt::SleepMs(1);
    }
    std::sort(gaps.begin(), gaps.end());
    std::printf("end of track to next first sample: median %.1f ms, min %.1f ms, max %.1f ms over %zu changes\n",
                gaps[gaps.size() / 2], gaps.front(), gaps.back(), gaps.size());
    mt::Send("close all");
    trallio::media::SettleMediaService();
    return 0;
}
