// Shared ground for the fuzz targets: a scratch folder of the process's own as the current
// directory, and a way to stop loudly when a rule breaks.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzing {

// Creates a fresh folder under the system's temporary folder, makes it the current directory and
// returns its absolute path. Removed again when the process exits.
const std::string& ScratchFolder();

// Writes `size` bytes to `path` (relative to the current directory), replacing the file.
void WriteWholeFile(const char* path, const void* data, size_t size);

// Stops the run with the message; libFuzzer then saves the input that broke the rule.
[[noreturn]] inline void Broken(const std::string& what) {
    std::fprintf(stderr, "broken rule: %s\n", what.c_str());
    std::abort();
}

}  // namespace fuzzing

#define FUZZ_CHECK(condition, what)                                           \
    do {                                                                      \
        if (!(condition)) {                                                   \
            ::fuzzing::Broken(std::string(#condition) + ": " + (what));       \
        }                                                                     \
    } while (0)
