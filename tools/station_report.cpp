#include "station_report.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>

#include <filesystem>

#include "platform/posix/system_path.h"
#endif

#include "host/remembered_state.h"
#include "host/settings.h"
#include "platform/file_bytes.h"
#include "platform/win32.h"
#include "playback/audio_filter.h"
#include "platform/dir_stream.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"
#include "text/utf.h"

namespace check {

namespace {

using trallio::kSettingsPath;
constexpr char kTypes[] = ".mp3 .aac .wav .flac .ogg";
constexpr unsigned short kFolderType = 0x4000;
std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        c = trallio::LowerAscii(c);
    }
    return out;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool EndsWithAudioType(const std::string& name) {
    for (const char* type : {".mp3", ".aac", ".wav", ".flac", ".ogg"}) {
        if (EndsWith(name, type)) {
            return true;
        }
    }
    return false;
}

#ifdef _WIN32
// With unicode_names the radio's texts are UTF-8 and its directory stream uses the wide calls; the
// checker's paths then do the same and the report is UTF-8. Otherwise they are in the code page.
std::wstring WideUtf8(const std::string& text) {
    std::vector<char16_t> units(text.size() + 1);
    const size_t count = trallio::Utf8ToUtf16(text.data(), text.size(), units.data(), units.size());
    return std::wstring(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(count));
}

// The `length` units written into a buffer of `size` by a call that returns the length it needs
// when the buffer is too small, as UTF-8; `fallback` when the call failed.
std::string Utf8Result(const wchar_t* units, DWORD length, size_t size, const std::string& fallback) {
    if (length == 0 || length >= size) {
        return fallback;
    }
    const std::u16string text(units, units + length);
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(trallio::Utf16ToUtf8(text.data(), text.size(), &out[0], out.size()));
    return out;
}
#endif

bool FileExists(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = trallio::radio.config.unicodeNames ? GetFileAttributesW(WideUtf8(path).c_str())
                                                         : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
#endif
}

std::string CurrentFolder() {
#ifdef _WIN32
    if (trallio::radio.config.unicodeNames) {
        wchar_t units[MAX_PATH * 4];
        return Utf8Result(units, GetCurrentDirectoryW(MAX_PATH * 4, units), MAX_PATH * 4, ".");
    }
    char buffer[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string(".");
#else
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string(".");
#endif
}

std::string OpenError(int error) {
    switch (error) {
        case ENOENT:
            return "the folder does not exist";
        case ENOTDIR:
            return "it is not a folder";
        case EACCES:
            return "no permission to read it";
        default:
            return std::strerror(error);
    }
}

// The long names of a folder's entries as UTF-8, in the find-file calls' order, or nothing where
// the platform's names are UTF-8 already.
std::vector<std::string> LongNames(const std::string& folder) {
    std::vector<std::string> names;
#ifdef _WIN32
    const std::string pattern = folder + (folder.empty() || folder.back() == '\\' ? "*" : "\\*");
    wchar_t widePattern[MAX_PATH * 2];
    if (MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, widePattern, MAX_PATH * 2) == 0) {
        return names;
    }
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileExW(widePattern, FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        char name[MAX_PATH * 4];
        const int length = WideCharToMultiByte(CP_UTF8, 0, data.cFileName, -1, name, sizeof name, nullptr, nullptr);
        names.push_back(length > 0 ? std::string(name) : std::string());
    } while (FindNextFileW(search, &data));
    FindClose(search);
#else
    (void)folder;
#endif
    return names;
}

// Whether a UTF-8 name holds a character above U+00FF, which no byte of the radio's names stands for.
bool BeyondLatin1(const std::string& name) {
    for (unsigned char c : name) {
        if (c >= 0xC4) {
            return true;
        }
    }
    return false;
}

// Windows' reader of settings files takes a UTF-8 byte order mark for part of the first line, so
// a section header on that line is not seen, nor any key under it. Returns that header's name.
std::string SectionAfterByteOrderMark() {
    char bytes[512];
    const size_t length = trallio::ReadFileBytes(kSettingsPath, bytes, sizeof bytes);
    if (length < 3 || std::memcmp(bytes, "\xEF\xBB\xBF", 3) != 0) {
        return "";
    }
    const std::string first(bytes + 3, std::find(bytes + 3, bytes + length, '\n'));
    const size_t open = first.find_first_not_of(" \t");
    const size_t close = first.find(']');
    if (open == std::string::npos || first[open] != '[' || close == std::string::npos || close < open) {
        return "";
    }
    return first.substr(open, close - open + 1);
}

}  // namespace

EntryVerdict ClassifyEntry(const std::string& name, bool isFolder) {
    if (name == "." || name == "..") {
        return {Verdict::Ignored, ""};
    }
    if (trallio::IsAudioFile(name.c_str())) {
        if (isFolder) {
            return {Verdict::Warning,
                    "a sub-folder named like a track: the radio tries to play it, the media service refuses it "
                    "and the radio passes over it; move it out of the station"};
        }
        if (!EndsWithAudioType(name)) {
            return {Verdict::Warning,
                    "taken as a track because the name contains an audio type; unless it really is audio, the "
                    "media service refuses it and the radio passes over it"};
        }
        return {Verdict::Track, ""};
    }
    if (name == "?") {
        return {Verdict::PassedOver,
                "a name with characters outside the system's code page; rename the file with plain letters"};
    }
    if (isFolder) {
        return {Verdict::PassedOver, "a sub-folder; the radio does not look inside sub-folders"};
    }
    if (trallio::IsAudioFile(Lower(name).c_str())) {
        return {Verdict::PassedOver, std::string("upper-case extension; only lower-case ") + kTypes + " are played"};
    }
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) {
        return {Verdict::PassedOver, std::string("no file type; only ") + kTypes + " are played"};
    }
    return {Verdict::PassedOver,
            "\"" + name.substr(dot) + "\" is not a type the radio plays; only " + kTypes + " are played"};
}

int StationReport::PlayableTracks() const {
    int tracks = 0;
    for (const Entry& entry : entries) {
        if (trallio::IsAudioFile(entry.name.c_str()) && !entry.isFolder && !(entry.tested && entry.play.refused)) {
            ++tracks;
        }
    }
    return tracks;
}

int StationReport::RefusedTracks() const {
    int refused = 0;
    for (const Entry& entry : entries) {
        refused += entry.tested && entry.play.refused ? 1 : 0;
    }
    return refused;
}

int Report::ExitStatus() const {
    if (!AllStationsPlay()) {
        return 1;
    }
    for (const StationReport& station : stations) {
        if (station.RefusedTracks() > 0) {
            return 3;
        }
    }
    return 0;
}

bool Report::AllStationsPlay() const {
    for (const StationReport& station : stations) {
        if (station.PlayableTracks() == 0) {
            return false;
        }
    }
    return true;
}

std::string ResolvePath(const std::string& text) {
    if (text.empty()) {
        return "";
    }
#ifdef _WIN32
    // The Windows directory stream asks the same call for its search pattern.
    if (trallio::radio.config.unicodeNames) {
        wchar_t units[MAX_PATH * 4];
        return Utf8Result(units, GetFullPathNameW(WideUtf8(text).c_str(), MAX_PATH * 4, units, nullptr),
                          MAX_PATH * 4, text);
    }
    char buffer[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(text.c_str(), sizeof buffer, buffer, nullptr);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : text;
#else
    // The Linux stand-ins read a backslash as a slash.
    std::filesystem::path full(trallio::SystemPath(text.c_str()));
    if (full.is_relative()) {
        full = std::filesystem::path(CurrentFolder()) / full;
    }
    std::string resolved = full.lexically_normal().string();
    if (resolved.size() > 1 && resolved.back() == '/') {
        resolved.pop_back();
    }
    return resolved;
#endif
}

Report BuildReport(bool testPlay) {
    Report report;
    report.testPlayed = testPlay;
    trallio::ResetRadioState();
    static trallio::ConfigTexts configTexts;
    trallio::LoadSettings(&configTexts);
    // After the settings: with unicode_names the paths are read as UTF-8.
    report.gameFolder = CurrentFolder();
    report.settingsFile = ResolvePath(kSettingsPath);
    report.settingsFound = FileExists(report.settingsFile);
    report.sectionAfterMark = SectionAfterByteOrderMark();
    report.unicodeNames = trallio::radio.config.unicodeNames;
    report.order = static_cast<int>(trallio::radio.config.playOrder);
    report.titlesFromTags = trallio::radio.config.titlesFromTags;
    report.loudness = trallio::radio.config.loudness != trallio::Loudness::kOff;
    // The settings that are on, and each setting's lines, from the settings table, as the radio
    // read them.
    const trallio::SettingsView view{configTexts, FileExists(ResolvePath(trallio::kStatePath))};
    char lines[4096];
    trallio::SettingLines sink{lines, sizeof lines, 0};
    lines[0] = 0;
    trallio::DescribeSettingsOn(view, sink);
    report.settingsOn = lines;
    sink.length = 0;
    lines[0] = 0;
    trallio::DescribeSettings(view, sink);
    report.settingLines = lines;

    for (int i = 0; i < trallio::kStationCount; ++i) {
        StationReport station;
        station.station = i + 1;
        station.setting = trallio::radio.stationFolders[i];
        station.resolved = ResolvePath(station.setting);
        errno = 0;
        trallio::DIR* stream = trallio::opendir(station.setting.c_str(), trallio::radio.config.unicodeNames);
        station.opens = stream != nullptr;
        if (stream == nullptr) {
            station.openError = OpenError(errno != 0 ? errno : ENOENT);
        } else {
            while (trallio::dirent* entry = trallio::readdir(stream)) {
                const bool isFolder = entry->d_type == kFolderType;
                station.entries.push_back(
                    {entry->d_name, isFolder, ClassifyEntry(entry->d_name, isFolder), false, PlayResult{}, {}});
            }
            trallio::closedir(stream);
            if (!report.unicodeNames) {
                const std::vector<std::string> names = LongNames(station.resolved);
                for (size_t e = 0; e < names.size() && e < station.entries.size(); ++e) {
                    if (BeyondLatin1(names[e])) {
                        station.unreadable.push_back({names[e], station.entries[e].name});
                    }
                }
            }
        }
        for (Entry& entry : station.entries) {
            const bool track = entry.verdict.verdict == Verdict::Track || entry.verdict.verdict == Verdict::Warning;
            if (testPlay && track) {
                entry.tested = true;
                entry.play = TestPlay(station.setting, entry.name, report.unicodeNames);
            }
            if ((report.titlesFromTags || report.loudness) && track) {
                // The radio's own step when a track starts, on the radio's own station text.
                trallio::radio.currentFolder = trallio::radio.stationFolders[i];
                trallio::radio.currentTrack = entry.name.c_str();
                trallio::ReadTrackTitle();
                entry.tagLine = trallio::radio.trackTitle;
                entry.gain = trallio::radio.levelling.trackGain;
                entry.gainFromTag = trallio::radio.levelling.fromTag;
                trallio::radio.currentFolder = trallio::emptyText;
                trallio::radio.currentTrack = trallio::emptyText;
            }
        }
        report.stations.push_back(station);
    }
    return report;
}

}  // namespace check
