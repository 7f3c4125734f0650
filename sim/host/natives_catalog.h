// What a stand-in game knows about each native the radio calls: its name, the kinds of its
// argument slots, and how to print them. Used to decode calls for traces and assertions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fakehost {

// Argument kinds, one letter per slot:
//   i  32-bit integer or boolean (zero-extended)
//   h  32-bit handle or hash, printed in hex
//   f  float bits in the low 32 bits
//   s  address of a zero-terminated text
//   v  a 64-bit value an earlier native returned
struct NativeInfo {
    uint64_t hash;
    const char* name;
    const char* args;
};

// nullptr for a hash the radio never calls.
const NativeInfo* FindNative(uint64_t hash);

// Prints a float the way traces show it: nine significant digits, enough to give the bits back.
std::string FormatFloat(float value);
float FloatFromSlot(uint64_t slot);

// One argument as traces show it: integers in decimal, handles and values in hex, floats by
// FormatFloat, texts quoted with \n, \" and \\ escaped and other bytes below 0x20 or from 0x7F as \xNN.
std::string FormatArg(char kind, uint64_t slot);
std::string QuoteText(const char* text);

// A wide media command as traces show it: units up to 0xFF as the byte of that value, others as
// \u{XXXX}.
std::string NarrowUnits(const char16_t* text);
// The start of a media command's trace line: "media " and the command, then " [reply N]" when a
// reply buffer or capacity was passed (" null" inside when the buffer was not), and " [callback]"
// when a callback window was.
std::string MediaLine(const char16_t* command, const void* reply, unsigned replyLength, const void* callback);

}  // namespace fakehost
