// Runs a program of the build as a player would, in a folder, and keeps what it printed.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramRun {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// `arguments[0]` is the program (looked up on PATH unless it has a folder). Runs it with `folder` as
// its current folder, standard input empty, and the test's environment plus `environment`
// ("NAME=value" entries, which replace the test's own of that name).
ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
                      const std::vector<std::string>& environment = {});

// For the sanitizer build, harmless in the others: `variables` plus what makes a program that plays
// through GStreamer run its leak check at exit as the media service's tests run theirs (GLib's
// slice allocator off, the slow unwinder, and `suppressions`, the file of what GLib keeps for good).
std::vector<std::string> WithMediaLeakCheck(std::vector<std::string> variables, const std::string& suppressions);

// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace testing_support
