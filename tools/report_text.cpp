// The station checker's report as text: the header (the version, the settings that are on, the
// folders and each setting's lines), one block per station, and the summary.
#include <algorithm>
#include <sstream>

#include "audio/loudness.h"
#include "playback/play_order.h"
#include "text/gain_text.h"
#include "station_report.h"
#include "test_play.h"

namespace check {

namespace {

// A station's entries as the report lists them.
struct EntryGroups {
    std::vector<const Entry*> tracks;    // in the order the radio plays them
    std::vector<const Entry*> warnings;  // tracks that will most likely be refused
    std::vector<const Entry*> passed;    // entries that are not tracks
    std::vector<const Entry*> refused;   // tracks the test-play saw refused
};

EntryGroups GroupEntries(const StationReport& station, trallio::PlayOrder order) {
    EntryGroups groups;
    for (const Entry& entry : station.entries) {
        switch (entry.verdict.verdict) {
            case Verdict::Track:
                groups.tracks.push_back(&entry);
                break;
            case Verdict::Warning:
                groups.tracks.push_back(&entry);
                groups.warnings.push_back(&entry);
                break;
            case Verdict::PassedOver:
                groups.passed.push_back(&entry);
                break;
            case Verdict::Ignored:
                break;
        }
        if (entry.tested && entry.play.refused) {
            groups.refused.push_back(&entry);
        }
    }
    if (order == trallio::PlayOrder::kName) {
        std::stable_sort(groups.tracks.begin(), groups.tracks.end(), [](const Entry* a, const Entry* b) {
            return trallio::CompareNames(a->name.c_str(), b->name.c_str()) < 0;
        });
    }
    return groups;
}

void FormatHeader(const Report& report, std::ostream& out) {
    out << "Trallio station check " TRALLIO_VERSION "\n";
    out << report.settingsOn;
    out << "Game folder: " << report.gameFolder << '\n';
    out << "Settings file: " << report.settingsFile
        << (report.settingsFound ? " (found)" : " (not found: the defaults apply)") << '\n';
    if (!report.sectionAfterMark.empty()) {
        out << "  Warning: the file starts with a UTF-8 byte order mark, so Windows does not read its first section "
            << report.sectionAfterMark
            << " nor any setting in it: save it as UTF-8 without a byte order mark (or ANSI), or put a comment line "
               "first\n";
    }
    out << report.settingLines;
    if (report.testPlayed) {
        out << "Test-play: every track opened and closed again by the media service, nothing played\n";
    }
}

// With loudness on: the track's gain and the level it plays at with the wheel's volume at 90.
void FormatGain(const Entry& track, std::ostream& out) {
    constexpr int32_t kVolume = 90;
    char gain[trallio::kGainTextOut];
    trallio::FormatGainText(track.gain, gain);
    out << (track.gainFromTag ? "  gain " : "  no gain tag, plays at ") << gain << ": level "
        << trallio::LevelledVolume(kVolume, track.gain) << " at volume " << kVolume;
}

void FormatTracks(const Report& report, const std::vector<const Entry*>& tracks, std::ostream& out) {
    if (tracks.empty()) {
        out << "  Tracks: none\n";
        return;
    }
    out << (static_cast<trallio::PlayOrder>(report.order) == trallio::PlayOrder::kShuffle
                ? "  Tracks, in random order (a new one on every loop):\n"
                : "  Tracks, in the order the radio plays them:\n");
    for (size_t i = 0; i < tracks.size(); ++i) {
        const bool willNotPlay = tracks[i]->tested && tracks[i]->play.refused;
        out << "    " << i + 1 << ". " << tracks[i]->name;
        if (report.titlesFromTags) {
            out << (tracks[i]->tagLine.empty() ? "  shows the file name (no title tag)"
                                               : "  shows \"" + tracks[i]->tagLine + "\"");
        }
        if (report.loudness) {
            FormatGain(*tracks[i], out);
        }
        out << (willNotPlay                                        ? "  [will not play]\n"
                : tracks[i]->verdict.verdict == Verdict::Warning ? "  [see warnings]\n"
                                                                   : "\n");
    }
}

// A heading and one "name: reason" line per entry; nothing when there is no entry.
void FormatReasons(const char* heading, const std::vector<const Entry*>& entries, std::ostream& out) {
    if (entries.empty()) {
        return;
    }
    out << heading;
    for (const Entry* entry : entries) {
        out << "    " << entry->name << ": " << entry->verdict.reason << '\n';
    }
}

void FormatEntries(const StationReport& station, const EntryGroups& groups, std::ostream& out) {
    FormatReasons("  Passed over:\n", groups.passed, out);
    if (!station.unreadable.empty()) {
        out << "  Names the radio cannot read (set unicode_names = True in [config] to read them):\n";
        for (const auto& name : station.unreadable) {
            out << "    " << name.first << ": seen as \"" << name.second << "\"\n";
        }
    }
    FormatReasons("  Warnings:\n", groups.warnings, out);
    if (!groups.refused.empty()) {
        out << "  Will not play (refused by the media service):\n";
        for (const Entry* entry : groups.refused) {
            out << "    " << entry->name << ": " << entry->play.command << " refused, error " << entry->play.error
                << ": " << entry->play.reason << "\n      " << RefusalHint(entry->play, entry->isFolder) << '\n';
        }
    }
}

void FormatResult(const Report& report, const StationReport& station, std::ostream& out) {
    const int playable = station.PlayableTracks();
    const std::string willNot = report.testPlayed && station.opens
                                    ? ", " + std::to_string(station.RefusedTracks()) + " will not play"
                                    : "";
    if (playable == 0) {
        out << "  Result: no playable track" << willNot << '\n';
        return;
    }
    out << "  Result: " << playable
        << (report.testPlayed ? (playable == 1 ? " track plays" : " tracks play")
                              : (playable == 1 ? " track" : " tracks"))
        << willNot << '\n';
}

void FormatStation(const Report& report, const StationReport& station, std::ostream& out) {
    out << '\n' << "Station " << station.station << ": " << station.setting << '\n';
    if (station.setting.empty()) {
        out << "  Folder: none (the setting is empty)\n";
    } else {
        out << "  Folder: " << station.resolved << '\n';
    }
    if (!station.opens) {
        out << "  Opens: no (" << station.openError << ")\n";
        out << "  In the game this station shows \"Directory doesn't exist. Check your directories\".\n";
    } else {
        out << "  Opens: yes\n";
        const EntryGroups groups = GroupEntries(station, static_cast<trallio::PlayOrder>(report.order));
        FormatTracks(report, groups.tracks, out);
        FormatEntries(station, groups, out);
    }
    FormatResult(report, station, out);
}

void FormatSummary(const Report& report, std::ostream& out) {
    int silent = 0;
    int refusedTotal = 0;
    for (const StationReport& station : report.stations) {
        silent += station.PlayableTracks() == 0 ? 1 : 0;
        refusedTotal += station.RefusedTracks();
    }
    out << '\n';
    if (silent == 0) {
        out << "Every station has something to play.\n";
    } else {
        out << silent << " of " << report.stations.size() << " stations " << (silent == 1 ? "has" : "have")
            << " no playable track.\n";
    }
    if (refusedTotal > 0) {
        out << refusedTotal
            << (refusedTotal == 1 ? " track will not play; the radio passes over it.\n"
                                  : " tracks will not play; the radio passes over them.\n");
    }
}

}  // namespace

std::string FormatReport(const Report& report) {
    std::ostringstream out;
    FormatHeader(report, out);
    for (const StationReport& station : report.stations) {
        FormatStation(report, station, out);
    }
    FormatSummary(report, out);
    return out.str();
}

}  // namespace check
