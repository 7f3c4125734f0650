// The wine host's unicode and titles scenarios: names in several scripts, and tags on the wheel.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "frame_script.h"
#include "host_scenarios.h"
#include "tags/wheel_text.h"

namespace wine_scenarios {

using namespace wine_session;

// ---------------------------------------------------------------------------------------------
// unicode: a station folder and tracks named in several scripts, with unicode_names on and off

// Whether the bytes are well-formed UTF-8, by the platform's strict decoder.
bool IsUtf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                               nullptr, 0) > 0;
}

std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                        &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// The settings naming the station, as UTF-8 with the byte order mark given, or as UTF-16 with
// its mark.
std::string UnicodeSettings(const std::string& stationUtf8, bool on, const std::string& markOrNot) {
    const std::string settings = "; stations\r\n[RADIOS]\r\nradio 1 = " + stationUtf8 + "\r\n[config]\r\n" +
                                 "unicode_names = " + (on ? "True" : "False") + "\r\n";
    if (markOrNot != "UTF-16") {
        return markOrNot + settings;
    }
    const std::wstring wide = FromUtf8(settings);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

void UnicodeStation(const wchar_t* name, bool on, const std::string& markOrNot) {
    check::Section(on ? "unicode: unicode_names=True, each track opened under its own UTF-16 name"
                      : "unicode: unicode_names off, the same folder is not found, as before");
    Session session(name);
    const std::wstring station = L"\u0421\u0442\u0430\u043D\u0446\u0438\u044F";  // Станция
    const std::string stationUtf8 = check::Narrow(station);
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", UnicodeSettings(stationUtf8, on, markOrNot)));
    std::vector<std::wstring> tracks = {L"\u0414\u043E\u0440\u043E\u0433\u0430.mp3", L"\u591C.flac", L"caf\u00E9.ogg",
                                        L"\U0001F3B5 tune.wav"};
    WriteTracks(session, station, tracks);
    const std::vector<std::wstring> listing = session.folder.List(station);
    const std::vector<std::wstring> ordered = InListingOrder(listing, tracks);
    CHECK(IndexOf(listing, ordered.back()) < listing.size());  // every track listed

    rig::MediaWatch watch;
    HWND window = OpenGame(session, &watch);
    if (window == nullptr) {
        return;
    }
    // The frame of the click, then the walk to the first track.
    std::vector<rig::MediaCommand> media;
    const int limit = static_cast<int>(listing.size()) + 2;
    const int frames = ClickStationOne(session, watch, window, 1 + limit, media);
    const FrameRecord frame = RunFrame(session, &watch);
    Append(media, frame.media);

    if (!on) {
        // The folder's UTF-8 bytes are widened one by one: no such folder, nothing opened.
        CHECK_EQ(frames, -1);
        for (const rig::MediaCommand& command : media) {
            CHECK(command.command.compare(0, 5, L"open ") != 0);
        }
        CloseGame(session, window);
        return;
    }

    // The now-playing text is the folder and the first track, in UTF-8.
    bool shown = false;
    for (const FakeNativeCall& call : rig::CallsOf(frame.natives, fakegame::kDisplayText)) {
        const std::string text = call.texts[0];
        CHECK(IsUtf8(text));
        shown = shown || text == stationUtf8 + "\n" + check::Narrow(ordered[0]) + "\n";
    }
    CHECK(shown);
    CHECK(rig::PressKey('Q', false) && rig::PressKey('R', false));
    RunFrame(session, &watch);

    // Each track, when the one before it ends, is opened and played under exactly its name.
    std::vector<std::wstring> expected = {Open(Device(station, ordered[0]))};
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        EndTrack(session, watch, Device(station, ordered[i]), limit, media);
        expected.push_back(Open(Device(station, ordered[i + 1])));
    }
    CHECK_EQ(OpensIn(media), expected);
    CloseGame(session, window);
}

// ---------------------------------------------------------------------------------------------
// titles: titles = tags, each tagged file's line on the wheel when it starts; names go to the tag
// library as wide names, from the code page with unicode_names off and from UTF-8 with it on

struct TaggedTrack {
    std::wstring name;
    std::string line;
};


// The tagged files the native maker wrote beside this program, from its manifest.
std::vector<TaggedTrack> ReadManifest() {
    std::vector<TaggedTrack> tracks;
    const std::string text = ReadWholeFile(rig::ProgramFolder() + L"\\tagged\\manifest.txt");
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            tracks.push_back({FromUtf8(line.substr(0, tab)), line.substr(tab + 1)});
        }
        at = end + 1;
    }
    return tracks;
}

void TitlesFromTags(bool unicodeNames) {
    check::Section(unicodeNames ? "titles: titles = tags, unicode_names on" : "titles: titles = tags, unicode_names off");
    Session session(unicodeNames ? L"titles-unicode" : L"titles");
    std::vector<TaggedTrack> tracks = ReadManifest();
    if (!CHECK(tracks.size() >= 13u)) {
        return;
    }
    const std::wstring station = L"Tagged";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini",
                               std::string("[RADIOS]\r\nradio 1 = Tagged\r\n[config]\r\ntitles = Tags\r\norder = name\r\n") +
                                   "unicode_names = " + (unicodeNames ? "True" : "False") + "\r\n"));
    for (const TaggedTrack& track : tracks) {
        CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + track.name, station + L"\\" + track.name));
    }
    // With unicode_names, a name the code page cannot hold (14 Дорога.mp3): found and read only
    // through UTF-8. Without, units U+0080..U+009F, whose bytes the code page 1252 reads as other
    // characters (here the curly quotes): the tags are read from the file the media commands name,
    // byte for unit.
    const TaggedTrack extra{unicodeNames ? L"14 \u0414\u043E\u0440\u043E\u0433\u0430.mp3" : L"14 \u0093Quoted\u0094.mp3",
                            tracks[0].line};
    CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\" + tracks[0].name, station + L"\\" + extra.name));
    tracks.insert(tracks.begin() + 13, extra);

    // The wheel stays open throughout: each track's line is read in the frame after its open.
    std::vector<std::wstring> names;
    for (const TaggedTrack& track : tracks) {
        names.push_back(track.name);
    }
    std::vector<rig::MediaCommand> media;
    PlayEachTrack(session, station, names, media, [&tracks](size_t i, const FrameRecord& frame) {
        const std::string expected = tags_test::WheelTextOf("Tagged", tracks[i].line);
        if (!CHECK(CountTextCalls(frame, fakegame::kDisplayText, expected) > 0)) {
            std::printf("    %s: expected %s\n", check::Narrow(tracks[i].name).c_str(),
                        check::Show(expected).c_str());
        }
    });
}

}  // namespace wine_scenarios
