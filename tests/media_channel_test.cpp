// The media-control command strings for one track, and how the status reply is read.
#include "audio/mci_channel.h"
#include "playback/radio_state.h"
#include "support.h"

namespace {

using namespace testing_support;

class MediaChannel : public testing_support::RadioTest {};

TEST_F(MediaChannel, EachOperationSendsItsExactCommands) {
    trallio::OpenTrack("Trallio\\Radio 1", "a.mp3", false);
    trallio::SetTrackVolume("Trallio\\Radio 1", "a.mp3", trallio::radio.volume, false);
    trallio::PauseTrack("Trallio\\Radio 1", "a.mp3", false);
    trallio::ResumeTrack("Trallio\\Radio 1", "a.mp3", false);
    EXPECT_FALSE(trallio::IsTrackStopped("Trallio\\Radio 1", "a.mp3", false));
    trallio::CloseTrack("Trallio\\Radio 1", "a.mp3", false);
    const std::vector<std::string> expected = {
        "media open \"Trallio\\Radio 1\\a.mp3\" type MPEGVideo",
        "media play \"Trallio\\Radio 1\\a.mp3\"",
        "media setaudio \"Trallio\\Radio 1\\a.mp3\" volume to 90",
        "media pause \"Trallio\\Radio 1\\a.mp3\"",
        "media resume \"Trallio\\Radio 1\\a.mp3\" notify",
        "media status \"Trallio\\Radio 1\\a.mp3\" mode [reply 64] = \"playing\"",
        "media close \"Trallio\\Radio 1\\a.mp3\"",
    };
    EXPECT_EQ(LinesStartingWith("media "), expected);
}

TEST_F(MediaChannel, OpenSendsNothingForAnEmptyFolderOrName) {
    trallio::OpenTrack("", "a.mp3", false);
    trallio::OpenTrack("Trallio\\Radio 1", "", false);
    EXPECT_TRUE(LinesStartingWith("media ").empty());
    // The other operations have no such check.
    trallio::CloseTrack("", "", false);
    trallio::PauseTrack("", "", false);
    EXPECT_EQ(LinesStartingWith("media "),
              (std::vector<std::string>{"media close \"\\\" -> 263", "media pause \"\\\" -> 263"}));
}

TEST_F(MediaChannel, PathsTravelUnchangedInsideTheQuotes) {
    trallio::CloseTrack("C:\\My Music\\", "Track 01 - Long Name.flac", false);
    trallio::CloseTrack("D:/songs", "x.ogg", false);
    trallio::CloseTrack("Trallio\\Radio\xE9", "caf\xE9.wav", false);
    const auto lines = LinesStartingWith("media ");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "media close \"C:\\My Music\\\\Track 01 - Long Name.flac\" -> 263");
    EXPECT_EQ(lines[1], "media close \"D:/songs\\x.ogg\" -> 263");
    EXPECT_EQ(lines[2], "media close \"Trallio\\Radio\xE9\\caf\xE9.wav\" -> 263");
}

TEST_F(MediaChannel, BytesAboveSevenBitsWidenToTheSameCode) {
    // The recorder prints a unit above 0xFF as \u{XXXX}: a sign-extended 0xFF would show as
    // \u{FFFF}.
    trallio::OpenTrack("R\xFF", "\x80.mp3", false);
    const auto lines = LinesStartingWith("media open");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "media open \"R\xFF\\\x80.mp3\" type MPEGVideo");
}

TEST_F(MediaChannel, VolumeIsSentAsPlainDigits) {
    const struct {
        int32_t volume;
        const char* digits;
    } cases[] = {{0, "0"}, {7, "7"}, {90, "90"}, {100, "100"}, {500, "500"}, {-3, "-3"}};
    for (const auto& c : cases) {
        fakehost::ClearEvents();
        trallio::radio.volume = c.volume;
        trallio::SetTrackVolume("F", "t.mp3", trallio::radio.volume, false);
        EXPECT_EQ(LinesStartingWith("media "),
                  std::vector<std::string>{std::string("media setaudio \"F\\t.mp3\" volume to ") + c.digits + " -> 263"});
    }
}

TEST_F(MediaChannel, OnlyAReplyContainingStoppedMeansStopped) {
    const struct {
        std::u16string reply;
        bool terminate;
        bool stopped;
    } cases[] = {
        {u"stopped", true, true},
        {u"device stopped now", true, true},
        {u"playing", true, false},
        {u"paused", true, false},
        {u"", true, false},
        {u"Stopped", true, false},
        {u"stop", true, false},
        {std::u16string(u"\u0173topped"), true, true},  // low byte of U+0173 is 's'
        {std::u16string(u"xx\0stopped", 10), true, false},  // nothing after the first zero unit counts
    };
    for (const auto& c : cases) {
        fakehost::OverrideStatusReply(c.reply, c.terminate);
        EXPECT_EQ(trallio::IsTrackStopped("F", "t.mp3", false), c.stopped);
    }
    // A reply that fills all 64 units with no terminator is read up to its end and no further.
    fakehost::OverrideStatusReply(std::u16string(57, u'x') + u"stopped", false);
    EXPECT_TRUE(trallio::IsTrackStopped("F", "t.mp3", false));
    fakehost::OverrideStatusReply(std::u16string(60, u'x') + u"stopped", false);
    EXPECT_FALSE(trallio::IsTrackStopped("F", "t.mp3", false));
    // A service that writes nothing leaves the prepared space: not stopped.
    fakehost::OverrideStatusReply(u"", false, true);
    EXPECT_FALSE(trallio::IsTrackStopped("F", "t.mp3", false));
}

TEST_F(MediaChannel, AStatusQueryOnADeviceThatIsNotOpenIsNotStopped) {
    EXPECT_FALSE(trallio::IsTrackStopped("F", "never-opened.mp3", false));
    fakehost::FailOpen("\"F\\missing.mp3\"");
    trallio::OpenTrack("F", "missing.mp3", false);
    EXPECT_FALSE(trallio::IsTrackStopped("F", "missing.mp3", false));
    trallio::OpenTrack("F", "t.mp3", false);
    fakehost::FinishTrack("\"F\\t.mp3\"");
    EXPECT_TRUE(trallio::IsTrackStopped("F", "t.mp3", false));
}

TEST_F(MediaChannel, OverlongTextsAreCutNotOverrun) {
    const std::string folder(1000, 'f');
    const std::string name(1000, 'n');
    trallio::CloseTrack(folder.c_str(), name.c_str(), false);
    const auto lines = LinesStartingWith("media ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LT(lines[0].size(), 700u);
    EXPECT_EQ(lines[0].compare(0, 13, "media close \""), 0);
}

}  // namespace
