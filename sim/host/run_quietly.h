// Runs one of the platform's programs for the helpers that make audio with its tools (the
// simulator's demo library, the media tests' tone files).
#pragma once

#include <string>
#include <vector>

namespace fakehost {

// Runs the program (looked up on PATH) with these arguments, its output thrown away, and waits
// for it: true when it exits with 0.
bool RunQuietly(const std::vector<std::string>& arguments);

}  // namespace fakehost
