// A scratch game folder for one test: made under /tmp and entered as the current directory in
// SetUp, left and removed with everything in it in TearDown. The radio's tests and the bad-audio
// tests (which play through the real media service) share it.
#pragma once

#include <string>

namespace testing_support {

struct ScratchFolder {
    std::string path;
    std::string previous;

    // Makes /tmp/<prefix>-XXXXXX and makes it the current directory.
    void Enter(const std::string& prefix);
    // Goes back to the directory the test started in and removes the scratch folder.
    void Leave();
};

// The bytes of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

}  // namespace testing_support
