// Figures for BENCHMARKS.md ("Linux media service"): what the service costs its caller and how
// soon sound starts. Not a test: nothing here passes or fails.
//
//   media_bench [mp3|aac|wav|flac|ogg] [early]
//
// The first argument is the type of the process's first track (default mp3). With "early" the
// program calls StartMediaService() first, as a host does at start-up; without, the first open
// starts GStreamer itself.
//
// Runs with the clocked fake sink (TRALLIO_AUDIO_SINK=fake) unless the variable says otherwise.
// "First sample" is the first poll at which "status position" is above zero, polled every
// 0.1 ms: the pipeline is playing and its first millisecond has been rendered.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "media_files.h"
#include "platform/posix/media/media_service.h"

using namespace trallio::media::test;

namespace {

struct Start {
    double openMs;
    double playMs;
    double firstSampleMs;
};

// Opens and plays `device`, then waits for its first sample. Leaves the device open.
Start OpenAndPlay(const std::string& device) {
    Start start{};
    double t = NowMs();
    Send("open " + device + " type MPEGVideo");
    start.openMs = NowMs() - t;
    t = NowMs();
    Send("play " + device);
    start.playMs = NowMs() - t;
    while (PositionOf(device) <= 0 && NowMs() - t < 5000) {
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    start.firstSampleMs = NowMs() - t;
    return start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::string Quote(const std::string& path) {
    return "\"" + path + "\"";
}

// Fifteen warm starts of one type: the open, play and close calls and the wait for the first sample.
void TimeWarmStarts(const char* type) {
    std::vector<double> open, play, sample, close;
    for (int i = 0; i < 15; ++i) {
        const Start start = OpenAndPlay(Quote(ToneFile(type, 30)));
        open.push_back(start.openMs);
        play.push_back(start.playMs * 1000);
        sample.push_back(start.firstSampleMs);
        const double t = NowMs();
        Send("close " + Quote(ToneFile(type, 30)));
        close.push_back(NowMs() - t);
    }
    std::printf("warm %-4s median (max) of 15: open call %.2f (%.2f) ms, play call %.0f (%.0f) us, "
                "play to first sample %.1f (%.1f) ms, close call while playing %.2f (%.2f) ms\n",
                type, Median(open), Max(open), Median(play), Max(play), Median(sample), Max(sample),
                Median(close), Max(close));
}

// The radio polls the mode once a frame: a poll of a playing device and of a name never opened.
void TimeStatusPolls() {
    const std::string playing = Quote(ToneFile("mp3", 30));
    OpenAndPlay(playing);
    const std::u16string status = u"status " + std::u16string(playing.begin(), playing.end()) + u" mode";
    const std::u16string unknown = u"status \"Trallio\\Radio 1\\never opened.mp3\" mode";
    WCHAR reply[64];
    const int polls = 200000;
    double t = NowMs();
    for (int i = 0; i < polls; ++i) {
        reply[0] = u' ';
        mciSendStringW(status.c_str(), reply, 64, nullptr);
    }
    const double open = (NowMs() - t) * 1e6 / polls;
    t = NowMs();
    for (int i = 0; i < polls; ++i) {
        mciSendStringW(unknown.c_str(), reply, 64, nullptr);
    }
    const double missing = (NowMs() - t) * 1e6 / polls;
    std::printf("status mode poll: %.0f ns on a playing device, %.0f ns on an unknown name (%d polls each)\n",
                open, missing, polls);
    Send("close all");
}

// Memory per device: twenty copies of a three-second mp3 under different names.
void MeasureMemoryPerDevice() {
    const int count = 20;
    std::vector<std::string> devices;
    for (int i = 0; i < count; ++i) {
        const std::string copy = ScratchDir() + "/copy " + std::to_string(i) + ".mp3";
        CopyFile(ToneFile("mp3", 30), copy);
        devices.push_back(Quote(copy));
    }
    SleepMs(200);
    const long base = ResidentKb();
    for (const std::string& device : devices) {
        Send("open " + device + " type MPEGVideo");
    }
    SleepMs(1000);
    const long opened = ResidentKb();
    for (const std::string& device : devices) {
        Send("play " + device);
    }
    SleepMs(500);
    const long playingKb = ResidentKb();
    Send("close all");
    SleepMs(200);
    const long closed = ResidentKb();
    std::printf("resident memory: %ld kB before, +%ld kB per opened (pre-rolled) device, +%ld kB per "
                "playing device, %ld kB after closing all %d\n",
                base, (opened - base) / count, (playingKb - base) / count, closed, count);
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("TRALLIO_AUDIO_SINK") == nullptr) {
        setenv("TRALLIO_AUDIO_SINK", "fake", 1);
    }
    const std::string firstType = argc > 1 ? argv[1] : "mp3";
    const char* const types[] = {"mp3", "aac", "wav", "flac", "ogg"};
    for (const char* type : types) {
        if (ToneFile(type, 30).empty()) {
            std::fprintf(stderr, "could not make a %s file\n", type);
            return 1;
        }
    }
    std::printf("sink: %s\n", std::getenv("TRALLIO_AUDIO_SINK"));

    const bool early = argc > 2 && std::string(argv[2]) == "early";
    if (early) {
        const double t = NowMs();
        trallio::media::StartMediaService();
        std::printf("StartMediaService: %.1f ms\n", NowMs() - t);
    }
    const Start first = OpenAndPlay(Quote(ToneFile(firstType, 30)));
    std::printf("first track (%s, %s): open call %.1f ms, play call %.0f us, play to first sample %.1f ms\n",
                firstType.c_str(), early ? "after StartMediaService" : "GStreamer started by this open",
                first.openMs, first.playMs * 1000, first.firstSampleMs);
    Send("close all");

    for (const char* type : types) {
        TimeWarmStarts(type);
    }
    TimeStatusPolls();
    MeasureMemoryPerDevice();
    trallio::media::SettleMediaService();
    std::printf("live pipelines after close: %d\n", trallio::media::LivePipelineCount());
    return 0;
}
