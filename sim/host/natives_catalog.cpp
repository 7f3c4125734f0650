#include "natives_catalog.h"

#include <cstdio>
#include <cstring>

namespace fakehost {

namespace {

const NativeInfo kNatives[] = {
    {0x096275889B8E0EE0, "PLAYER_PED_ID", ""},
    {0x997ABD671D25CA0B, "IS_PED_IN_ANY_VEHICLE", "hi"},
    {0x2E0E1C2B4F6CB339, "IS_PED_IN_ANY_BOAT", "h"},
    {0x6F972C1AB75A1ED0, "IS_PED_IN_ANY_TRAIN", "h"},
    {0x460BC76A0E10655E, "IS_PED_ON_MOUNT", "h"},
    {0x9682AF6050854856, "SET_TIME_SCALE", "f"},
    {0x4102732DF6B4005F, "ANIMPOSTFX_PLAY", "s"},
    {0xB4FD7446BAB2F394, "ANIMPOSTFX_STOP", "s"},
    {0xF12E4CCAF249DC10, "WHEEL_FRAME", ""},
    {0xFD340785ADF8CFB7, "GET_HASH_KEY", "s"},
    {0xFE99B66D079CF6BC, "DISABLE_CONTROL_ACTION", "ihi"},
    {0xB9EFD5C25018725A, "SET_AUDIO_FLAG", "si"},
    {0xFA925AC00EB830B9, "CREATE_VAR_STRING", "iss"},
    {0xFA233F8FE190514C, "MESSAGE_LOG_ADD", "v"},
    {0xE9990552DEC71600, "MESSAGE_LOG_SHOW", ""},
    {0xDFF0D417277B41F8, "MESSAGE_LOG_CLEAR", ""},
    {0x7F5858AAB5A58CCE, "SET_CURSOR_STYLE", "i"},
    {0x0F2A2175734926D8, "STOP_SOUND_FRONTEND", "ss"},
    {0x67C540AA08E4A6F5, "PLAY_SOUND_FRONTEND", "ssii"},
    {0x16FA5CE47F184F1E, "SET_TEXT_COLOR", "iiii"},
    {0xA1253A3C870B6843, "SET_TEXT_SCALE", "ff"},
    {0xBE5261939FBECB8C, "SET_TEXT_CENTRE", "i"},
    {0x16794E044C9EFB58, "DISPLAY_TEXT", "vff"},
    {0x54D6900929CCF162, "HAS_STREAMED_TEXTURE_DICT_LOADED", "s"},
    {0xC1BA29DF5631B0F8, "REQUEST_STREAMED_TEXTURE_DICT", "si"},
    {0xC9884ECADE94CB34, "DRAW_SPRITE", "ssfffffiiiii"},
    {0x4ACA10A91F66F1E2, "SET_STREAMED_TEXTURE_DICT_AS_NO_LONGER_NEEDED", "s"},
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

uint32_t JoaatHash(const char* text) {
    uint32_t hash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        unsigned char c = *p;
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

}  // namespace fakehost
