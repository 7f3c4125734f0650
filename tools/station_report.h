// What the radio will make of each station folder: read with the radio's own settings step,
// directory stream and audio-file rule, so the report and the radio can never disagree.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "test_play.h"

namespace check {

enum class Verdict {
    Ignored,     // "." and "..": every folder has them
    Track,       // the radio plays it
    Warning,     // the radio takes it as a track, but it will probably stay silent on it
    PassedOver,  // the radio skips it
};

struct EntryVerdict {
    Verdict verdict;
    std::string reason;  // empty for plain tracks and ignored entries
};

// The radio's view of one folder entry. `isFolder` comes from the directory stream's entry type.
EntryVerdict ClassifyEntry(const std::string& name, bool isFolder);

struct Entry {
    std::string name;
    bool isFolder = false;
    EntryVerdict verdict;
    bool tested = false;  // handed to the media service (every entry the radio takes as a track)
    PlayResult play;
    // With titles = tags, for a track: the second line the wheel shows while it plays, read from
    // its tags as the radio reads them; empty when they give no title and the file name shows.
    std::string tagLine;
    // With loudness on, for a track: the gain it plays at in dB, and whether a gain tag gave it
    // (else loudness_default).
    double gain = 0;
    bool gainFromTag = false;
};

struct StationReport {
    int station = 0;         // 1..3
    std::string setting;     // the folder as the settings give it
    std::string resolved;    // the absolute folder the radio opens
    bool opens = false;
    std::string openError;   // why it does not open
    std::vector<Entry> entries;  // in the directory stream's order
    // With unicode_names off: entries whose long names (UTF-8) hold a character the code page has
    // no byte for, each with the name the radio sees in its place ("?" or a short name).
    std::vector<std::pair<std::string, std::string>> unreadable;
    // Entries the radio takes as tracks that are files and that the media service did not refuse:
    // a sub-folder named like a track is never heard.
    int PlayableTracks() const;
    // Tracks the media service refused in the test-play.
    int RefusedTracks() const;
};

struct Report {
    std::string gameFolder;
    std::string settingsFile;  // absolute
    bool settingsFound = false;
    // The section Windows' own reader misses: the first line of a file saved as UTF-8 with a byte
    // order mark, when that line is a section header (empty otherwise).
    std::string sectionAfterMark;
    bool testPlayed = false;
    bool unicodeNames = false;
    int order = 0;  // trallio::PlayOrder: 0 folder, 1 name, 2 shuffle
    bool titlesFromTags = false;
    bool loudness = false;  // loudness = track or album
    // One line per setting that is on, then each setting's lines, from the settings table
    // (media_player_mode and unicode_names always).
    std::string settingsOn;
    std::string settingLines;
    std::vector<StationReport> stations;
    bool AllStationsPlay() const;
    // 0: every station has a playable track and none was refused; 1: some station has no
    // playable track; 3: every station plays, but some tracks will not. (2 is a usage error.)
    int ExitStatus() const;
};

// Reads the settings file from the current folder, as the radio does at script start, and walks
// each station folder; with `testPlay`, hands every track to the media service (never playing it).
Report BuildReport(bool testPlay);

// The report as the checker prints it.
std::string FormatReport(const Report& report);

// The absolute path that a folder text names when opened from the current folder; on Windows
// with the radio's unicode_names on, the text and the path are UTF-8.
std::string ResolvePath(const std::string& text);

}  // namespace check
