// A directory stream in the POSIX shape: opendir, readdir, closedir over one entry record per
// stream. On Windows it is built over the find-file calls, elsewhere over the system's own stream.
// The entry record is refilled by every readdir and stays valid until closedir.
#pragma once

namespace trallio {

// A name is at most 255 UTF-16 units on Windows (255 bytes on Linux). Given as UTF-8 (Unicode
// names), a unit takes at most three bytes: a surrogate pair, two units, makes four.
constexpr unsigned kMaxNameUnits = 255;
constexpr unsigned kMaxNameBytes = kMaxNameUnits * 3;

struct dirent {
    unsigned short d_type;          // file-type bits of a file mode (0x2000 device, 0x4000 folder, 0x8000 file)
    char d_name[kMaxNameBytes + 1];  // the entry's name and a terminator
};

struct DIR;  // opaque

// Returns a new stream, or nullptr when the path is absent or empty, the folder does not exist, is
// not a folder, cannot be read, or memory runs out; errno tells which. `utf8Names` (Windows): the
// path is UTF-8 and every entry's name is given as UTF-8; otherwise both go through the C
// runtime's locale, a byte for a character of the same code. Linux names are bytes either way.
DIR* opendir(const char* path, bool utf8Names = false);
// The stream's entry record filled with the next entry, or nullptr at the end (and ever after).
dirent* readdir(DIR* stream);
// Releases the stream and its entry record; nullptr sets errno to EBADF and returns -1.
int closedir(DIR* stream);

}  // namespace trallio
