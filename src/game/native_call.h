// One typed way to call a game native: nativeInit(hash), one nativePush64 per argument in
// parameter order, nativeCall(), and the result read from the slot at once.
//
// Argument slots: integers, booleans and 32-bit handles or hashes zero-extended to 64 bits; floats
// as their single-precision bits in the low 32 bits; texts as the address of the string; a value
// an earlier native returned (GameValue) as its 64 bits unchanged.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/script_hook.h"

namespace trallio {

// A 64-bit value made by the game (such as a text handle), handed back unchanged.
struct GameValue {
    uint64_t bits;
};

inline uint64_t NativeSlot(int32_t value) {
    return static_cast<uint64_t>(static_cast<uint32_t>(value));
}
inline uint64_t NativeSlot(uint32_t value) {
    return static_cast<uint64_t>(value);
}
inline uint64_t NativeSlot(bool value) {
    return value ? 1u : 0u;
}
inline uint64_t NativeSlot(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return static_cast<uint64_t>(bits);
}
inline uint64_t NativeSlot(const char* text) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(text));
}
inline uint64_t NativeSlot(GameValue value) {
    return value.bits;
}
// Doubles, 64-bit integers and other pointers have no slot encoding: a call with one fails to
// compile instead of passing something the game does not expect.
uint64_t NativeSlot(double) = delete;
uint64_t NativeSlot(int64_t) = delete;
uint64_t NativeSlot(uint64_t) = delete;
uint64_t NativeSlot(const void*) = delete;

// Calls the native and returns the whole 64-bit result slot.
template <typename... Args>
uint64_t CallNative64(uint64_t hash, Args... args) {
    nativeInit(hash);
    (nativePush64(NativeSlot(args)), ...);
    return *nativeCall();
}

// Calls the native and returns the low 32 bits of the result (handles, hashes, booleans).
template <typename... Args>
uint32_t CallNative32(uint64_t hash, Args... args) {
    return static_cast<uint32_t>(CallNative64(hash, args...));
}

template <typename... Args>
void CallNative(uint64_t hash, Args... args) {
    CallNative64(hash, args...);
}

}  // namespace trallio
