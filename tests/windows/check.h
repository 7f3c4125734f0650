// A small assertion harness for the wine-hosted test programs: CHECK and CHECK_EQ report each
// failure with its place and values and go on; Summary prints "N passed, M failed" and gives the
// process's exit code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace check {

struct Tally {
    int passed = 0;
    int failed = 0;
};

inline Tally& Counts() {
    static Tally tally;
    return tally;
}

// Wide text as UTF-8, for printing.
inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr,
                        nullptr);
    return out;
}

inline std::string Show(const std::string& value) {
    std::string out = "\"";
    for (unsigned char c : value) {
        if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}
inline std::string Show(const char* value) {
    return value == nullptr ? "(null)" : Show(std::string(value));
}
inline std::string Show(const std::wstring& value) {
    return "L" + Show(Narrow(value));
}
inline std::string Show(const wchar_t* value) {
    return value == nullptr ? "(null)" : Show(std::wstring(value));
}
inline std::string Show(bool value) {
    return value ? "true" : "false";
}
// Numbers, declared here so that a vector of numbers shows them as numbers.
template <typename T>
std::string Show(const T& value);
template <typename T>
std::string Show(const std::vector<T>& values) {
    std::string out = "{";
    for (const T& value : values) {
        out += (out.size() > 1 ? ", " : "") + Show(value);
    }
    return out + "}";
}
template <typename T>
std::string Show(const T& value) {
    char text[64];
    if constexpr (sizeof(T) > 4) {
        std::snprintf(text, sizeof text, "%lld (0x%llX)", static_cast<long long>(value),
                      static_cast<unsigned long long>(value));
    } else {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    }
    return text;
}

inline bool Report(bool ok, const char* what, const char* file, int line, const std::string& detail = {}) {
    if (ok) {
        ++Counts().passed;
        return true;
    }
    ++Counts().failed;
    std::printf("FAILED %s:%d: %s%s%s\n", file, line, what, detail.empty() ? "" : "\n    ", detail.c_str());
    std::fflush(stdout);
    return false;
}

template <typename A, typename B>
bool ReportEqual(const A& actual, const B& expected, const char* what, const char* file, int line) {
    const bool ok = actual == expected;
    return Report(ok, what, file, line, ok ? std::string() : "got " + Show(actual) + ", want " + Show(expected));
}

// What the program is doing, for its watchdog (rig::StartWatchdog) to tell if it hangs: the
// section, the plug-in frames run in it and the latest step. Fixed buffers behind a lock, so that
// the watchdog's thread reads them without the heap.
struct Progress {
    SRWLOCK lock = SRWLOCK_INIT;
    char section[256] = "";
    char step[512] = "starting";
    int frames = 0;
};

inline Progress progress;

inline void CopyText(char* to, size_t size, const char* from) {
    size_t i = 0;
    for (; from[i] != 0 && i + 1 < size; ++i) {
        to[i] = from[i];
    }
    to[i] = 0;
}

inline void Step(const std::string& what) {
    AcquireSRWLockExclusive(&progress.lock);
    CopyText(progress.step, sizeof progress.step, what.c_str());
    ReleaseSRWLockExclusive(&progress.lock);
}

// A plug-in frame starts.
inline void Frame() {
    AcquireSRWLockExclusive(&progress.lock);
    ++progress.frames;
    CopyText(progress.step, sizeof progress.step, "in the plug-in's frame");
    ReleaseSRWLockExclusive(&progress.lock);
}

// "\"section\", frame N: step" into `out`.
inline void DescribeProgress(char* out, size_t size) {
    AcquireSRWLockShared(&progress.lock);
    std::snprintf(out, size, "\"%s\", frame %d: %s", progress.section, progress.frames, progress.step);
    ReleaseSRWLockShared(&progress.lock);
}

inline void Section(const char* name) {
    std::printf("-- %s\n", name);
    std::fflush(stdout);
    AcquireSRWLockExclusive(&progress.lock);
    CopyText(progress.section, sizeof progress.section, name);
    progress.frames = 0;
    progress.step[0] = 0;
    ReleaseSRWLockExclusive(&progress.lock);
}

inline int Summary(const char* program) {
    std::printf("%s: %d passed, %d failed\n", program, Counts().passed, Counts().failed);
    std::fflush(stdout);
    return Counts().failed == 0 && Counts().passed > 0 ? 0 : 1;
}

}  // namespace check

#define CHECK(condition) ::check::Report((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
    ::check::ReportEqual((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
