// The service through mciSendStringW, with real files played into the sink that keeps to the
// clock (or, where only the outcome matters, the one that runs as fast as it can).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "media_files.h"
#include "platform/posix/media/media_service.h"
#include "platform/posix/media/mci_errors.h"

namespace trallio::media {
namespace {

using namespace test;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Polls the mode every 5 ms until it reads `mode` or `ms` have passed; returns the time it
// took, or -1. Every other reply on the way must be `meanwhile`.
double WaitForMode(const std::string& device, const std::string& mode, double ms, const std::string& meanwhile) {
    const double start = NowMs();
    while (NowMs() - start < ms) {
        const std::string now = ModeOf(device);
        if (now == mode) {
            return NowMs() - start;
        }
        EXPECT_EQ(now, meanwhile);
        SleepMs(5);
    }
    return -1;
}

class MediaService : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TRALLIO_AUDIO_SINK", "fake", 1);
        // As a host does at start-up: the decoders are in before the first track, so the
        // timings below are the playback's own.
        ASSERT_TRUE(StartMediaService());
    }
    void TearDown() override {
        EXPECT_EQ(Send("close all"), kMciOk);
        EXPECT_EQ(OpenDeviceCount(), 0);
        // Once closed devices are torn down, a pipeline still alive is a leak.
        SettleMediaService();
        EXPECT_EQ(LivePipelineCount(), 0);
    }
    // A quoted path to a tone; fails the test when the encoder is missing.
    std::string Tone(const std::string& type, int tenths = 10) {
        const std::string path = ToneFile(type, tenths);
        EXPECT_FALSE(path.empty()) << "could not encode a " << type << " file with gst-launch-1.0";
        return Quoted(path);
    }
};

class EachType : public MediaService, public ::testing::WithParamInterface<const char*> {};

TEST_P(EachType, PlaysThroughInRealTimeThenStops) {
    const std::string device = Tone(GetParam());
    std::string reply;
    ASSERT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk);
    EXPECT_EQ(ModeOf(device), "stopped") << "opened, not yet played";
    EXPECT_EQ(Send("setaudio " + device + " volume to 90"), kMciOk);
    ASSERT_EQ(Send("play " + device), kMciOk);
    const double played = NowMs();
    EXPECT_EQ(ModeOf(device), "playing") << "from the moment play is sent";
    ASSERT_GE(WaitForMode(device, "stopped", 3000, "playing"), 0) << "still playing 3 s after play";
    const double ended = NowMs() - played;

    // The length is the file's, give or take the encoder's padding; a clocked sink takes that
    // long to play it, and the end shows within 0.3 s.
    ASSERT_EQ(Send("status " + device + " length", &reply), kMciOk);
    const int length = std::atoi(reply.c_str());
    EXPECT_NEAR(length, 1000, 100);
    EXPECT_LE(ended, length + (kUnderAsan ? 600 : 300)) << "stopped " << ended << " ms after play";
    EXPECT_GE(ended, length - 100) << "stopped " << ended << " ms after play";
    EXPECT_EQ(Send("close " + device), kMciOk);
    EXPECT_EQ(ModeOf(device), "error 263");
}

INSTANTIATE_TEST_SUITE_P(MediaService, EachType, ::testing::Values("mp3", "aac", "wav", "flac", "ogg"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return info.param; });

TEST_F(MediaService, PauseHoldsThePositionAndResumeGoesOn) {
    const std::string device = Tone("mp3");
    ASSERT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk);
    ASSERT_EQ(Send("play " + device), kMciOk);
    const double played = NowMs();
    while (PositionOf(device) < 300 && NowMs() - played < 1000) {
        SleepMs(5);
    }
    ASSERT_EQ(Send("pause " + device), kMciOk);
    EXPECT_EQ(ModeOf(device), "paused");
    SleepMs(100);
    const long held = PositionOf(device);
    EXPECT_GE(held, 250);
    EXPECT_LT(held, 700);
    SleepMs(400);
    EXPECT_EQ(ModeOf(device), "paused");
    EXPECT_NEAR(PositionOf(device), held, 10) << "the position moved while paused";

    ASSERT_EQ(Send("resume " + device + " notify"), kMciOk);
    EXPECT_EQ(ModeOf(device), "playing");
    SleepMs(300);
    EXPECT_GT(PositionOf(device), held + 150) << "resume did not go on";
    ASSERT_GE(WaitForMode(device, "stopped", 3000, "playing"), 0);
    EXPECT_GT(NowMs() - played, 1350) << "the half-second pause was not added to the track's second";
}

TEST_F(MediaService, ADeviceLivesFromOpenToClose) {
    const std::string device = Tone("wav", 3);
    ASSERT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk);
    EXPECT_EQ(Send("open " + device + " type MPEGVideo"), kMciDeviceOpen);
    ASSERT_EQ(Send("play " + device), kMciOk);
    EXPECT_EQ(LivePipelineCount(), 1);
    ASSERT_EQ(Send("close " + device), kMciOk);
    SettleMediaService();
    EXPECT_EQ(LivePipelineCount(), 0);
    // Closed, the name is unknown to every command, then free for a new open.
    for (const char* command : {"play", "pause", "resume", "close", "status"}) {
        std::string reply;
        const std::string tail = std::string(command) == "status" ? " mode" : "";
        EXPECT_EQ(Send(command + (" " + device) + tail, &reply), kMciInvalidDeviceName) << command;
        EXPECT_EQ(reply, "") << command;
    }
    EXPECT_EQ(Send("setaudio " + device + " volume to 5"), kMciInvalidDeviceName);
    EXPECT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk);
    // Waiting for the end would block the caller.
    EXPECT_EQ(Send("play " + device + " wait"), kMciUnsupportedFunction);
}

TEST_F(MediaService, TwoDevicesPlayAtOnce) {
    const std::string first = Tone("ogg");
    const std::string second = Tone("flac");
    ASSERT_EQ(Send("open " + first + " type MPEGVideo"), kMciOk);
    ASSERT_EQ(Send("open " + second + " type MPEGVideo"), kMciOk);
    ASSERT_EQ(Send("play " + first), kMciOk);
    ASSERT_EQ(Send("play " + second), kMciOk);
    SleepMs(300);
    ASSERT_EQ(Send("pause " + first), kMciOk);
    EXPECT_EQ(ModeOf(second), "playing");
    ASSERT_GE(WaitForMode(second, "stopped", 3000, "playing"), 0);
    EXPECT_EQ(ModeOf(first), "paused");
    ASSERT_EQ(Send("close " + second), kMciOk);
    ASSERT_EQ(Send("resume " + first), kMciOk);
    EXPECT_GE(WaitForMode(first, "stopped", 3000, "playing"), 0);
}

TEST_F(MediaService, MissingFileFailsAtOpenAndNeverReadsStopped) {
    const std::string device = Quoted(ScratchDir() + "\\no such.mp3");
    std::string reply;
    EXPECT_EQ(Send("open " + device + " type MPEGVideo", &reply), kMciFileNotFound);
    // The radio sends play anyway and then polls: each fails, none reads stopped.
    EXPECT_EQ(Send("play " + device), kMciInvalidDeviceName);
    EXPECT_EQ(Send("status " + device + " mode", &reply), kMciInvalidDeviceName);
    EXPECT_EQ(reply.find("stopped"), std::string::npos);
    // A folder is there but is no file.
    EXPECT_EQ(Send("open " + Quoted(ScratchDir()) + " type MPEGVideo"), kMciInvalidFile);
    EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST_F(MediaService, UndecodableFilesOpenThenReadStopped) {
    // Text under an audio name and an empty file open (they are there), fail on their own
    // threads, and then read stopped, so that the radio moves on; playing them again is refused.
    std::string words;
    for (int i = 0; i < 200; ++i) {
        words += "this is not sound at all\n";
    }
    ASSERT_TRUE(WriteFile(ScratchDir() + "/text.mp3", words));
    ASSERT_TRUE(WriteFile(ScratchDir() + "/empty.mp3", ""));
    for (const char* name : {"/text.mp3", "/empty.mp3"}) {
        const std::string device = Quoted(ScratchDir() + name);
        ASSERT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk) << name;
        const MCIERROR play = Send("play " + device);
        EXPECT_TRUE(play == kMciOk || play == kMciInvalidFile) << play;
        EXPECT_GE(WaitForMode(device, "stopped", 2000, "playing"), 0) << name;
        EXPECT_EQ(Send("play " + device), kMciInvalidFile) << name;
        EXPECT_EQ(Send("resume " + device), kMciInvalidFile) << name;
        EXPECT_EQ(ModeOf(device), "stopped") << name;
    }
    // An mp3 cut short plays what there is and stops.
    const std::string cut = ScratchDir() + "/cut.mp3";
    ASSERT_TRUE(CopyFile(ToneFile("mp3"), cut));
    struct stat info;
    ASSERT_EQ(stat(cut.c_str(), &info), 0);
    ASSERT_EQ(truncate(cut.c_str(), info.st_size / 3), 0);
    ASSERT_EQ(Send("open " + Quoted(cut) + " type MPEGVideo"), kMciOk);
    ASSERT_EQ(Send("play " + Quoted(cut)), kMciOk);
    EXPECT_GE(WaitForMode(Quoted(cut), "stopped", 3000, "playing"), 0);
}

TEST_F(MediaService, FindsTheRadiosPaths) {
    // A station folder with a blank, Windows separators, a relative path and Latin-1 bytes in
    // the file name as the directory stream hands them over.
    const std::string station = ScratchDir() + "/Trallio/Radio 1";
    ASSERT_TRUE(MakeDir(station));
    ASSERT_TRUE(CopyFile(ToneFile("wav", 3), station + "/Caf\xE9 \xFC\xFF.wav"));
    const std::string relative = "\"Trallio\\Radio 1\\Caf\xE9 \xFC\xFF.wav\"";
    {
        InDirectory inside(ScratchDir());
        ASSERT_EQ(Send("open " + relative + " type MPEGVideo"), kMciOk);
    }
    ASSERT_EQ(Send("play " + relative), kMciOk);
    EXPECT_GE(WaitForMode(relative, "stopped", 3000, "playing"), 0);

    // The same file by its absolute path with backslashes is a second device.
    std::string absolute = station + "/Caf\xE9 \xFC\xFF.wav";
    for (char& c : absolute) {
        c = c == '/' ? '\\' : c;
    }
    ASSERT_EQ(Send("open " + Quoted(absolute)), kMciOk);
    EXPECT_EQ(OpenDeviceCount(), 2);
    // Names are compared exactly: in another case it is another (unopened) device.
    EXPECT_EQ(ModeOf("\"trallio\\radio 1\\caf\xE9 \xFC\xFF.wav\""), "error 263");
}

TEST_F(MediaService, VolumeFollowsSetaudio) {
    const std::string device = Tone("wav", 3);
    ASSERT_EQ(Send("open " + device + " type MPEGVideo"), kMciOk);
    std::string reply;
    ASSERT_EQ(Send("status " + device + " volume", &reply), kMciOk);
    EXPECT_EQ(reply, "1000") << "a device opens at full volume";
    for (const char* volume : {"0", "90", "500", "1000"}) {
        ASSERT_EQ(Send("setaudio " + device + " volume to " + volume), kMciOk);
        ASSERT_EQ(Send("status " + device + " volume", &reply), kMciOk);
        EXPECT_EQ(reply, volume);
    }
    EXPECT_EQ(Send("setaudio " + device + " volume to 1001"), kMciOutOfRange);
    ASSERT_EQ(Send("status " + device + " volume", &reply), kMciOk);
    EXPECT_EQ(reply, "1000") << "a refused volume leaves the last one";
}

TEST_F(MediaService, RepliesStayWithinTheirBuffer) {
    const std::string file = ToneFile("wav", 3);
    const std::u16string device = u"\"" + std::u16string(file.begin(), file.end()) + u"\"";
    const std::u16string status = u"status " + device + u" mode";
    WCHAR reply[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    // Open answers with the device's number, one more for each device opened.
    ASSERT_EQ(mciSendStringW((u"open " + device).c_str(), reply, 8, nullptr), kMciOk);
    const int number = std::atoi(std::string(reply, reply + std::char_traits<char16_t>::length(reply)).c_str());
    std::string next;
    ASSERT_EQ(Send("open " + Tone("wav"), &next), kMciOk);
    EXPECT_GT(number, 0);
    EXPECT_EQ(std::atoi(next.c_str()), number + 1);

    // "stopped" and its zero need 8 units: with 4 the reply is cut to 3 and zero-terminated.
    std::fill(reply, reply + 8, u'#');
    EXPECT_EQ(mciSendStringW(status.c_str(), reply, 4, nullptr), kMciParamOverflow);
    EXPECT_EQ(std::u16string(reply), u"sto");
    EXPECT_EQ(reply[4], u'#');
    EXPECT_EQ(mciSendStringW(status.c_str(), reply, 8, nullptr), kMciOk);
    EXPECT_EQ(std::u16string(reply), u"stopped");
    // No room: nothing written. No buffer: nothing to write.
    std::fill(reply, reply + 8, u'#');
    EXPECT_EQ(mciSendStringW(status.c_str(), reply, 0, nullptr), kMciOk);
    EXPECT_EQ(reply[0], u'#');
    EXPECT_EQ(mciSendStringW(status.c_str(), nullptr, 0, nullptr), kMciOk);
    // A failed command leaves the empty text.
    EXPECT_EQ(mciSendStringW(u"jump \"x\"", reply, 8, nullptr), kMciUnrecognizedCommand);
    EXPECT_EQ(reply[0], 0);
    EXPECT_EQ(mciSendStringW(nullptr, reply, 8, nullptr), kMciMissingCommandString);
}

TEST_F(MediaService, PauseAndResumeActOnlyWhereTheyMeanSomething) {
    setenv("TRALLIO_AUDIO_SINK", "fast", 1);
    const std::string device = Tone("flac", 3);
    ASSERT_EQ(Send("open " + device), kMciOk);
    ASSERT_EQ(Send("resume " + device + " notify"), kMciOk);
    EXPECT_EQ(ModeOf(device), "stopped") << "resume without a pause";
    ASSERT_EQ(Send("pause " + device), kMciOk);
    EXPECT_EQ(ModeOf(device), "paused") << "pause before play";
    ASSERT_EQ(Send("resume " + device), kMciOk);
    ASSERT_GE(WaitForMode(device, "stopped", 3000, "playing"), 0);
    ASSERT_EQ(Send("pause " + device), kMciOk);
    EXPECT_EQ(ModeOf(device), "stopped") << "pause after the end";
    ASSERT_EQ(Send("play " + device), kMciOk);
    EXPECT_EQ(ModeOf(device), "playing") << "play after the end starts again";
    EXPECT_GE(WaitForMode(device, "stopped", 3000, "playing"), 0);
}

}  // namespace
}  // namespace trallio::media
