// A long random run of the whole radio on its script thread: a player who mounts and dismounts,
// opens and closes the wheel, moves the cursor and clicks at random, tracks that end at random, a
// desktop whose window and cursor now and then fail, and station folders that change under the
// radio. After every frame the radio's invariants must hold.
//
// TRALLIO_SOAK_FRAMES sets the number of frames (20,000 by default; the long run uses 1,000,000),
// TRALLIO_SOAK_SEED the random seed (a fresh one by default), TRALLIO_SOAK_MEDIA_THREAD=1 runs it
// with media_thread on. The seed is printed first, so a failure can be run again exactly.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "audio/media_thread.h"
#include "game_names.h"
#include "host/script.h"
#include "playback/radio_state.h"
#include "radio_invariants.h"
#include "support.h"
#include "wheel/layout.h"
#include "wheel_points.h"

namespace {

using namespace testing_support;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == 0) {
        return fallback;
    }
    return std::strtoull(text, nullptr, 0);
}

// Resident and peak resident memory of this process, in kB, from /proc/self/status.
void ReadMemory(long& residentKb, long& peakKb) {
    residentKb = peakKb = -1;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> residentKb;
        } else if (key == "VmHWM:") {
            status >> peakKb;
        }
    }
}

// What the run saw, counted from the stand-ins' events as they happen (nothing is kept).
struct Counts {
    long ticks = 0;       // frames in which the frame driver ran
    long wheelFrames = 0;
    long flagSets = 0;    // open-world music flag calls
    long waits = 0;
    long opens = 0;
    long closes = 0;
    long pauses = 0;
    long resumes = 0;
    long messages = 0;
    long clicks = 0;      // click sounds: wheel clicks and volume steps
};

// What each counted event adds to: natives by their hash, media commands by their first words.
const struct {
    uint64_t hash;
    long Counts::*count;
} kNativeCounts[] = {{fakegame::kPlayerPedId, &Counts::ticks},       {fakegame::kWheelFrameCall, &Counts::wheelFrames},
                     {fakegame::kSetAudioFlag, &Counts::flagSets},   {fakegame::kMessageLogShow, &Counts::messages},
                     {fakegame::kPlaySoundFrontend, &Counts::clicks}};
const struct {
    std::string start;
    long Counts::*count;
} kMediaCounts[] = {{"media open", &Counts::opens},   {"media close", &Counts::closes},
                    {"media pause", &Counts::pauses}, {"media resume", &Counts::resumes}};

// Counts one event of the run.
void CountEvent(Counts& counts, const fakehost::Event& e) {
    counts.waits += e.kind == fakehost::EventKind::Wait ? 1 : 0;
    for (const auto& native : kNativeCounts) {
        counts.*native.count += e.kind == fakehost::EventKind::Native && e.hash == native.hash ? 1 : 0;
    }
    for (const auto& media : kMediaCounts) {
        const bool match = e.kind == fakehost::EventKind::Media && e.line.compare(0, media.start.size(), media.start) == 0;
        counts.*media.count += match ? 1 : 0;
    }
}

class Soak : public testing_support::RadioTest {
protected:
    void SetUp() override {
        RadioTest::SetUp();
        frames = EnvNumber("TRALLIO_SOAK_FRAMES", 20000);
        seed = EnvNumber("TRALLIO_SOAK_SEED", std::random_device{}() | (uint64_t{std::random_device{}()} << 32));
        std::cout << "soak: TRALLIO_SOAK_SEED=" << seed << " TRALLIO_SOAK_FRAMES=" << frames << std::endl;
        rng.seed(seed);
    }
    void TearDown() override {
        fakehost::SetEventSink(nullptr);
        fakehost::StopScript();
        trallio::SettleMediaThread();
        RadioTest::TearDown();
    }

    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); }

    // Three stations over real folders: tracks among other files, a sub-folder named like a track,
    // a 255-byte name, non-ASCII and blank-filled names; one station's folder is drawn at random
    // (the same folder as station 1, a missing one, or an empty text).
    void MakeStations() {
        const char* const third[] = {"Trallio\\Radio 1", "Trallio\\Gone", ""};
        thirdStation = Pick(3);
        const bool mediaPlayerMode = Chance(0.3);
        const bool mediaThread = EnvNumber("TRALLIO_SOAK_MEDIA_THREAD", 0) != 0;
        MakeFile("Trallio/Trallio.ini", std::string("[RADIOS]\nradio 1=Trallio\\Radio 1\nradio 2=Trallio\\Radio 2\n") +
                                            "radio 3=" + third[thirdStation] + "\n[config]\nmedia_player_mode=" +
                                            (mediaPlayerMode ? "True" : "False") +
                                            (mediaThread ? "\nmedia_thread=True\n" : "\n"));
        std::cout << "soak: station 3 folder \"" << third[thirdStation] << "\", media_player_mode "
                  << mediaPlayerMode << ", media_thread " << mediaThread << std::endl;
        for (const char* name : {"one.mp3", "two.ogg", "three.flac", "four.wav", "five.aac", "my song (live).mp3",
                                 "caf\xC3\xA9 \xE2\x99\xAA.ogg", "cover.jpg", "Song.MP3", "notes.txt"}) {
            MakeFile(std::string("Trallio/Radio 1/") + name);
        }
        MakeFile("Trallio/Radio 1/" + std::string(251, 'n') + ".mp3");
        MakeFolder("Trallio/Radio 1/live.wav");
        for (int i = 0; i < 30; ++i) {
            MakeFile("Trallio/Radio 1/junk" + std::to_string(i) + ".txt");
        }
        MakeFile("Trallio/Radio 2/a.mp3");
        MakeFile("Trallio/Radio 2/b.ogg");
        for (int i = 0; i < 200; ++i) {
            MakeFile("Trallio/Radio 2/other" + std::to_string(i) + ".dat");
        }
    }

    // The cursor on the middle of a slot, or now and then on its edge, the bare background, or
    // nowhere near the wheel.
    void AimCursor() {
        static const int kSlots[] = {trallio::Off,      trallio::Station1, trallio::Station2, trallio::Station3,
                                     trallio::Station1, trallio::Station2, trallio::Station3, trallio::VolumeDown,
                                     trallio::VolumeUp, trallio::Skip,     trallio::Skip,     trallio::Background};
        const int slot = kSlots[Pick(12)];
        const trallio::HitRect& r = trallio::wheelHitRects[slot];
        float fx = fakehost::SlotCentre(slot).x;
        float fy = fakehost::SlotCentre(slot).y;
        if (Chance(0.1)) {
            fx = r.x;  // the top-left corner, which still counts as inside
            fy = r.y;
        } else if (Chance(0.05)) {
            fx = std::uniform_real_distribution<float>(-0.2f, 1.2f)(rng);
            fy = std::uniform_real_distribution<float>(-0.2f, 1.2f)(rng);
        }
        PointAt(fx, fy);
    }
    void AimAt(int slot) { PointAt(fakehost::SlotCentre(slot).x, fakehost::SlotCentre(slot).y); }
    // The cursor on a point of the client area given in fractions of its size.
    void PointAt(float fx, float fy) { fakehost::PointCursorAt(fx, fy); }

    // One frame's worth of change in the world. Most of it persists over frames (a ride, a held
    // wheel, a held button), so that the radio sees whole episodes, not noise.
    void ChangeWorld() {
        fakehost::World& w = fakehost::GetWorld();
        if (Chance(0.004)) {
            const int ride = Pick(6);  // mostly mounted, now and then on foot
            w.inVehicle = ride == 1;
            w.inBoat = ride == 2;
            w.inTrain = ride == 3;
            w.onMount = ride == 0 || ride == 4;
        }
        if (longHold > 0) {
            // Holding an arrow long enough to sweep the volume to its end: keys and button stay
            // down, and the hand brings the cursor back onto the arrow (the wheel centres it on
            // the frame it opens).
            AimAt(holdSlot);
            w.leftButton = --longHold > 0;
        } else if (Chance(0.0005)) {
            holdSlot = Chance(0.5) ? trallio::VolumeUp : trallio::VolumeDown;
            AimAt(holdSlot);
            w.keyQ = w.keyR = true;
            w.leftButton = true;
            longHold = 600;
        } else {
            if (Chance(0.03)) {
                w.keyQ = !w.keyQ;
            }
            if (Chance(0.03)) {
                w.keyR = !w.keyR;
            }
            // With the wheel up the player aims and clicks; without it the hand wanders less.
            const bool wheelKeys = w.keyQ && w.keyR;
            if (Chance(wheelKeys ? 0.2 : 0.02)) {
                AimCursor();
            }
            if (Chance(wheelKeys ? 0.25 : 0.05)) {
                w.leftButton = !w.leftButton;
            }
        }
        if (Chance(0.02)) {
            fakehost::FinishAllTracks();
        }
        // The desktop, now and then for a few frames: a window that goes away, a cursor that
        // can't be read or converted, a minimised window.
        const auto flicker = [this](bool& works) { works = works ? !Chance(0.002) : Chance(0.05); };
        flicker(w.windowExists);
        flicker(w.cursorReadable);
        flicker(w.screenToClientWorks);
        bool shown = w.clientWidth != 0;
        flicker(shown);
        w.clientWidth = shown ? 1920 : 0;
        w.clientHeight = shown ? 1080 : 0;
        // The folders: tracks added and removed, station 2's folder taken away and put back.
        if (Chance(0.002)) {
            const std::string path = "Trallio/Radio 2/new" + std::to_string(Pick(4)) + ".mp3";
            if (unlink(path.c_str()) != 0) {  // not there: made
                MakeFile(path);
            }
        }
        if (Chance(0.0005)) {
            struct stat info;
            if (stat("Trallio/Radio 2", &info) == 0) {
                rename("Trallio/Radio 2", "Trallio/Radio 2 away");
            } else {
                rename("Trallio/Radio 2 away", "Trallio/Radio 2");
            }
        }
    }

    uint64_t frames = 0;
    uint64_t seed = 0;
    std::mt19937_64 rng;
    int thirdStation = 0;
    int longHold = 0;
    int holdSlot = trallio::VolumeUp;
};

TEST_F(Soak, RandomPlayerDesktopAndFoldersKeepTheRadioSound) {
    MakeStations();
    fakehost::World& w = fakehost::GetWorld();
    w.onMount = true;
    w.dictionariesLoadAtOnce = true;
    fakehost::SetRecording(false);
    Counts counts;
    fakehost::SetEventSink([&counts](const fakehost::Event& e) { CountEvent(counts, e); });
    fakehost::StartScript(&trallio::ScriptEntry);

    long residentStart = 0, peakStart = 0;
    long residentWarm = -1, peakWarm = -1;
    ReadMemory(residentStart, peakStart);
    const auto started = std::chrono::steady_clock::now();
    int volumeLow = radio.volume;
    int volumeHigh = radio.volume;
    long walkFrames = 0;
    bool radioOnBefore = false;
    for (uint64_t frame = 1; frame <= frames; ++frame) {
        if (frame > 1) {
            ChangeWorld();
        }
        const Counts before = counts;
        ASSERT_TRUE(fakehost::RunFrame()) << "frame " << frame;
        const std::string where = "frame " + std::to_string(frame) + " (TRALLIO_SOAK_SEED=" + std::to_string(seed) +
                                  " TRALLIO_SOAK_FRAMES=" + std::to_string(frames) + ")";
        const std::string broken = soak::CheckRadioInvariants();
        ASSERT_EQ(broken, "") << where;
        // A frame either runs the frame driver once, and with it exactly one playback pass that sets
        // the music flag, or is spent inside a folder walk: no frame driver, no flag, radio on and
        // left as it was.
        const long ticked = counts.ticks - before.ticks;
        ASSERT_LE(ticked, 1) << where;
        ASSERT_EQ(counts.flagSets - before.flagSets, ticked) << where;
        if (ticked == 0 && frame > 1) {
            ++walkFrames;
            ASSERT_TRUE(radio.radioOn) << where << ": a walk frame with the radio off";
            ASSERT_EQ(radioOnBefore, radio.radioOn) << where;
        }
        radioOnBefore = radio.radioOn;
        volumeLow = std::min(volumeLow, static_cast<int>(radio.volume));
        volumeHigh = std::max(volumeHigh, static_cast<int>(radio.volume));
        if (frame == frames / 10) {
            ReadMemory(residentWarm, peakWarm);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    long residentEnd = 0, peakEnd = 0;
    ReadMemory(residentEnd, peakEnd);

    std::printf(
        "soak: %llu frames in %.1f s (%.1f us/frame); frame driver %ld, walk frames %ld, wheel frames %ld, "
        "waits %ld, click sounds %ld\n"
        "soak: opens %ld, closes %ld, pauses %ld, resumes %ld, missing-folder messages %ld, volume %d..%d\n"
        "soak: resident kB at start %ld, after 10%% %ld, at end %ld; peak kB at start %ld, at end %ld\n",
        static_cast<unsigned long long>(frames), seconds, seconds * 1e6 / static_cast<double>(frames), counts.ticks,
        walkFrames, counts.wheelFrames, counts.waits, counts.clicks, counts.opens, counts.closes, counts.pauses, counts.resumes,
        counts.messages, volumeLow, volumeHigh, residentStart, residentWarm, residentEnd, peakStart, peakEnd);
    std::fflush(stdout);

    // The run must have exercised the radio, not just idled: tracks were opened, walks spanned
    // frames, the wheel was used.
    EXPECT_GT(counts.opens, 0);
    EXPECT_GT(counts.wheelFrames, 0);
    EXPECT_GT(walkFrames, 0);
#if !defined(__SANITIZE_ADDRESS__)
    // Nothing is kept per frame: past the warm-up the resident memory stays where it was. (Under
    // AddressSanitizer the quarantine of freed blocks grows by design, so this is not checked there.)
    if (residentWarm > 0 && frames >= 10000) {
        EXPECT_LE(residentEnd, residentWarm + 2048) << "kB resident after 10% of the frames vs at the end";
    }
#endif
}

}  // namespace
