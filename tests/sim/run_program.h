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

// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace testing_support
