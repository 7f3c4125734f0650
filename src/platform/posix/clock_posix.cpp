// GetTickCount on Linux: milliseconds of the monotonic clock, wrapping at 32 bits as on Windows.
// Weak, so that the stand-in game host's own clock, which the tests set, takes its place in the
// programs that link both.
#include <time.h>

#include "platform/win32.h"

__attribute__((weak)) DWORD GetTickCount(void) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<unsigned long long>(now.tv_sec) * 1000u + now.tv_nsec / 1000000);
}
