// From a device name to the file it plays.
//
// The radio widens every byte of its path to one 16-bit unit of the same value, and writes the
// Windows separator. Here a backslash becomes a slash and each unit up to 0xFF becomes the byte
// of the same value again, which is how the directory stream handed the name over. Should no file
// have that name, the units are read as code points and encoded in UTF-8, for names that came
// from a settings file written as Latin-1. Units above 0xFF are always encoded in UTF-8.
// A relative path is taken from the current directory.
#pragma once

#include <string>

namespace trallio::media {

enum class FileCheck { Readable, Missing, NotAFile };

// The name's bytes, with '\' read as '/': raw bytes for units up to 0xFF (utf8 false), or every
// unit taken as a code point in UTF-8 (utf8 true). Not yet made absolute.
std::string NameToPath(const std::u16string& name, bool utf8);

// Finds the file the device name stands for. On Readable, `path` is its absolute path.
// Missing covers names with no file and files that cannot be read; NotAFile a directory or a
// device node.
FileCheck FindFile(const std::u16string& name, std::string& path);

}  // namespace trallio::media
