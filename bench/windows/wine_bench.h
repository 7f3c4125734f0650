// The wine benchmarks' shared timing helpers and their measurements in other files.
#pragma once

#include <windows.h>

#include <algorithm>
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

void TagCost();
void SaveCost();

}  // namespace wine_bench
