// media_thread: the radio's media commands made by a thread of its own, checked on the commands
// the stand-in service received, the thread that made each, and the radio's messages.
#include <chrono>
#include <thread>

#include "audio/mci_channel.h"
#include "audio/media_thread.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"

namespace {

using testing_support::LinesStartingWith;
using testing_support::Quoted;
using trallio::radio;

const char kHungMessage[] = "The media service is not answering. Trallio is paused.";

class MediaThread : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        MakeFile("Trallio/Radio 1/a.mp3");
        radio.stationFolders[0] = "Trallio\\Radio 1";
    }
    void TearDown() override {
        fakehost::HoldOpens(false);
        trallio::SettleMediaThread();  // the thread polls nothing in the tests that follow
        RadioTest::TearDown();
    }
    void TurnOn(bool threaded) {
        radio.config.mediaThread = threaded;
        trallio::mediaThreadOn = threaded;
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[0]);
    }
    // A frame's pass, then a wait of about a frame; with `drain` until the thread has sent all.
    static void Pass(bool drain = true) {
        trallio::UpdatePlayback();
        if (drain) {
            trallio::DrainMediaQueue();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The media commands but the status polls, whose number depends on timing with the thread.
    static std::vector<std::string> Commands() {
        std::vector<std::string> commands;
        for (const std::string& line : LinesStartingWith("media ")) {
            if (line.compare(0, 13, "media status ") != 0) {
                commands.push_back(line);
            }
        }
        return commands;
    }
    static int Count(const std::string& text) {
        int count = 0;
        for (const std::string& line : fakehost::Lines()) {
            count += line.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
};

// The same commands in the same order with the setting off and on; with it on none from the game's
// thread, with it off all of them.
TEST_F(MediaThread, ATrackEndsAndTheNextStartsWithTodaysCommandsFromTheMediaThreadOnly) {
    const std::string track = Quoted("Trallio\\Radio 1", "a.mp3");
    const std::vector<std::string> expected = {
        "media open " + track + " type MPEGVideo", "media play " + track, "media setaudio " + track + " volume to 90",
        "media close " + track, "media open " + track + " type MPEGVideo", "media play " + track,
        "media setaudio " + track + " volume to 90"};
    for (const bool threaded : {false, true}) {
        SCOPED_TRACE(threaded ? "media_thread on" : "media_thread off");
        trallio::SettleMediaThread();
        trallio::ResetRadioState();
        fakehost::ResetMedia();
        fakehost::ClearEvents();
        radio.stationFolders[0] = "Trallio\\Radio 1";
        TurnOn(threaded);
        for (int frame = 0; frame < 3; ++frame) {
            Pass();
        }
        fakehost::FinishTrack(track);
        for (int frame = 0; frame < 20 && Commands().size() < expected.size(); ++frame) {
            Pass();
        }
        EXPECT_EQ(Commands(), expected);
        int fromGame = 0;
        const std::vector<std::thread::id> threads = fakehost::MediaCallThreads();
        for (const std::thread::id& id : threads) {
            fromGame += id == std::this_thread::get_id() ? 1 : 0;
        }
        EXPECT_EQ(fromGame, threaded ? 0 : static_cast<int>(threads.size()));
    }
}

TEST_F(MediaThread, AStationOfRefusedFilesShowsItsMessageOnceAndGoesSilent) {
    MakeFile("Trallio/Radio 1/b.mp3");
    fakehost::FailOpen(Quoted("Trallio\\Radio 1", "a.mp3"));
    fakehost::FailOpen(Quoted("Trallio\\Radio 1", "b.mp3"));
    TurnOn(true);
    for (int frame = 0; frame < 15; ++frame) {
        Pass();
    }
    EXPECT_EQ(Count("No track in Trallio\\\\Radio 1 would play. Run TrallioCheck.exe"), 1);
    EXPECT_EQ(Count("media open "), 2);
    EXPECT_EQ(Count("media close "), 2);
    EXPECT_EQ(Count("media play "), 0);
    EXPECT_TRUE(radio.refusals.stationRefused);
}

// An open that does not return: frames go on, the message shows once after two seconds and nothing
// more is sent; when the open returns the track goes on from where it was.
TEST_F(MediaThread, AServiceThatHangsPausesTheRadioUntilItAnswers) {
    const std::string track = Quoted("Trallio\\Radio 1", "a.mp3");
    fakehost::HoldOpens(true);
    TurnOn(true);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2300)) {
        Pass(false);
    }
    EXPECT_EQ(Count(kHungMessage), 1);
    EXPECT_TRUE(LinesStartingWith("media ").empty());
    EXPECT_EQ(trallio::MediaQueueRoom(), 32 - 5) << "the open's commands only, still waiting";

    fakehost::HoldOpens(false);
    for (int frame = 0; frame < 5; ++frame) {
        Pass();
    }
    EXPECT_EQ(Count(kHungMessage), 1);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"media open " + track + " type MPEGVideo", "media play " + track,
                                                     "media setaudio " + track + " volume to 90"}));
    EXPECT_EQ(fakehost::DeviceMode(track), "playing");
}

// The wheel sends the volume every frame: the same command still waiting is not queued again, a
// new level is, and the thread sends them in order once the open returns.
TEST_F(MediaThread, AVolumeAlreadyWaitingIsNotQueuedTwice) {
    const std::string track = Quoted("Trallio\\Radio 1", "a.mp3");
    fakehost::HoldOpens(true);
    TurnOn(true);
    Pass(false);
    const int room = trallio::MediaQueueRoom();
    for (const int level : {70, 70, 70, 80, 80}) {
        trallio::SetTrackVolume(radio.currentFolder, radio.currentTrack, level, false);
    }
    EXPECT_EQ(trallio::MediaQueueRoom(), room - 2);
    fakehost::HoldOpens(false);
    Pass();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"media open " + track + " type MPEGVideo", "media play " + track,
                                                     "media setaudio " + track + " volume to 90",
                                                     "media setaudio " + track + " volume to 70",
                                                     "media setaudio " + track + " volume to 80"}));
}

}  // namespace
