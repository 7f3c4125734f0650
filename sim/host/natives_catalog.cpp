#include "natives_catalog.h"

#include <cstdio>
#include <cstring>

#include "game_names.h"

namespace fakehost {

namespace {

const NativeInfo kNatives[] = {
    {fakegame::kPlayerPedId, "PLAYER_PED_ID", ""},
    {fakegame::kIsPedInAnyVehicle, "IS_PED_IN_ANY_VEHICLE", "hi"},
    {fakegame::kIsPedInAnyBoat, "IS_PED_IN_ANY_BOAT", "h"},
    {fakegame::kIsPedInAnyTrain, "IS_PED_IN_ANY_TRAIN", "h"},
    {fakegame::kIsPedOnMount, "IS_PED_ON_MOUNT", "h"},
    {fakegame::kIsAnyConversationPlaying, "IS_ANY_CONVERSATION_PLAYING", "i"},
    {fakegame::kIsAnySpeechPlaying, "IS_ANY_SPEECH_PLAYING", "h"},
    {fakegame::kIsPauseMenuActive, "IS_PAUSE_MENU_ACTIVE", ""},
    {fakegame::kSetTimeScale, "SET_TIME_SCALE", "f"},
    {fakegame::kAnimPostFxPlay, "ANIMPOSTFX_PLAY", "s"},
    {fakegame::kAnimPostFxStop, "ANIMPOSTFX_STOP", "s"},
    {fakegame::kWheelFrameCall, "WHEEL_FRAME", ""},
    {fakegame::kGetHashKey, "GET_HASH_KEY", "s"},
    {fakegame::kDisableControlAction, "DISABLE_CONTROL_ACTION", "ihi"},
    {fakegame::kIsUsingKeyboardAndMouse, "IS_USING_KEYBOARD_AND_MOUSE", "i"},
    {fakegame::kIsDisabledControlPressed, "IS_DISABLED_CONTROL_PRESSED", "ih"},
    {fakegame::kIsDisabledControlJustPressed, "IS_DISABLED_CONTROL_JUST_PRESSED", "ih"},
    {fakegame::kGetDisabledControlNormal, "GET_DISABLED_CONTROL_NORMAL", "ih"},
    {fakegame::kSetAudioFlag, "SET_AUDIO_FLAG", "si"},
    {fakegame::kCreateVarString, "CREATE_VAR_STRING", "iss"},
    {fakegame::kMessageLogAddText, "MESSAGE_LOG_ADD", "v"},
    {fakegame::kMessageLogShow, "MESSAGE_LOG_SHOW", ""},
    {fakegame::kMessageLogClear, "MESSAGE_LOG_CLEAR", ""},
    {fakegame::kSetCursorStyle, "SET_CURSOR_STYLE", "i"},
    {fakegame::kStopSoundFrontend, "STOP_SOUND_FRONTEND", "ss"},
    {fakegame::kPlaySoundFrontend, "PLAY_SOUND_FRONTEND", "ssii"},
    {fakegame::kSetTextColor, "SET_TEXT_COLOR", "iiii"},
    {fakegame::kSetTextScale, "SET_TEXT_SCALE", "ff"},
    {fakegame::kSetTextCentre, "SET_TEXT_CENTRE", "i"},
    {fakegame::kDisplayText, "DISPLAY_TEXT", "vff"},
    {fakegame::kHasTextureDictLoaded, "HAS_STREAMED_TEXTURE_DICT_LOADED", "s"},
    {fakegame::kRequestTextureDict, "REQUEST_STREAMED_TEXTURE_DICT", "si"},
    {fakegame::kDrawSprite, "DRAW_SPRITE", "ssfffffiiiii"},
    {fakegame::kReleaseTextureDict, "SET_STREAMED_TEXTURE_DICT_AS_NO_LONGER_NEEDED", "s"},
};

}  // namespace

const NativeInfo* FindNative(uint64_t hash) {
    for (const NativeInfo& info : kNatives) {
        if (info.hash == hash) {
            return &info;
        }
    }
    return nullptr;
}

float FloatFromSlot(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string FormatFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string QuoteText(const char* text) {
    if (text == nullptr) {
        return "null";
    }
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        switch (*p) {
            case '\n':
                out += "\\n";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (*p < 0x20 || *p >= 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\x%02X", *p);
                    out += escaped;
                } else {
                    out += static_cast<char>(*p);
                }
        }
    }
    return out + "\"";
}

std::string NarrowUnits(const char16_t* text) {
    std::string out;
    for (const char16_t* p = text; p != nullptr && *p != 0; ++p) {
        if (*p <= 0xFF) {
            out += static_cast<char>(*p);
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%04X}", static_cast<unsigned>(*p));
            out += escaped;
        }
    }
    return out;
}

std::string MediaLine(const char16_t* command, const void* reply, unsigned replyLength, const void* callback) {
    std::string line = "media " + NarrowUnits(command);
    if (reply != nullptr || replyLength != 0) {
        line += " [reply " + std::to_string(replyLength) + (reply == nullptr ? " null" : "") + "]";
    }
    if (callback != nullptr) {
        line += " [callback]";
    }
    return line;
}

std::string FormatArg(char kind, uint64_t slot) {
    char text[40];
    switch (kind) {
        case 'i':
            if ((slot >> 32) != 0) {
                std::snprintf(text, sizeof text, "!0x%016llX", static_cast<unsigned long long>(slot));
            } else {
                std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(slot));
            }
            return text;
        case 'h':
            std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(slot));
            return text;
        case 'f':
            if ((slot >> 32) != 0) {
                std::snprintf(text, sizeof text, "!0x%016llX", static_cast<unsigned long long>(slot));
                return text;
            }
            return FormatFloat(FloatFromSlot(slot));
        case 's':
            return QuoteText(reinterpret_cast<const char*>(static_cast<uintptr_t>(slot)));
        default:
            std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(slot));
            return text;
    }
}

}  // namespace fakehost
