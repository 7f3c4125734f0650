// The file calls of the state file on Linux, over the system's own: CreateFileA (write access,
// create always), WriteFile, CloseHandle, MoveFileExA and DeleteFileA. A
// backslash in a path is read as a slash. As on Windows, a rename does not replace a file whose
// mode has no write permission for its owner (the read-only attribute), whoever runs the program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/posix/system_path.h"
#include "platform/win32.h"

namespace {

using trallio::SystemPath;

HANDLE FromDescriptor(int descriptor) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor) + 1);
}

int ToDescriptor(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<intptr_t>(handle) - 1);
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE) {
    if (access != GENERIC_WRITE || disposition != CREATE_ALWAYS) {
        return INVALID_HANDLE_VALUE;
    }
    const int descriptor = open(SystemPath(fileName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return descriptor < 0 ? INVALID_HANDLE_VALUE : FromDescriptor(descriptor);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED) {
    const ssize_t count = write(ToDescriptor(file), buffer, size);
    if (written != nullptr) {
        *written = count < 0 ? 0 : static_cast<DWORD>(count);
    }
    return count >= 0 ? TRUE : FALSE;
}

BOOL CloseHandle(HANDLE object) {
    return close(ToDescriptor(object)) == 0 ? TRUE : FALSE;
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    const std::string to = SystemPath(newName);
    struct stat existing {};
    if (stat(to.c_str(), &existing) == 0 &&
        ((flags & MOVEFILE_REPLACE_EXISTING) == 0 || (existing.st_mode & S_IWUSR) == 0)) {
        return FALSE;
    }
    return std::rename(SystemPath(existingName).c_str(), to.c_str()) == 0 ? TRUE : FALSE;
}

BOOL DeleteFileA(LPCSTR fileName) {
    return unlink(SystemPath(fileName).c_str()) == 0 ? TRUE : FALSE;
}
