// A whole small file read as bytes, for the settings step's Unicode read.
#pragma once

#include <cstddef>

namespace trallio {

// Reads up to `size` bytes of the file at `path` (a Windows-style relative path) into `buffer`.
// Returns the bytes read, or 0 when the file is missing or cannot be read.
size_t ReadFileBytes(const char* path, char* buffer, size_t size);

}  // namespace trallio
