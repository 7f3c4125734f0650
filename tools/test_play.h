// The checker's test-play: a track handed to the platform's media service with the radio's own
// command strings (open, the mode query, close), never played, so the check stays silent.
#pragma once

#include <string>

namespace check {

struct PlayResult {
    bool refused = false;
    unsigned long error = 0;  // the service's error number, 0 when accepted
    std::string command;      // the refused command's keyword: "open" or "status"
    std::string reason;       // the service's own text for the error
};

// Tests `folder\name` as the radio names it; `utf8Names` is the radio's unicode_names.
PlayResult TestPlay(const std::string& folder, const std::string& name, bool utf8Names);

// A plain-words hint for a refused entry.
std::string RefusalHint(const PlayResult& result, bool isFolder);

}  // namespace check
