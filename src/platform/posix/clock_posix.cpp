// GetTickCount on Linux: milliseconds of the monotonic clock, wrapping at 32 bits as on Windows.
#include <time.h>

#include "platform/win32.h"

DWORD GetTickCount(void) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<unsigned long long>(now.tv_sec) * 1000u + now.tv_nsec / 1000000);
}
