// trallio-sim run headless, as a player or a script would run it: a ride with the radio on the demo
// library, checked on the trace it writes; and its answers to scenarios that cannot run.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <utility>

#include "demo_library.h"
#include "run_program.h"
#include "support.h"

namespace {

using namespace testing_support;

// The simulator plays through GStreamer: its leak check at exit runs as the media tests' do.
std::vector<std::string> Environment(std::vector<std::string> variables) {
    return testing_support::WithMediaLeakCheck(std::move(variables), TRALLIO_MEDIA_LSAN_SUPPRESSIONS);
}

struct TraceLine {
    int frame;
    std::string text;
};

std::vector<TraceLine> ParseTrace(const std::string& out) {
    std::vector<TraceLine> trace;
    for (const std::string& line : SplitLines(out)) {
        const size_t blank = line.find(' ');
        EXPECT_NE(blank, std::string::npos) << line;
        if (blank != std::string::npos) {
            trace.push_back({std::atoi(line.substr(0, blank).c_str()), line.substr(blank + 1)});
        }
    }
    return trace;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The quoted file name at the end of a media command's device ("...\name.mp3"").
std::string TrackOf(const std::string& mediaLine) {
    const size_t open = mediaLine.find('"');
    const size_t close = mediaLine.find('"', open + 1);
    const std::string device = mediaLine.substr(open + 1, close - open - 1);
    return device.substr(device.rfind('\\') + 1);
}

// Every media command in the trace was answered without an error.
void ExpectNoMediaCommandFailed(const std::vector<TraceLine>& trace) {
    for (const TraceLine& line : trace) {
        if (StartsWith(line.text, "media ")) {
            EXPECT_EQ(line.text.find(" -> "), std::string::npos) << line.frame << " " << line.text;
        }
    }
}

// The volumes sent from line `from` to the end of frame `lastFrame`, a repeat in a row counted once;
// each must be sent to `track`.
std::vector<std::string> VolumesSent(const std::vector<TraceLine>& trace, size_t from, int lastFrame,
                                     const std::string& track) {
    std::vector<std::string> volumes;
    for (size_t i = from; i < trace.size() && trace[i].frame <= lastFrame; ++i) {
        if (StartsWith(trace[i].text, "media setaudio ")) {
            EXPECT_EQ(TrackOf(trace[i].text), track);
            const std::string value = trace[i].text.substr(trace[i].text.rfind(' ') + 1);
            if (volumes.empty() || volumes.back() != value) {
                volumes.push_back(value);
            }
        }
    }
    return volumes;
}

// A scenario of tests/sim/scenarios.
std::string ScenarioFile(const std::string& name) {
    std::ifstream file(TRALLIO_TEST_SCENARIOS "/" + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class Headless : public testing_support::RadioTest {
protected:
    ProgramRun Run(const std::string& scenario, std::vector<std::string> options = {"--demo"}) {
        MakeFile("ride.scn", scenario);
        std::vector<std::string> arguments = {TRALLIO_SIM, "--headless", "ride.scn"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunProgram(arguments, gameFolder, Environment({"DISPLAY="}));
    }

    // The index of the first line from `from` on that starts with `start`; fails the test if none.
    size_t Find(const std::vector<TraceLine>& trace, size_t from, const std::string& start) {
        for (size_t i = from; i < trace.size(); ++i) {
            if (StartsWith(trace[i].text, start)) {
                return i;
            }
        }
        ADD_FAILURE() << "no trace line from " << from << " starts with: " << start;
        return trace.size();
    }
};

TEST_F(Headless, ARideThroughTheDemoStationPickSkipVolumePauseResume) {
    // Real time, so that the GStreamer service (a sink that keeps to the clock, no sound) plays
    // the first track to its end while the await waits; the recording stand-in ends it at "finish".
    const ProgramRun run = Run(ScenarioFile("ride.scn"), {"--demo", "--sink", "fake", "--fps", "60"});
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t service = run.err.find("media service: ");
    ASSERT_NE(service, std::string::npos) << run.err;
    RecordProperty("media_service", run.err.substr(service + 15, run.err.find('\n', service) - service - 15));
    const std::vector<TraceLine> trace = ParseTrace(run.out);
    const std::vector<std::string> station = sim::DemoTrackNames(1);
    const std::set<std::string> tracks(station.begin(), station.end());
    const std::string folder = "\"Trallio\\Radio 1\\";

    ExpectNoMediaCommandFailed(trace);

    // The click on station 1 plays its first track at volume 90, the open-world music goes off.
    const size_t click = Find(trace, 0, "input button down");
    const size_t open1 = Find(trace, click, "media open " + folder);
    const std::string first = TrackOf(trace[open1].text);
    EXPECT_EQ(tracks.count(first), 1u) << first;
    EXPECT_EQ(trace[open1].text, "media open " + folder + first + "\" type MPEGVideo");
    EXPECT_EQ(trace[open1 + 1].text, "media play " + folder + first + "\"");
    EXPECT_EQ(trace[open1 + 2].text, "media setaudio " + folder + first + "\" volume to 90");
    EXPECT_EQ(trace[Find(trace, click, "native 0xB9EFD5C25018725A")].text,
              "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 1)");
    EXPECT_EQ(trace[Find(trace, open1, "media status")].text,
              "media status " + folder + first + "\" mode [reply 64] = \"playing\"");

    // It ends: closed, and the next track of the folder opens.
    const size_t close1 = Find(trace, open1, "media close ");
    EXPECT_EQ(trace[close1].text, "media close " + folder + first + "\"");
    EXPECT_EQ(trace[close1 - 1].text, "media status " + folder + first + "\" mode [reply 64] = \"stopped\"");
    const size_t open2 = Find(trace, close1, "media open ");
    const std::string second = TrackOf(trace[open2].text);
    EXPECT_EQ(tracks.count(second), 1u) << second;
    EXPECT_NE(second, first);

    // Skip: the click closes the second track at once, and the third opens (after a frame for each
    // entry the walk passes over on the way).
    const size_t skipClick = Find(trace, open2, "input button down");
    const size_t close2 = Find(trace, skipClick, "media close ");
    EXPECT_EQ(trace[close2].text, "media close " + folder + second + "\"");
    EXPECT_EQ(trace[close2].frame, trace[skipClick].frame);
    const size_t open3 = Find(trace, close2, "media open ");
    const std::string third = TrackOf(trace[open3].text);
    EXPECT_EQ(std::set<std::string>({first, second, third}), tracks);

    // Volume up, held for five frames: 91 to 95, one step a frame, sent to the playing track.
    const size_t press = Find(trace, open3 + 1, "input button down");
    const size_t release = Find(trace, press, "input button up");
    EXPECT_EQ(VolumesSent(trace, press, trace[release].frame, third),
              (std::vector<std::string>{"91", "92", "93", "94", "95"}));

    // Dismounting pauses the track in that frame; mounting again resumes it.
    const size_t off = Find(trace, release, "input mount off");
    const size_t pause = Find(trace, off, "media pause ");
    EXPECT_EQ(trace[pause].text, "media pause " + folder + third + "\"");
    EXPECT_EQ(trace[pause].frame, trace[off].frame);
    EXPECT_EQ(trace[Find(trace, off, "native 0xB9EFD5C25018725A")].text,
              "native 0xB9EFD5C25018725A SET_AUDIO_FLAG(\"OpenWorldMusicDisabled\", 0)");
    const size_t on = Find(trace, pause, "input mount on");
    const size_t resume = Find(trace, on, "media resume ");
    EXPECT_EQ(trace[resume].text, "media resume " + folder + third + "\" notify");
    EXPECT_EQ(trace[resume].frame, trace[on].frame);
    // Nothing else was opened, closed or paused after the skip.
    for (size_t i = open3 + 1; i < trace.size(); ++i) {
        EXPECT_FALSE(StartsWith(trace[i].text, "media open") || StartsWith(trace[i].text, "media close"))
            << trace[i].frame << " " << trace[i].text;
    }
    EXPECT_EQ(trace.back().text, "hook scriptUnregister(0x7A110000)");
}

// With titles = tags the wheel's now-playing text is the folder and the demo track's tag line,
// never its file name. Name order, so the three tracks of station 1 play in a known order; the
// wheel stays open while a click on skip moves on to the next.
TEST_F(Headless, TitlesFromTagsShowTheDemoTracksTagLines) {
    MakeFile("Trallio/Trallio.ini", "[config]\ntitles = tags\norder = name\n");
    const ProgramRun run = Run(ScenarioFile("titles.scn"), {"--demo", "--sink", "fake"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = "native 0xFA925AC00EB830B9 CREATE_VAR_STRING(10, \"LITERAL_STRING\", ";
    const std::vector<TraceLine> trace = ParseTrace(run.out);
    const struct {
        const char* name;
        const char* shown;  // the second line, as the trace quotes it
    } tracks[] = {
        {"01 Morning sine.mp3", "The Test Tones - Morning Sine"},
        {"02 Square dance.ogg", "The Test Tones - Square Dance"},
        {"03 Triangle trail.wav", "The Test Tones - Triangle Trail"},
    };
    // Each tag line shows while its track plays, before the next one opens.
    size_t open = Find(trace, 0, "media open ");
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_LT(open, trace.size());
        EXPECT_EQ(TrackOf(trace[open].text), tracks[i].name);
        const size_t next = i < 2 ? Find(trace, open + 1, "media open ") : trace.size();
        const size_t shown = Find(trace, open, text + "\"Trallio\\\\Radio 1\\n" + tracks[i].shown + "\\n\")");
        EXPECT_LT(shown, next) << tracks[i].name;
        open = next;
    }
    // No text showed a file name.
    for (const TraceLine& line : trace) {
        for (const auto& track : tracks) {
            EXPECT_FALSE(StartsWith(line.text, text) && line.text.find(track.name) != std::string::npos)
                << line.frame << " " << line.text;
        }
    }
}

TEST_F(Headless, WithoutDemoAMissingStationShowsTheMessage) {
    const ProgramRun run = Run(
        "1 mount on\n2 key q down\n2 key r down\n4 cursor slot station2\n5 button down\n6 end\n", {"--no-demo"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(std::ifstream(gameFolder + "/Trallio/Radio 2").good());
    const std::vector<TraceLine> trace = ParseTrace(run.out);
    const auto message = std::find_if(trace.begin(), trace.end(), [](const TraceLine& line) {
        return line.text == "native 0xFA925AC00EB830B9 CREATE_VAR_STRING(10, \"LITERAL_STRING\", \"Directory "
                            "doesn't exist. Check your directories\")";
    });
    ASSERT_NE(message, trace.end());
    EXPECT_EQ(message->frame, 5);
}

TEST_F(Headless, AMalformedScenarioStopsBeforeAnyFrameWithItsLineNumber) {
    const ProgramRun run = Run("1 mount on\n# fine so far\n3 jump\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "trallio-sim: ride.scn: line 3: unknown command \"jump\"\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(Headless, AnAwaitThatNeverComesTrueFailsWithItsLineNumber) {
    const ProgramRun run = Run("1 mount on\n2 await 10 media play\n", {"--no-demo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("trallio-sim: line 2: no trace line contained \"media play\" within 10 frames\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ParseTrace(run.out).back().frame, 11);
}

TEST_F(Headless, WithoutAScenarioOrADisplayItSaysWhatItNeeds) {
    const ProgramRun run = RunProgram({TRALLIO_SIM}, gameFolder, Environment({"DISPLAY=", "WAYLAND_DISPLAY="}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.find("trallio-sim: no display: give a scenario with --headless"), 0u) << run.err;
}

}  // namespace
