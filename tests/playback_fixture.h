// The playback tests' fixture: three stations over folders of the scratch game folder, one
// playback pass at a time with only its events recorded, and the exact media commands of a track.
#pragma once

#include <string>
#include <vector>

#include "playback/playback.h"
#include "playback/radio_state.h"
#include "stream_order.h"
#include "support.h"

namespace playback_test {

using namespace testing_support;

// Station 1's folder as the radio names it.
const std::string kRadio1 = "Trallio\\Radio 1";

class Playback : public testing_support::RadioTest {
protected:
    // Radio 1 of a.mp3 and b.mp3, in the order the radio's stream gives them.
    std::vector<std::string> TwoTracks() {
        MakeFile("Trallio/Radio 1/a.mp3");
        MakeFile("Trallio/Radio 1/b.mp3");
        return TracksInOrder("Trallio\\Radio 1");
    }

    void Choose(int station) { Choose(radio.stationFolders[station]); }
    // A station on `folder`, chosen with the radio on, as the wheel leaves it.
    void Choose(const char* folder) {
        radio.radioOn = true;
        trallio::SelectStation(folder);
    }
    // Radio 1 of a.mp3 (and Radio 2 of b.mp3 with `radio2`), station 1 chosen and its first pass run.
    void PlayRadioOne(bool radio2 = false) {
        MakeFile("Trallio/Radio 1/a.mp3");
        if (radio2) {
            MakeFile("Trallio/Radio 2/b.mp3");
        }
        Choose(0);
        Pass();
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
    // The commands that end `from` (its status answered `mode`) and, if given, start `to`.
    static std::vector<std::string> Next(const std::string& folder, const std::string& from, const std::string& mode,
                                         const std::string& to = "") {
        std::vector<std::string> lines = {Status(folder, from, mode), Close(folder, from)};
        if (!to.empty()) {
            lines.insert(lines.end(), {Open(folder, to), Play(folder, to), Volume(folder, to)});
        }
        return lines;
    }
    static void Finish(const std::string& folder, const std::string& track) {
        fakehost::FinishTrack(Quoted(folder, track));
    }
};

}  // namespace playback_test
