// The settings file's bytes through the file calls, so that no code-page conversion touches them.
#include <windows.h>

#include "platform/file_bytes.h"

namespace trallio {

size_t ReadFileBytes(const char* path, char* buffer, size_t size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    size_t total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, static_cast<DWORD>(size - total), &got, nullptr) || got == 0) {
            break;
        }
        total += got;
    }
    CloseHandle(file);
    return total;
}

}  // namespace trallio
