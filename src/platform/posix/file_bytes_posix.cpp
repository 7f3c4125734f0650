// The settings file's bytes through the C library; a backslash in the path is read as a slash.
#include <cstdio>

#include "platform/file_bytes.h"
#include "platform/posix/system_path.h"

namespace trallio {

size_t ReadFileBytes(const char* path, char* buffer, size_t size) {
    char systemPath[512];
    if (!CopySystemPath(path, systemPath, sizeof systemPath)) {
        return 0;
    }
    std::FILE* file = std::fopen(systemPath, "rb");
    if (file == nullptr) {
        return 0;
    }
    const size_t total = std::fread(buffer, 1, size, file);
    std::fclose(file);
    return total;
}

}  // namespace trallio
