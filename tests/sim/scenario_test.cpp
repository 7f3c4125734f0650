// Scenario files: what the parser accepts and rejects (with the line number), and how the player
// turns events into controls frame by frame, relative frames and awaits included.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scenario.h"
#include "scenario_player.h"
#include "wheel/layout.h"

namespace {

using sim::Command;
using sim::Controls;
using sim::FrameActions;
using sim::Scenario;
using sim::ScenarioPlayer;

Scenario Parse(const std::string& text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(sim::ParseScenario(text, scenario, error)) << error;
    return scenario;
}

std::string ErrorOf(const std::string& text) {
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(sim::ParseScenario(text, scenario, error)) << "accepted: " << text;
    return error;
}

TEST(ScenarioParse, EveryCommandWithItsArguments) {
    const Scenario scenario = Parse(
        "# a comment, then a blank line\n"
        "\n"
        "1 mount on\n"
        "  2 vehicle off  \n"
        "+0 boat on\n"
        "+1 train off\n"
        "4 key Q down\n"
        "4 key r up\n"
        "5 button down\n"
        "6 cursor 960 540\n"
        "6 cursor slot volume-up\n"
        "6 cursor slot 7\n"
        "7 window 1280 720\n"
        "8 finish\n"
        "9 await 30 media play \"Trallio\\Radio 1\\\n"
        "+2 screenshot /tmp/a b.bmp\n"
        "+1 end\n");
    const std::vector<sim::ScenarioEvent>& e = scenario.events;
    ASSERT_EQ(e.size(), 15u);
    EXPECT_EQ(e[0].line, 3);
    EXPECT_EQ(e[0].command, Command::Mount);
    EXPECT_TRUE(e[0].on);
    EXPECT_EQ(e[1].command, Command::Vehicle);
    EXPECT_FALSE(e[1].on);
    EXPECT_EQ(e[1].source, "2 vehicle off");
    EXPECT_TRUE(e[2].relative);
    EXPECT_EQ(e[2].frame, 0);
    EXPECT_EQ(e[3].command, Command::Train);
    EXPECT_EQ(e[4].key, 'Q');
    EXPECT_TRUE(e[4].on);
    EXPECT_EQ(e[5].key, 'R');
    EXPECT_FALSE(e[5].on);
    EXPECT_EQ(e[6].command, Command::Button);
    EXPECT_EQ(e[7].slot, -1);
    EXPECT_EQ(e[7].x, 960);
    EXPECT_EQ(e[7].y, 540);
    EXPECT_EQ(e[8].slot, trallio::VolumeUp);
    EXPECT_EQ(e[9].slot, trallio::Skip);
    EXPECT_EQ(e[10].x, 1280);
    EXPECT_EQ(e[10].y, 720);
    EXPECT_EQ(e[11].command, Command::Finish);
    EXPECT_EQ(e[12].command, Command::Await);
    EXPECT_EQ(e[12].frames, 30);
    EXPECT_EQ(e[12].text, "media play \"Trallio\\Radio 1\\");  // the rest of the line, as written
    EXPECT_EQ(e[13].text, "/tmp/a b.bmp");
    EXPECT_EQ(e[14].command, Command::End);
}

TEST(ScenarioParse, MalformedLinesAreReportedWithTheirNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"1 mount on\n\n3 jump\n", "line 3: unknown command \"jump\""},
        {"x mount on\n", "line 1: bad frame \"x\": expected a frame number from 1 or +N"},
        {"0 mount on\n", "line 1: bad frame \"0\": expected a frame number from 1 or +N"},
        {"-3 mount on\n", "line 1: bad frame \"-3\": expected a frame number from 1 or +N"},
        {"+x mount on\n", "line 1: bad relative frame \"+x\": expected +N with N from 0"},
        {"1 mount\n", "line 1: expected \"mount on|off\""},
        {"1 train yes\n", "line 1: expected \"train on|off\""},
        {"1 key w down\n", "line 1: unknown key \"w\": the radio reads only q and r"},
        {"1 key q\n", "line 1: expected \"key q|r down|up\""},
        {"1 key q held\n", "line 1: expected \"key q|r down|up\""},
        {"1 button click\n", "line 1: expected \"button down|up\""},
        {"1 cursor 10\n", "line 1: expected \"cursor X Y\" (client pixels) or \"cursor slot NAME\""},
        {"1 cursor -1 5\n", "line 1: expected \"cursor X Y\" (client pixels) or \"cursor slot NAME\""},
        {"1 cursor slot 8\n", "line 1: unknown slot \"8\": use 0..7 or background, off, station1, station2, "
                              "station3, volume-down, volume-up, skip"},
        {"1 window 0 720\n", "line 1: expected \"window WIDTH HEIGHT\" in pixels, each at least 1"},
        {"1 finish now\n", "line 1: expected \"finish\""},
        {"1 await 30\n", "line 1: expected \"await FRAMES TEXT\""},
        {"1 await soon media\n", "line 1: expected \"await FRAMES TEXT\""},
        {"1 screenshot\n", "line 1: expected \"screenshot PATH\""},
        {"5 mount on\n4 mount off\n", "line 2: frame 4 comes before frame 5 of an earlier line"},
        {"5 end\n6 mount on\n", "line 2: nothing may follow \"end\""},
        {"7\n", "line 1: a frame number without a command"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
    }
}

TEST(ScenarioParse, AnAbsoluteFrameAfterAnAwaitIsCheckedOnlyWhenItRuns) {
    // How long the await lasts is not known until the scenario runs.
    Parse("10 await 5 media play\n3 mount on\n");
}

// Plays a scenario the way the drivers do, with `seenAt` the frames on which the awaited text
// appears; returns the controls before each frame and the notes per frame.
struct Played {
    std::vector<Controls> controls;  // index: frame - 1
    std::vector<FrameActions> actions;
    std::string error;
    int frames = 0;
};

Played Play(const std::string& text, std::vector<int> seenAt = {}, int maxFrames = 100) {
    ScenarioPlayer player(Parse(text));
    Played played;
    Controls controls;
    // As the simulator watches its trace: from the frame after the text is named, until it changes.
    const std::string* watching = nullptr;
    bool seen = false;
    for (int frame = 1; frame <= maxFrames; ++frame) {
        FrameActions actions;
        if (!player.BeginFrame(frame, controls, actions, played.error)) {
            break;
        }
        played.controls.push_back(controls);
        if (player.AwaitText() != watching) {
            watching = player.AwaitText();
            seen = false;
        }
        seen |= watching != nullptr && std::find(seenAt.begin(), seenAt.end(), frame) != seenAt.end();
        const bool ok = player.EndFrame(frame, seen, actions, played.error);
        played.actions.push_back(actions);
        played.frames = frame;
        if (!ok || player.Finished()) {
            break;
        }
    }
    return played;
}

TEST(ScenarioPlayer, EventsApplyAtTheStartOfTheirFrameAndLastUntilChanged) {
    const Played p = Play("2 key q down\n+0 key r down\n+2 button down\n+1 key q up\n8 mount on\n");
    ASSERT_EQ(p.frames, 8);  // the run ends after the frame of the last event
    EXPECT_FALSE(p.controls[0].keyQ);
    EXPECT_TRUE(p.controls[1].keyQ && p.controls[1].keyR);
    EXPECT_FALSE(p.controls[2].leftButton);
    EXPECT_TRUE(p.controls[3].leftButton);
    EXPECT_FALSE(p.controls[4].keyQ);
    EXPECT_TRUE(p.controls[4].keyR && p.controls[4].leftButton);
    EXPECT_FALSE(p.controls[6].onMount);
    EXPECT_TRUE(p.controls[7].onMount);
    EXPECT_EQ(p.actions[1].notes, (std::vector<std::string>{"input key q down", "input key r down"}));
    EXPECT_TRUE(p.actions[2].notes.empty());
}

TEST(ScenarioPlayer, ConversationAndPauseMenuEvents) {
    const Played p = Play("2 conversation on\n+0 pause-menu on\n+1 conversation off\n+1 pause-menu off\n");
    ASSERT_EQ(p.frames, 4);
    EXPECT_FALSE(p.controls[0].conversationPlaying || p.controls[0].pauseMenuOpen);
    EXPECT_TRUE(p.controls[1].conversationPlaying && p.controls[1].pauseMenuOpen);
    EXPECT_TRUE(!p.controls[2].conversationPlaying && p.controls[2].pauseMenuOpen);
    EXPECT_FALSE(p.controls[3].conversationPlaying || p.controls[3].pauseMenuOpen);
    EXPECT_EQ(ErrorOf("1 conversation maybe\n"), "line 1: expected \"conversation on|off\"");
}

TEST(ScenarioPlayer, PadEvents) {
    const Played p = Play("2 pad on\n+0 pad-button wheel down\n+0 stick left\n+1 pad-button a down\n+0 pad-button b down\n"
                          "+0 pad-button lb down\n+0 pad-button rb down\n+0 stick up\n+1 pad-button wheel up\n"
                          "+0 stick centre\n+0 pad off\n");
    ASSERT_EQ(p.frames, 4);
    EXPECT_FALSE(p.controls[0].pad.inUse || p.controls[0].pad.wheelButton);
    const fakehost::PadInput& held = p.controls[1].pad;
    EXPECT_TRUE(held.inUse && held.wheelButton && !held.accept);
    EXPECT_EQ(held.stickX, -1.0f);
    EXPECT_EQ(held.stickY, 0.0f);
    const fakehost::PadInput& all = p.controls[2].pad;
    EXPECT_TRUE(all.accept && all.cancel && all.leftBumper && all.rightBumper);
    EXPECT_EQ(all.stickX, 0.0f);
    EXPECT_EQ(all.stickY, -1.0f);
    const fakehost::PadInput& after = p.controls[3].pad;
    EXPECT_TRUE(!after.inUse && !after.wheelButton && after.accept && after.stickY == 0.0f);
    for (const char* bad : {"1 pad yes\n", "1 pad-button x down\n", "1 pad-button a\n", "1 stick north\n"}) {
        const std::string error = ErrorOf(bad);
        EXPECT_EQ(error.compare(0, 17, "line 1: expected "), 0) << error;
    }
}

TEST(ScenarioPlayer, CursorBySlotLandsInsideThatSlotsRectangleForTheCurrentWindow) {
    const Played p = Play("1 window 1280 720\n2 cursor slot station1\n3 window 800 600\n4 cursor slot off\n");
    ASSERT_EQ(p.frames, 4);
    auto inside = [](const Controls& c, int slot) {
        const trallio::HitRect& r = trallio::wheelHitRects[slot];
        const float w = static_cast<float>(c.clientWidth);
        const float h = static_cast<float>(c.clientHeight);
        const float x = static_cast<float>(c.cursorX);
        const float y = static_cast<float>(c.cursorY);
        return x >= r.x * w && x <= r.x * w + r.width * w && y >= r.y * h && y <= r.y * h + r.height * h;
    };
    EXPECT_TRUE(inside(p.controls[1], trallio::Station1));
    EXPECT_EQ(p.controls[1].cursorX, 652);  // (0.36 + 0.15) * 1280
    EXPECT_TRUE(inside(p.controls[3], trallio::Off));
    EXPECT_EQ(p.controls[3].clientWidth, 800);
    EXPECT_FALSE(inside(p.controls[3], trallio::Station1));
}

TEST(ScenarioPlayer, FinishScreenshotAndEndAreHandedToTheDriver) {
    const Played p = Play("2 finish\n3 screenshot a.bmp\n3 screenshot b.bmp\n5 end\n", {}, 50);
    ASSERT_EQ(p.frames, 5);  // "end" names the last frame run
    EXPECT_TRUE(p.actions[1].finishTracks);
    EXPECT_FALSE(p.actions[2].finishTracks);
    EXPECT_EQ(p.actions[2].screenshots, (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_TRUE(p.actions[3].screenshots.empty());
}

TEST(ScenarioPlayer, AnAwaitHoldsLaterEventsUntilTheTextAppears) {
    // Awaiting from frame 3; the text appears in frame 9; "+0" then means frame 10.
    const Played p = Play("3 await 20 media play\n+0 mount on\n+2 key q down\n", {9});
    ASSERT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.frames, 12);
    EXPECT_FALSE(p.controls[8].onMount);
    EXPECT_TRUE(p.controls[9].onMount);
    EXPECT_FALSE(p.controls[10].keyQ);
    EXPECT_TRUE(p.controls[11].keyQ);
}

TEST(ScenarioPlayer, AnAwaitAlsoCountsWhatHappenedFromThePreviousEventsFrameOn) {
    // The text appears at frame 6, between the click at 5 and the await at 8: the await is met at
    // once, in its own frame.
    const Played p = Play("5 button down\n8 await 10 media play\n+0 mount on\n", {6});
    ASSERT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.frames, 9);
    EXPECT_FALSE(p.controls[7].onMount);
    EXPECT_TRUE(p.controls[8].onMount);
    // Before the frame of the event ahead of it, nothing counts.
    const Played early = Play("5 button down\n8 await 3 media play\n", {4});
    EXPECT_EQ(early.error, "line 2: no trace line contained \"media play\" within 3 frames");
}

TEST(ScenarioPlayer, AnAwaitThatRunsOutFailsWithItsLine) {
    const Played p = Play("1 mount on\n3 await 4 media play\n+1 end\n", {});
    EXPECT_EQ(p.error, "line 2: no trace line contained \"media play\" within 4 frames");
    EXPECT_EQ(p.frames, 6);  // frames 3, 4, 5 and 6 looked
}

TEST(ScenarioPlayer, AnAbsoluteFrameThatAnAwaitHasOvertakenFails) {
    const Played p = Play("2 await 50 x\n6 mount on\n", {10});
    EXPECT_EQ(p.error, "line 2: frame 6 has already run (the await before it ended at frame 10)");
}

TEST(ScenarioPlayer, AnEmptyScenarioRunsOneFrame) {
    EXPECT_EQ(Play("# nothing\n").frames, 1);
}

}  // namespace
