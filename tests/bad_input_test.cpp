// Outside input at its worst: settings files, station folders and entry names as players leave
// them, and folders that change while the radio plays them. Each case ends in a defined outcome
// and nothing the radio keeps dangles (the sanitizer build runs these too).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "playback_fixture.h"

namespace {

using namespace testing_support;

const char kMissingMessage[] = "Directory doesn't exist. Check your directories";

class BadInput : public playback_test::Playback {
protected:
    void ExpectDefaultStations() {
        for (int i = 0; i < trallio::kStationCount; ++i) {
            EXPECT_EQ(radio.stationFolders[i], radio.stationBuffers[i]);
            EXPECT_STREQ(radio.stationFolders[i], ("Trallio\\Radio " + std::to_string(i + 1)).c_str());
        }
        EXPECT_FALSE(radio.mediaPlayerMode);
    }
    std::vector<std::string> Opens() { return LinesStartingWith("media open"); }
    // Passes until the current track's end has been reached `count` times, finishing each track
    // as soon as it plays; returns every track opened meanwhile. Stops after `limit` passes.
    std::vector<std::string> PlayThrough(int count, int limit = 100) {
        std::vector<std::string> opened;
        for (int pass = 0; pass < limit && count > 0; ++pass) {
            fakehost::FinishAllTracks();
            Pass();
            for (const std::string& line : Opens()) {
                opened.push_back(line);
            }
            if (radio.stationSwitchPending) {
                --count;
            }
        }
        return opened;
    }
};

// Settings.

TEST_F(BadInput, EmptyOrBinarySettingsGiveTheDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131 + 7) & 0xFF);
    }
    for (const std::string& contents : {std::string(), binary, std::string(1, '\0'), std::string("\xEF\xBB\xBF")}) {
        ReadSettings(contents);
        ExpectDefaultStations();
    }
}

TEST_F(BadInput, BinaryBytesInAValueAreKeptAsTheyCame) {
    std::string value;
    for (int b = 1; b < 256; ++b) {
        if (b != '\n' && b != '\r' && b != ' ' && b != '\t' && b != '\v' && b != '\f' && b != '"' && b != '\'') {
            value += static_cast<char>(b);
        }
    }
    ASSERT_LE(value.size(), 254u);
    ReadSettings("[RADIOS]\nradio 2=" + value + "\n");
    EXPECT_EQ(std::string(radio.stationFolders[1]), value);
    // Such a folder does not exist: the radio says so and stays silent.
    Choose(radio.stationFolders[1]);
    Pass();
    EXPECT_EQ(fakehost::Game().lastMessage, kMissingMessage);
    EXPECT_TRUE(Opens().empty());
}

TEST_F(BadInput, ALongestFolderWithALongestNamePlaysWithItsWholePath) {
    // A 300-byte setting keeps its first 254 bytes; a folder of exactly that name holding a file
    // whose name has the 255 bytes this file system allows is played under its whole path.
    const std::string folder(300, 'f');
    const std::string kept = folder.substr(0, 254);
    const std::string track = std::string(251, 't') + ".mp3";
    ASSERT_EQ(track.size(), 255u);
    ReadSettings("[RADIOS]\nradio 1=" + folder + "\n");
    ASSERT_EQ(std::string(radio.stationFolders[0]), kept);
    MakeFile(kept + "/" + track);
    Choose(radio.stationFolders[0]);
    Pass();
    EXPECT_EQ(Opens(), std::vector<std::string>{Open(kept, track)});
    EXPECT_EQ(std::string(radio.currentTrack), track);
    // A name one byte longer can't exist here at all.
    const std::string tooLong = kept + "/" + std::string(256, 'x');
    EXPECT_EQ(open(tooLong.c_str(), O_CREAT | O_WRONLY, 0644), -1);
    EXPECT_EQ(errno, ENAMETOOLONG);
}

// Station folders.

TEST_F(BadInput, FoldersThatCannotBeReadAreReportedAsMissing) {
    // Paths that name no readable folder whoever runs the test: through a file, a pipe, a loop of
    // links, a path longer than the system takes.
    MakeFile("Trallio/plain.txt");
    ASSERT_EQ(mkfifo("Trallio/pipe", 0644), 0);
    ASSERT_EQ(symlink("loop-b", "Trallio/loop-a"), 0);
    ASSERT_EQ(symlink("loop-a", "Trallio/loop-b"), 0);
    const std::string huge(5000, 'h');
    const char* const folders[] = {"Trallio\\plain.txt\\Radio 1", "Trallio\\pipe", "Trallio\\loop-a", huge.c_str()};
    for (const char* folder : folders) {
        trallio::ResetRadioState();
        fakehost::Reset();
        Choose(folder);
        Pass();
        EXPECT_EQ(fakehost::Game().lastMessage, kMissingMessage) << folder;
        EXPECT_EQ(radio.folderStream, nullptr);
        EXPECT_TRUE(radio.stationSwitchPending);
        EXPECT_TRUE(LinesStartingWith("media ").empty());
    }
}

TEST_F(BadInput, AFolderWithoutReadPermissionIsReportedAsMissing) {
    // Permission bits do not stop root, so the check runs in a child that gives up root first
    // (as the unprivileged user "nobody"); run unprivileged, the child keeps its user.
    MakeFile("Trallio/Locked/a.mp3");
    MakeFile("Trallio/ListOnly/a.mp3");
    ASSERT_EQ(chmod(gameFolder.c_str(), 0755), 0);
    ASSERT_EQ(chmod("Trallio/Locked", 0000), 0);
    ASSERT_EQ(chmod("Trallio/ListOnly", 0311), 0);  // may be entered, not listed
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(10);
        }
        int step = 20;
        for (const char* folder : {"Trallio\\Locked", "Trallio\\ListOnly"}) {
            ++step;
            errno = 0;
            if (trallio::opendir(folder) != nullptr || errno != EACCES) {
                _exit(step);
            }
            trallio::ResetRadioState();
            fakehost::Reset();
            fakehost::ResetMedia();
            Choose(folder);
            Pass();
            if (fakehost::Game().lastMessage != kMissingMessage || radio.folderStream != nullptr ||
                !LinesStartingWith("media ").empty()) {
                _exit(step + 10);
            }
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod("Trallio/Locked", 0755);
    chmod("Trallio/ListOnly", 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not give up root; 2x: opendir succeeded or gave no EACCES; "
                                         "3x: the radio did not report the folder";
}

TEST_F(BadInput, AHundredThousandEntriesAreWalkedOneFramePerEntry) {
    constexpr int kEntries = 100000;
    MakeFolder("Trallio/Radio 1");
    for (int i = 0; i < kEntries; ++i) {
        const std::string path = "Trallio/Radio 1/entry" + std::to_string(i) + ".txt";
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0) << path;
        close(fd);
    }
    fakehost::SetRecording(false);

    // No track among them: the whole folder is passed over, silently, one wait per entry after
    // the first, and scanned again on the next pass.
    Choose("Trallio\\Radio 1");
    Pass();
    EXPECT_EQ(fakehost::WaitCount(), kEntries + 2 - 1);
    EXPECT_EQ(fakehost::Game().messagesShown, 0);
    EXPECT_FALSE(radio.folderOpen);
    Pass();
    EXPECT_EQ(fakehost::WaitCount(), 2 * (kEntries + 1));

    // One track among them: found where the stream lists it.
    MakeFile("Trallio/Radio 1/found.ogg");
    const int position = StreamPosition("Trallio\\Radio 1", "found.ogg");
    ASSERT_LT(position, static_cast<int>(StreamOrder("Trallio\\Radio 1").size()));
    const int waitsBefore = fakehost::WaitCount();
    Pass();
    EXPECT_EQ(fakehost::WaitCount() - waitsBefore, position);
    EXPECT_STREQ(radio.currentTrack, "found.ogg");
    EXPECT_EQ(fakehost::DeviceMode(Quoted("Trallio\\Radio 1", "found.ogg")), "playing");
}

TEST_F(BadInput, NonAsciiAndBlankFilledNamesTravelByteForByte) {
    const std::string names[] = {
        "caf\xC3\xA9 \xE2\x99\xAA.ogg",  // UTF-8
        "caf\xE9.mp3",                   // a Latin-1 byte, no valid UTF-8
        " my song (live) .wav",          // blanks, also at the ends
        "\t\x01\x7F.flac",               // control bytes
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        trallio::ResetRadioState();
        fakehost::Reset();
        fakehost::ResetMedia();
        const std::string folder = "Trallio/Odd " + std::to_string(&name - names);
        MakeFile(folder + "/" + name);
        const std::string station = "Trallio\\Odd " + std::to_string(&name - names);
        Choose(station.c_str());
        Pass();
        EXPECT_EQ(Opens(), std::vector<std::string>{Open(station, name)});
        EXPECT_EQ(std::string(radio.currentTrack), name);
        EXPECT_EQ(fakehost::DeviceMode(Quoted(station, name)), "playing");
    }
}

// Folders that change while they play.

TEST_F(BadInput, AFolderDeletedWhileItPlaysEndsInTheMissingFolderMessage) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        MakeFile(std::string("Trallio/Radio 1/") + name);
    }
    Choose("Trallio\\Radio 1");
    Pass();
    ASSERT_EQ(Opens().size(), 1u);
    ASSERT_EQ(std::system("rm -rf 'Trallio/Radio 1'"), 0);

    // Whatever the open stream still lists is played out; then the folder's end, and the rescan
    // finds no folder.
    bool reported = false;
    for (int pass = 0; pass < 20 && !reported; ++pass) {
        fakehost::FinishAllTracks();
        Pass();
        reported = fakehost::Game().lastMessage == kMissingMessage;
    }
    ASSERT_TRUE(reported);
    EXPECT_EQ(radio.folderStream, nullptr);
    EXPECT_NE(radio.currentTrack, trallio::emptyText);
    EXPECT_GT(std::strlen(radio.currentTrack), 0u);  // still a readable name
    EXPECT_EQ(fakehost::OpenDeviceCount(), 0);
    const int shown = fakehost::Game().messagesShown;
    Pass();
    EXPECT_EQ(fakehost::Game().messagesShown, shown + 1) << "reported again on every pass";

    // Put back, the folder plays again from its first track.
    MakeFile("Trallio/Radio 1/new.mp3");
    Pass();
    EXPECT_EQ(Opens(), std::vector<std::string>{Open("Trallio\\Radio 1", "new.mp3")});
    EXPECT_EQ(fakehost::DoubleOpens(), 0);
}

TEST_F(BadInput, FilesAddedWhileItPlaysJoinTheStationAtItsNextRound) {
    PlayRadioOne();
    for (const char* name : {"b.mp3", "c.ogg", "d.txt"}) {
        MakeFile(std::string("Trallio/Radio 1/") + name);
    }
    // This round and the next: by the second round every track of the folder is played once,
    // in the stream's order.
    PlayThrough(1);
    const std::vector<std::string> opened = PlayThrough(1);
    std::vector<std::string> expected;
    for (const std::string& name : TracksInOrder("Trallio\\Radio 1")) {
        expected.push_back(Open("Trallio\\Radio 1", name));
    }
    EXPECT_EQ(expected.size(), 3u);
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(fakehost::DoubleOpens(), 0);
    EXPECT_LE(fakehost::OpenDeviceCount(), 1);
}

TEST_F(BadInput, ATrackFileDeletedWhileItPlaysIsClosedAndPassedOver) {
    TwoTracks();
    Choose(0);
    Pass();
    const std::string first = radio.currentTrack;
    ASSERT_EQ(unlink(("Trallio/Radio 1/" + first).c_str()), 0);
    // The service reports the end of what it could play; the radio closes it and goes on.
    fakehost::FinishAllTracks();
    Pass();
    const std::string second = first == "a.mp3" ? "b.mp3" : "a.mp3";
    EXPECT_EQ(LinesStartingWith("media close"), std::vector<std::string>{"media close " + Quoted("Trallio\\Radio 1", first)});
    // Next round: only the file that is left.
    PlayThrough(1);
    EXPECT_EQ(PlayThrough(1), std::vector<std::string>{Open("Trallio\\Radio 1", second)});
}

}  // namespace
