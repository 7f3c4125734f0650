// What the radio will make of each station folder: read with the radio's own settings step,
// directory stream and audio-file rule, so the report and the radio can never disagree.
#pragma once

#include <string>
#include <vector>

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
};

struct StationReport {
    int station = 0;         // 1..3
    std::string setting;     // the folder as the settings give it
    std::string resolved;    // the absolute folder the radio opens
    bool opens = false;
    std::string openError;   // why it does not open
    std::vector<Entry> entries;  // in the directory stream's order
    // Entries the radio takes as tracks that are files: a sub-folder named like a track is never
    // heard.
    int PlayableTracks() const;
};

struct Report {
    std::string gameFolder;
    std::string settingsFile;  // absolute
    bool settingsFound = false;
    bool mediaPlayerMode = false;
    std::vector<StationReport> stations;
    bool AllStationsPlay() const;
};

// Reads the settings file from the current folder, as the radio does at script start, and walks
// each station folder.
Report BuildReport();

// The report as the checker prints it.
std::string FormatReport(const Report& report);

// The absolute path that a folder text names when opened from the current folder.
std::string ResolvePath(const std::string& text);

}  // namespace check
