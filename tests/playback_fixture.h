// The playback tests' fixture: three stations over folders of the scratch game folder, one
// playback pass at a time with only its events recorded, and the exact media commands of a track.
#pragma once

#include <string>
#include <vector>

#include "playback/audio_filter.h"
#include "platform/dir_stream.h"
#include "playback/playback.h"
#include "playback/radio_state.h"
#include "support.h"

namespace playback_test {

using testing_support::LinesStartingWith;
using testing_support::Quoted;
using trallio::radio;

class Playback : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        radio.stationFolders[0] = "Trallio\\Radio 1";
        radio.stationFolders[1] = "Trallio\\Radio 2";
        radio.stationFolders[2] = "Trallio\\Radio 3";
    }

    // The names of a folder in the order the radio's stream gives them.
    std::vector<std::string> StreamOrder(const char* folder) {
        std::vector<std::string> names;
        trallio::DIR* stream = trallio::opendir(folder);
        EXPECT_NE(stream, nullptr);
        while (trallio::dirent* entry = trallio::readdir(stream)) {
            names.push_back(entry->d_name);
        }
        trallio::closedir(stream);
        return names;
    }
    std::vector<std::string> TracksInOrder(const char* folder) {
        std::vector<std::string> tracks;
        for (const std::string& name : StreamOrder(folder)) {
            if (trallio::IsAudioFile(name.c_str())) {
                tracks.push_back(name);
            }
        }
        return tracks;
    }
    // Radio 1 of a.mp3 and b.mp3, in the order the radio's stream gives them.
    std::vector<std::string> TwoTracks() {
        MakeFile("Trallio/Radio 1/a.mp3");
        MakeFile("Trallio/Radio 1/b.mp3");
        return TracksInOrder("Trallio\\Radio 1");
    }

    // A pass as the frame driver makes it, with only that pass's events recorded.
    void Pass() {
        fakehost::ClearEvents();
        trallio::UpdatePlayback();
    }
    void Choose(int station) {
        radio.radioOn = true;
        trallio::SelectStation(radio.stationFolders[station]);
    }
    std::vector<std::string> Media() { return LinesStartingWith("media "); }

    static std::string Open(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Open(Quoted(folder, track));
    }
    static std::string Play(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Play(Quoted(folder, track));
    }
    static std::string Volume(const std::string& folder, const std::string& track, int volume = 90) {
        return "media " + media_commands::Volume(Quoted(folder, track), volume);
    }
    static std::string Status(const std::string& folder, const std::string& track, const std::string& mode) {
        return "media " + media_commands::Status(Quoted(folder, track)) + " [reply 64] = \"" + mode + "\"";
    }
    static std::string Close(const std::string& folder, const std::string& track) {
        return "media " + media_commands::Close(Quoted(folder, track));
    }
    static std::vector<std::string> Start(const std::string& folder, const std::string& track) {
        return {Open(folder, track), Play(folder, track), Volume(folder, track), Status(folder, track, "playing")};
    }
    static void Finish(const std::string& folder, const std::string& track) {
        fakehost::FinishTrack(Quoted(folder, track));
    }
};

}  // namespace playback_test
