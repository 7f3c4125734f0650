// The audio-file rule and the directory stream over real folders.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "playback/audio_filter.h"
#include "platform/dir_stream.h"
#include "stream_order.h"
#include "support.h"

namespace {

using testing_support::SortedNames;

class DirStream : public testing_support::RadioTest {};

TEST(AudioFile, LowerCaseExtensionsAnywhereInTheName) {
    for (const char* name : {"song.mp3", "a.aac", "b.wav", "c.flac", "d.ogg", "notes.mp3.txt", "a.mp3x", ".ogg",
                             "x.wav.bak", "..mp3", "live.wav"}) {
        EXPECT_TRUE(trallio::IsAudioFile(name)) << name;
    }
    for (const char* name : {"song.MP3", "track.m4a", "c.fla", "x.opus", "", ".", "..", "mp3", "song_mp3",
                             "a.Wav", ".og", "flac", "?", "a.mp 3"}) {
        EXPECT_FALSE(trallio::IsAudioFile(name)) << name;
    }
    EXPECT_FALSE(trallio::IsAudioFile(nullptr));
}

TEST_F(DirStream, ListsEveryEntryIncludingDotsAndFolders) {
    MakeFile("st/one.mp3");
    MakeFile("st/Two.MP3");
    MakeFolder("st/live.wav");
    EXPECT_EQ(SortedNames("st"), (std::vector<std::string>{".", "..", "Two.MP3", "live.wav", "one.mp3"}));
}

TEST_F(DirStream, BackslashesAndTrailingSeparatorsNameTheSameFolder) {
    MakeFile("Trallio/Radio 1/a.mp3");
    const auto expected = std::vector<std::string>{".", "..", "a.mp3"};
    EXPECT_EQ(SortedNames("Trallio\\Radio 1"), expected);
    EXPECT_EQ(SortedNames("Trallio\\Radio 1\\"), expected);
    EXPECT_EQ(SortedNames("Trallio/Radio 1/"), expected);
    EXPECT_EQ(SortedNames((gameFolder + "/Trallio/Radio 1").c_str()), expected);
}

TEST_F(DirStream, FailuresReturnNoStreamWithTheCause) {
    MakeFile("plain.txt");
    errno = 0;
    EXPECT_EQ(trallio::opendir("missing"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(trallio::opendir("plain.txt"), nullptr);
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_EQ(trallio::opendir(""), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(trallio::opendir(nullptr), nullptr);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_EQ(trallio::closedir(nullptr), -1);
    EXPECT_EQ(errno, EBADF);
}

TEST_F(DirStream, AfterTheEndEveryReadReturnsNothing) {
    MakeFile("st/a.mp3");
    trallio::DIR* stream = trallio::opendir("st");
    ASSERT_NE(stream, nullptr);
    int entries = 0;
    while (trallio::readdir(stream) != nullptr) {
        ++entries;
    }
    EXPECT_EQ(entries, 3);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(trallio::readdir(stream), nullptr);
    }
    EXPECT_EQ(trallio::closedir(stream), 0);
}

TEST_F(DirStream, OneEntryRecordRefilledByEachRead) {
    MakeFile("st/a.mp3");
    MakeFile("st/b.mp3");
    trallio::DIR* stream = trallio::opendir("st");
    ASSERT_NE(stream, nullptr);
    trallio::dirent* first = trallio::readdir(stream);
    trallio::dirent* second = trallio::readdir(stream);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    trallio::closedir(stream);
}

TEST_F(DirStream, LongAndUnusualNamesComeThroughWhole) {
    const std::string longName = std::string(250, 'n') + ".mp3";  // 254 bytes
    MakeFile("st/" + longName);
    MakeFile("st/caf\xC3\xA9 \xE2\x99\xAA.ogg");
    MakeFile("st/tab\tand\nnewline.wav");
    const auto names = SortedNames("st");
    EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "caf\xC3\xA9 \xE2\x99\xAA.ogg"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "tab\tand\nnewline.wav"), names.end());
}

TEST_F(DirStream, EntryTypesFollowTheFileKind) {
    MakeFile("st/file.mp3");
    MakeFolder("st/sub.mp3");
    trallio::DIR* stream = trallio::opendir("st");
    ASSERT_NE(stream, nullptr);
    std::set<std::pair<std::string, int>> seen;
    while (trallio::dirent* entry = trallio::readdir(stream)) {
        seen.insert({entry->d_name, entry->d_type});
    }
    trallio::closedir(stream);
    EXPECT_EQ(seen.count({"file.mp3", 0x8000}), 1u);
    EXPECT_EQ(seen.count({"sub.mp3", 0x4000}), 1u);
}

}  // namespace
