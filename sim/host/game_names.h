// What the stand-in games know of the game's names, written once for the desktop simulator's
// stand-in, the tests and the wine rig's hook: the hash the game gives a name (GET_HASH_KEY), and
// the hashes of the natives the radio calls. These are the game's values written out again, apart
// from the radio's own list (src/game/natives.h), so that a wrong hash there still fails a test.
// Plain C++, no platform header: the Windows rig includes it too.
#pragma once

#include <cstdint>

namespace fakegame {

// The game's hash of a name: one-at-a-time over the bytes, A to Z taken as lower case.
inline uint32_t NameHash(const char* text) {
    uint32_t hash = 0;
    for (; text != nullptr && *text != 0; ++text) {
        unsigned char c = static_cast<unsigned char>(*text);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c - 'A' + 'a');
        }
        hash += c;
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

constexpr uint64_t kPlayerPedId = 0x096275889B8E0EE0;
constexpr uint64_t kIsPedInAnyVehicle = 0x997ABD671D25CA0B;
constexpr uint64_t kIsPedInAnyBoat = 0x2E0E1C2B4F6CB339;
constexpr uint64_t kIsPedInAnyTrain = 0x6F972C1AB75A1ED0;
constexpr uint64_t kIsPedOnMount = 0x460BC76A0E10655E;
constexpr uint64_t kIsAnyConversationPlaying = 0xA2CAC9DEF0195E6F;
constexpr uint64_t kIsAnySpeechPlaying = 0x729072355FA39EC9;
constexpr uint64_t kIsPauseMenuActive = 0x535384D6067BA42E;
constexpr uint64_t kSetTimeScale = 0x9682AF6050854856;
constexpr uint64_t kAnimPostFxPlay = 0x4102732DF6B4005F;
constexpr uint64_t kAnimPostFxStop = 0xB4FD7446BAB2F394;
constexpr uint64_t kWheelFrameCall = 0xF12E4CCAF249DC10;
constexpr uint64_t kGetHashKey = 0xFD340785ADF8CFB7;
constexpr uint64_t kDisableControlAction = 0xFE99B66D079CF6BC;
constexpr uint64_t kIsUsingKeyboardAndMouse = 0xA571D46727E2B718;
constexpr uint64_t kIsDisabledControlPressed = 0xE2587F8CBBD87B1D;
constexpr uint64_t kIsDisabledControlJustPressed = 0x91AEF906BCA88877;
constexpr uint64_t kGetDisabledControlNormal = 0x11E65974A982637C;
constexpr uint64_t kSetAudioFlag = 0xB9EFD5C25018725A;
constexpr uint64_t kCreateVarString = 0xFA925AC00EB830B9;
constexpr uint64_t kMessageLogAddText = 0xFA233F8FE190514C;
constexpr uint64_t kMessageLogShow = 0xE9990552DEC71600;
constexpr uint64_t kMessageLogClear = 0xDFF0D417277B41F8;
constexpr uint64_t kSetCursorStyle = 0x7F5858AAB5A58CCE;
constexpr uint64_t kStopSoundFrontend = 0x0F2A2175734926D8;
constexpr uint64_t kPlaySoundFrontend = 0x67C540AA08E4A6F5;
constexpr uint64_t kSetTextColor = 0x16FA5CE47F184F1E;
constexpr uint64_t kSetTextScale = 0xA1253A3C870B6843;
constexpr uint64_t kSetTextCentre = 0xBE5261939FBECB8C;
constexpr uint64_t kDisplayText = 0x16794E044C9EFB58;
constexpr uint64_t kHasTextureDictLoaded = 0x54D6900929CCF162;
constexpr uint64_t kRequestTextureDict = 0xC1BA29DF5631B0F8;
constexpr uint64_t kDrawSprite = 0xC9884ECADE94CB34;
constexpr uint64_t kReleaseTextureDict = 0x4ACA10A91F66F1E2;

}  // namespace fakegame
