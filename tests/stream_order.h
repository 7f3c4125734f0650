// A station folder's names in the order the radio's directory stream gives them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "playback/audio_filter.h"
#include "platform/dir_stream.h"

namespace testing_support {

// Every entry of `folder`, the dots included; none, and a failed check, if it does not open.
inline std::vector<std::string> StreamOrder(const char* folder) {
    std::vector<std::string> names;
    trallio::DIR* stream = trallio::opendir(folder);
    EXPECT_NE(stream, nullptr) << folder;
    while (stream != nullptr) {
        trallio::dirent* entry = trallio::readdir(stream);
        if (entry == nullptr) {
            trallio::closedir(stream);
            break;
        }
        names.push_back(entry->d_name);
    }
    return names;
}

// Every entry of `folder`, in name order.
inline std::vector<std::string> SortedNames(const char* folder) {
    std::vector<std::string> names = StreamOrder(folder);
    std::sort(names.begin(), names.end());
    return names;
}

// The entries of `folder` the radio takes for tracks, in the stream's order.
inline std::vector<std::string> TracksInOrder(const char* folder) {
    std::vector<std::string> tracks;
    for (const std::string& name : StreamOrder(folder)) {
        if (trallio::IsAudioFile(name.c_str())) {
            tracks.push_back(name);
        }
    }
    return tracks;
}

// Where `name` stands in the stream's order of `folder` (the count of entries if it is not there).
inline int StreamPosition(const char* folder, const std::string& name) {
    const std::vector<std::string> order = StreamOrder(folder);
    return static_cast<int>(std::find(order.begin(), order.end(), name) - order.begin());
}

}  // namespace testing_support
