// The directory stream over the find-file calls, with wide file names. Texts convert in the C
// runtime's default locale, which the radio never changes: a byte becomes the wide character of the
// same code, and a wide character above 255 has no byte form. With Unicode names the path is read
// as UTF-8 and each long name is given as UTF-8, whatever its characters.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

#include <new>

#include "platform/dir_stream.h"
#include "text/utf.h"

namespace trallio {

namespace {

struct SearchRecord {
    WIN32_FIND_DATAW data;     // the latest result
    bool firstPending;         // the search start's result has not been returned yet
    bool ended;                // the search handle has been closed
    HANDLE handle;
    wchar_t* pattern;
};

constexpr size_t kMaxWidePath = 260;

// The path as wide text: UTF-8 with Unicode names, otherwise through the C runtime's locale.
bool WidenPath(const char* path, bool utf8Names, wchar_t* out) {
    if (utf8Names) {
        char16_t units[kMaxWidePath + 1];
        const size_t count = Utf8ToUtf16(path, strlen(path), units, kMaxWidePath + 1);
        for (size_t i = 0; i <= count; ++i) {
            out[i] = static_cast<wchar_t>(units[i]);
        }
        return true;
    }
    size_t converted = 0;
    return mbstowcs_s(&converted, out, kMaxWidePath + 1, path, _TRUNCATE) == 0;
}

// The entry's long name as UTF-8; unpaired surrogates read as U+FFFD.
void NarrowNameUtf8(const wchar_t* name, char* out, size_t size) {
    char16_t units[MAX_PATH];
    size_t count = 0;
    while (count < MAX_PATH - 1 && name[count] != 0) {
        units[count] = static_cast<char16_t>(name[count]);
        ++count;
    }
    Utf16ToUtf8(units, count, out, size);
}

}  // namespace

struct DIR {
    dirent entry;
    SearchRecord* search;
    bool utf8Names;
};

DIR* opendir(const char* path, bool utf8Names) {
    if (path == nullptr || path[0] == 0) {
        errno = ENOENT;
        return nullptr;
    }
    DIR* stream = new (std::nothrow) DIR;
    if (stream == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    stream->entry = dirent{};
    stream->utf8Names = utf8Names;
    stream->search = new (std::nothrow) SearchRecord;
    if (stream->search == nullptr) {
        delete stream;
        errno = ENOMEM;
        return nullptr;
    }
    SearchRecord* search = stream->search;
    search->firstPending = true;
    search->ended = false;
    search->handle = INVALID_HANDLE_VALUE;
    search->pattern = nullptr;

    wchar_t widePath[kMaxWidePath + 1];
    DWORD error = ERROR_PATH_NOT_FOUND;
    if (WidenPath(path, utf8Names, widePath)) {
        // Asked once for the length, then into a buffer with room for the separator and "*".
        const DWORD length = GetFullPathNameW(widePath, 0, nullptr, nullptr);
        if (length != 0) {
            search->pattern = new (std::nothrow) wchar_t[length + 2];
        }
        if (search->pattern != nullptr) {
            const DWORD written = GetFullPathNameW(widePath, length, search->pattern, nullptr);
            if (written != 0 && written < length) {
                wchar_t* end = search->pattern + written;
                const wchar_t last = end[-1];
                if (last != L'\\' && last != L'/' && last != L':') {
                    *end++ = L'\\';
                }
                *end++ = L'*';
                *end = 0;
                search->handle = FindFirstFileExW(search->pattern, FindExInfoStandard, &search->data,
                                                  FindExSearchNameMatch, nullptr, 0);
                if (search->handle != INVALID_HANDLE_VALUE) {
                    return stream;
                }
            }
            error = GetLastError();
        }
    }

    if (error == ERROR_ACCESS_DENIED) {
        errno = EACCES;
    } else if (error == ERROR_DIRECTORY) {
        errno = ENOTDIR;
    } else {
        errno = ENOENT;
    }
    delete[] search->pattern;
    delete search;
    delete stream;
    return nullptr;
}

dirent* readdir(DIR* stream) {
    if (stream == nullptr || stream->search == nullptr) {
        return nullptr;
    }
    SearchRecord* search = stream->search;
    if (search->firstPending) {
        search->firstPending = false;
    } else if (search->ended) {
        return nullptr;
    } else if (!FindNextFileW(search->handle, &search->data)) {
        FindClose(search->handle);
        search->handle = INVALID_HANDLE_VALUE;
        search->ended = true;
        return nullptr;
    }

    dirent& entry = stream->entry;
    size_t converted = 0;
    if (stream->utf8Names) {
        NarrowNameUtf8(search->data.cFileName, entry.d_name, sizeof entry.d_name);
    } else if (wcstombs_s(&converted, entry.d_name, sizeof entry.d_name, search->data.cFileName,
                          _TRUNCATE) != 0 &&
               (search->data.cAlternateFileName[0] == 0 ||
                wcstombs_s(&converted, entry.d_name, sizeof entry.d_name, search->data.cAlternateFileName,
                           _TRUNCATE) != 0)) {
        entry.d_name[0] = '?';
        entry.d_name[1] = 0;
        entry.d_type = 0;
        return &entry;
    }
    const DWORD attributes = search->data.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
        entry.d_type = 0x2000;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        entry.d_type = 0x4000;
    } else {
        entry.d_type = 0x8000;
    }
    return &entry;
}

int closedir(DIR* stream) {
    if (stream == nullptr) {
        errno = EBADF;
        return -1;
    }
    SearchRecord* search = stream->search;
    if (!search->ended && search->handle != INVALID_HANDLE_VALUE) {
        FindClose(search->handle);
    }
    delete[] search->pattern;
    delete search;
    delete stream;
    return 0;
}

}  // namespace trallio
