// The wine host's loudness scenario: a station of files with gain tags on the real plug-in, each
// track's volume commands carrying the digits of its gain.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame_script.h"
#include "host_scenarios.h"
#include "tags/gain_table.h"

namespace wine_scenarios {

using namespace wine_session;

// Every volume command of the station's tracks (at the start, and from the wheel held open in
// every frame) carries the table's digits at volume 90 for the mode.
void LoudnessFromTags(bool album) {
    check::Section(album ? "loudness: loudness = album, the digits of each file's gain at volume 90"
                         : "loudness: loudness = track, the digits of each file's gain at volume 90");
    Session session(album ? L"loudness-album" : L"loudness-track");
    const std::wstring station = L"Gains";
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", std::string("[RADIOS]\r\nradio 1 = Gains\r\n[config]\r\n") +
                                                            "order = name\r\nloudness = " +
                                                            (album ? "Album" : "track") + "\r\n"));
    std::vector<std::wstring> names;
    for (const tags_test::GainCase& file : tags_test::kGainCases) {
        names.push_back(std::wstring(file.name, file.name + std::strlen(file.name)));
        CHECK(session.folder.CopyIn(rig::ProgramFolder() + L"\\tagged\\gains\\" + names.back(),
                                    station + L"\\" + names.back()));
    }
    std::vector<rig::MediaCommand> media;
    if (!PlayEachTrack(session, station, names, media, [](size_t, const FrameRecord&) {})) {
        return;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const tags_test::GainCase& file = tags_test::kGainCases[i];
        const std::wstring prefix = L"setaudio " + Device(station, names[i]);
        const std::wstring expected = Volume(Device(station, names[i]), album ? file.album90 : file.track[0]);
        int sent = 0;
        for (const rig::MediaCommand& command : media) {
            if (command.command.compare(0, prefix.size(), prefix) == 0) {
                ++sent;
                if (!CHECK(command.command == expected)) {
                    std::printf("    sent %s, expected %s\n", check::Show(command.command).c_str(),
                                check::Show(expected).c_str());
                }
            }
        }
        if (!CHECK(sent >= 2)) {  // the start's and at least one of the wheel's
            std::printf("    %s: %d volume commands\n", file.name, sent);
        }
    }
}

}  // namespace wine_scenarios
