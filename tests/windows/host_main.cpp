// The wine test host: plays the game around the real Trallio.asi. It loads the fake script hook
// and the plug-in from a game folder of its own, runs the plug-in's script one frame at a time,
// plays the player (mount, keys, mouse) and checks what the game and the media-control service
// are told.
//
//   trallio_wine_host load       loading, frames, unloading; the settings file in the game folder
//   trallio_wine_host wheel      the wheel end to end, media commands seen by the recording winmm
//   trallio_wine_host sound-mix  duck_dialogue and pause_in_menus on, then both off
//   trallio_wine_host real-mci   the same with the system's winmm playing a real file
//   trallio_wine_host refused    files the recording winmm refuses to open are passed over
//   trallio_wine_host refused-real-mci  a station of files the system's winmm refuses and plays
//   trallio_wine_host unicode    a station and tracks named in several scripts, unicode_names on and off
//   trallio_wine_host remember   two loads of the plug-in in one game folder keep the volume and
//                                station, and the radio switched off
//   trallio_wine_host pad        controller = True: the wheel on a game pad; off, no pad native
//   trallio_wine_host titles     titles = tags: each tagged file's line on the wheel, unicode_names
//                                off and on (the files come from trallio-tagged-files)
//   trallio_wine_host loudness   loudness = track and album: each gain-tagged file's volume digits
//                                (the files come from trallio-tagged-files)
//   trallio_wine_host planted-hang  three frames' steps, then a wait that never ends: the watchdog
//                                stops the program and names the step (run with a short bound)
//
// Each scenario runs under a watchdog: one still running after 60 seconds prints "hang: ..." with
// its last step and ends with status 3, well before the test's own time limit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "check.h"
#include "game_names.h"
#include "media_commands.h"
#include "host_scenarios.h"
#include "rig.h"
#include "session.h"

using namespace wine_scenarios;

namespace {

using namespace wine_session;
// ---------------------------------------------------------------------------------------------
// load: the plug-in under the hook

void RegistersRunsAndUnregisters() {
    check::Section("load: registers with its module, runs frames, unregisters with its module");
    Session session(L"load");
    rig::MediaWatch watch;
    if (!CHECK(session.Load())) {
        return;
    }
    CHECK(watch.AttachRecorder());

    FakeHookStatus status = session.hook.Status();
    CHECK_EQ(status.registerCount, 1);
    CHECK_EQ(status.unregisterCount, 0);
    CHECK(status.registeredModule == session.plugin);
    CHECK(status.script != nullptr);
    HMODULE scriptOwner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(status.script)), &scriptOwner);
    CHECK(scriptOwner == session.plugin);
    // The plug-in's import bound to the hook the host loaded, not to another copy.
    CHECK(GetModuleHandleW(L"ScriptHookRDR2.dll") == session.hook.module());

    session.hook.SetPlayer(false, false, false, false);
    for (uint32_t frame = 1; frame <= 3; ++frame) {
        const FrameRecord record = RunFrame(session, &watch);
        CHECK(!record.natives.empty() && record.natives.front().hash == fakegame::kPlayerPedId);
        CHECK_EQ(rig::CallsOf(record.natives, fakegame::kPlayerPedId).size(), size_t{1});
        bool stamped = true;
        for (const FakeNativeCall& call : record.natives) {
            stamped = stamped && call.frame == frame;
        }
        CHECK(stamped);
        // On foot with no station chosen: the music flag is given back to the game and nothing
        // reaches the media service.
        CHECK_EQ(CountTextCalls(record, fakegame::kSetAudioFlag, "OpenWorldMusicDisabled"), size_t{1});
        CHECK(!HasTimeScale(record, kWheelTimeScaleBits));
        CHECK(record.media.empty());
    }
    status = session.hook.Status();
    CHECK_EQ(status.frames, 3u);
    CHECK_EQ(status.waits, 3u);
    CHECK_EQ(status.lastWait, 0u);
    CHECK_EQ(status.strayCalls, 0u);
    CHECK(!status.scriptReturned);

    HMODULE plugin = session.plugin;
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    status = session.hook.Status();
    CHECK_EQ(status.unregisterCount, 1);
    CHECK(status.unregisteredModule == plugin);
    CHECK_EQ(status.registerCount, 1);
    CHECK(GetModuleHandleW(L"Trallio.asi") == nullptr);
}

void UnloadsWithoutHavingRun() {
    check::Section("load: unloading before the script ever ran still unregisters");
    Session session(L"unload");
    if (!CHECK(session.Load())) {
        return;
    }
    HMODULE plugin = session.plugin;
    CHECK_EQ(session.hook.Status().registerCount, 1);
    CHECK(FreeLibrary(session.plugin));
    session.plugin = nullptr;
    const FakeHookStatus status = session.hook.Status();
    CHECK_EQ(status.frames, 0u);
    CHECK_EQ(status.unregisterCount, 1);
    CHECK(status.unregisteredModule == plugin);
}

// With Q and R held for one frame: whether the wheel opened (time scale 0.1).
bool WheelOpensWith(const std::string* settings, bool mounted) {
    Session session(L"settings");
    if (settings != nullptr) {
        CHECK(session.folder.Write(L"Trallio\\Trallio.ini", *settings));
    }
    if (!CHECK(session.Load())) {
        return false;
    }
    session.hook.SetPlayer(false, false, false, mounted);
    RunFrame(session, nullptr);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    const FrameRecord frame = RunFrame(session, nullptr);
    rig::ReleaseAll();
    return HasTimeScale(frame, kWheelTimeScaleBits);
}

void SettingsComeFromTheGameFolder() {
    check::Section("load: media_player_mode from .\\Trallio\\Trallio.ini lets the wheel open on foot");
    const std::string on = "[config]\r\nmedia_player_mode = true\r\n";
    const std::string off = "[RADIOS]\r\nradio 1 = Music\r\n[config]\r\nmedia_player_mode=False\r\n";
    const std::string offNoNewline = "[config]\r\nmedia_player_mode=TRUE";
    CHECK(WheelOpensWith(&on, false));
    CHECK(!WheelOpensWith(&off, false));
    CHECK(!WheelOpensWith(&offNoNewline, false));
    CHECK(!WheelOpensWith(nullptr, false));
    // The same keys do open it on a mount, so the refusals above are the settings' doing.
    CHECK(WheelOpensWith(&off, true));
}

// ---------------------------------------------------------------------------------------------
// planted-hang: the watchdog's own check, with the steps a scenario's frames record

void PlantedHang() {
    check::Section("planted-hang: three frames, then a wait that never ends");
    for (int i = 0; i < 3; ++i) {
        check::Frame();
        check::Step("between frames");
    }
    check::Step("the planted wait");
    Sleep(INFINITE);
}

}  // namespace

// The scenarios by the name the command line gives.
const struct {
    const char* name;
    void (*run)();
} kScenarios[] = {
    {"load", [] { RegistersRunsAndUnregisters(); UnloadsWithoutHavingRun(); SettingsComeFromTheGameFolder(); }},
    {"wheel", [] { WheelEndToEnd(false); }},
    {"sound-mix", SoundMix},
    {"real-mci", [] { WheelEndToEnd(true); WheelEndToEnd(true, true); }},
    {"refused", RefusedFiles},
    {"refused-real-mci", RefusedFilesRealMci},
    {"unicode",
     [] {
         UnicodeStation(L"unicode-utf8", true, "");
         UnicodeStation(L"unicode-utf8-mark", true, "\xEF\xBB\xBF");
         UnicodeStation(L"unicode-utf16", true, "UTF-16");
         UnicodeStation(L"unicode-off", false, "");
     }},
    {"remember", RememberAcrossLoads},
    {"pad", PadWheel},
    {"media-thread",
     [] {
         MediaThreadOnRecorder();
         MediaThreadLoads(50);
         MediaThreadUnloadDuringOpen();
     }},
    {"titles", [] { TitlesFromTags(false); TitlesFromTags(true); }},
    {"loudness", [] { LoudnessFromTags(false); LoudnessFromTags(true); }},
    {"planted-hang", PlantedHang},
};

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    rig::StartWatchdog("trallio_wine_host " + scenario, 60);
    rig::ReleaseAll();
    const auto* found = std::find_if(std::begin(kScenarios), std::end(kScenarios),
                                     [&](const auto& entry) { return scenario == entry.name; });
    if (found == std::end(kScenarios)) {
        std::printf("usage: trallio_wine_host");
        for (const auto& entry : kScenarios) {
            std::printf("%s%s", &entry == kScenarios ? " " : "|", entry.name);
        }
        std::printf("\n");
        return 2;
    }
    found->run();
    rig::ReleaseAll();
    return check::Summary(("trallio_wine_host " + scenario).c_str());
}
