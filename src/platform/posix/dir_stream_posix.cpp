// The directory stream over the system's own. Station texts keep the Windows separator, so a
// backslash is read as a slash when the path reaches the file system.
#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/posix/system_path.h"
#include "platform/dir_stream.h"

namespace trallio {

struct DIR {
    ::DIR* system;
    dirent entry;
};

DIR* opendir(const char* path, bool) {
    if (path == nullptr || path[0] == 0) {
        errno = ENOENT;
        return nullptr;
    }
    char systemPath[4096];
    if (!CopySystemPath(path, systemPath, sizeof systemPath)) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    DIR* stream = new (std::nothrow) DIR;
    if (stream == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    stream->system = ::opendir(systemPath);
    if (stream->system == nullptr) {
        const int error = errno;
        delete stream;
        errno = error;
        return nullptr;
    }
    std::memset(&stream->entry, 0, sizeof stream->entry);
    return stream;
}

dirent* readdir(DIR* stream) {
    if (stream == nullptr || stream->system == nullptr) {
        return nullptr;
    }
    const ::dirent* next = ::readdir(stream->system);
    if (next == nullptr) {
        // Once at the end, stay at the end.
        ::closedir(stream->system);
        stream->system = nullptr;
        return nullptr;
    }
    std::strncpy(stream->entry.d_name, next->d_name, sizeof stream->entry.d_name - 1);
    stream->entry.d_name[sizeof stream->entry.d_name - 1] = 0;
    switch (next->d_type) {
        case DT_DIR:
            stream->entry.d_type = 0x4000;
            break;
        case DT_CHR:
            stream->entry.d_type = 0x2000;
            break;
        default:
            stream->entry.d_type = 0x8000;
            break;
    }
    return &stream->entry;
}

int closedir(DIR* stream) {
    if (stream == nullptr) {
        errno = EBADF;
        return -1;
    }
    if (stream->system != nullptr) {
        ::closedir(stream->system);
    }
    delete stream;
    return 0;
}

}  // namespace trallio
