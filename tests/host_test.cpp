// The boundary to the script hook: native argument slots, module entry and the main loop.
#include <cstring>

#include "game/native_call.h"
#include "host/script.h"
#include "playback/radio_state.h"
#include "support.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace {

using namespace testing_support;

class Host : public testing_support::RadioTest {};

TEST_F(Host, ArgumentSlotsCarryTheExactBits) {
    static const char kText[] = "WheelHUDIn";
    const uint64_t result = trallio::CallNative64(0x1111222233334444ull, 0.1f, 1.0f, 0.51f, 10, true, false,
                                                  uint32_t{0xFFFFFFFFu}, kText, trallio::GameValue{0xDEADBEEF12345678ull});
    EXPECT_EQ(result, 0u);
    const auto events = NativeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].hash, 0x1111222233334444ull);
    const std::vector<uint64_t> expected = {
        0x3DCCCCCDull, 0x3F800000ull, 0x3F028F5Cull, 10, 1, 0, 0xFFFFFFFFull,
        static_cast<uint64_t>(reinterpret_cast<uintptr_t>(kText)), 0xDEADBEEF12345678ull,
    };
    EXPECT_EQ(events[0].args, expected);
}

TEST_F(Host, ResultsAreReadWholeOrAsTheirLowHalf) {
    // The text value the game makes is handed on with all 64 bits; a handle is its low 32 bits.
    const uint64_t text = trallio::CallNative64(0xFA925AC00EB830B9, 10, "LITERAL_STRING", "hello");
    EXPECT_NE(text >> 32, 0u);
    fakehost::GetWorld().playerHandle = 0x1234ABCD;
    EXPECT_EQ(trallio::CallNative32(0x096275889B8E0EE0), 0x1234ABCDu);
}

TEST_F(Host, LoadingRegistersAndUnloadingUnregistersWithTheModuleHandle) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7FF600000000ull));
    EXPECT_EQ(DllMain(module, DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(fakehost::RegisterCount(), 1);
    EXPECT_EQ(fakehost::RegisteredModule(), module);
    EXPECT_EQ(fakehost::RegisteredScript(), &trallio::ScriptEntry);
    EXPECT_EQ(DllMain(module, DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(DllMain(module, DLL_THREAD_DETACH, nullptr), TRUE);
    EXPECT_EQ(fakehost::RegisterCount(), 1);
    EXPECT_EQ(fakehost::UnregisterCount(), 0);
    // Unloading without the script ever having run still unregisters.
    EXPECT_EQ(DllMain(module, DLL_PROCESS_DETACH, nullptr), TRUE);
    EXPECT_EQ(fakehost::UnregisterCount(), 1);
    EXPECT_EQ(fakehost::UnregisteredModule(), module);
    EXPECT_EQ(fakehost::Lines().size(), 2u) << "the loader's calls do nothing but register and unregister";
}

TEST_F(Host, TheScriptReadsSettingsOnceThenAlternatesFrameAndWait) {
    MakeFile("Trallio/Trallio.ini", "[RADIOS]\nradio 1=Mine\n");
    HINSTANCE module = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000));
    DllMain(module, DLL_PROCESS_ATTACH, nullptr);
    fakehost::StartScript();
    for (int frame = 0; frame < 5; ++frame) {
        ASSERT_TRUE(fakehost::RunFrame());
    }
    EXPECT_STREQ(trallio::radio.stationFolders[0], "Mine");
    // A later change to the file is not read.
    MakeFile("Trallio/Trallio.ini", "[RADIOS]\nradio 1=Changed\n");
    ASSERT_TRUE(fakehost::RunFrame());
    EXPECT_STREQ(trallio::radio.stationFolders[0], "Mine");

    // Each frame: the player's state is asked, the playback pass runs, then one wait of 0 ms.
    int waits = 0;
    int playerQueries = 0;
    std::string previous;
    for (const std::string& line : fakehost::Lines()) {
        if (line == "wait 0") {
            ++waits;
            EXPECT_NE(previous, "wait 0") << "a frame step stands between two waits";
        }
        if (line.find("PLAYER_PED_ID") != std::string::npos) {
            ++playerQueries;
            EXPECT_EQ(playerQueries, waits + 1) << "one frame step per wait";
        }
        previous = line;
    }
    EXPECT_EQ(waits, 6);
    EXPECT_EQ(playerQueries, 6);
    fakehost::StopScript();
}

}  // namespace
