// The wine benchmarks' shared timing helpers and their measurements in other files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wine_bench {

inline double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Best(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

inline double Maximum(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// The start frames of one load of a one-file station, the radio starting `name` (copied from the
// rig's folder `source`) again each time the host marks it stopped; `config` holds the [config]
// lines. On the recording winmm.
struct StartFrames {
    std::vector<double> times;  // microseconds, in order; the first is the start chosen on the wheel
    std::string shown;          // the wheel's now-playing text after the last start
};
StartFrames TimeStarts(const std::wstring& source, const wchar_t* name, const std::wstring& sessionName,
                       const std::string& config);

void TagCost();
void SaveCost();
void LoudnessCost();

}  // namespace wine_bench
