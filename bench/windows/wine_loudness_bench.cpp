// The wine benchmark loudness-cost (see wine_bench.cpp), on the recording winmm.
#include <windows.h>

#include <cstdio>
#include <string>

#include "session.h"
#include "wine_bench.h"

namespace wine_bench {

// loudness-cost: the frame in which a tagged track starts with titles = tags alone, with
// loudness = track alone, and with both, each in a load of its own as tag-cost runs them (the
// station of one file started again each time the host marks it stopped). The gains come from the
// same tag read as the title, so the three should cost the same.
void LoudnessCost() {
    check::Section("loudness-cost: the frame in which a tagged track starts, loudness = track against titles = tags");
    const struct {
        const wchar_t* source;
        const wchar_t* name;
    } files[] = {{L"tagged\\gains", L"g01 id3v2.mp3"},
                 {L"tagged\\gains", L"g03 vorbis.ogg"},
                 {L"tagged\\gains", L"g05 ape.mp3"},
                 {L"tagged", L"20 cover art.mp3"},
                 {L"tagged", L"23 cover art.flac"}};
    const struct {
        const char* label;
        const char* config;
    } settings[] = {{"titles = tags", "titles = tags"},
                    {"loudness = track", "loudness = track"},
                    {"both", "titles = tags\r\nloudness = track"}};
    int index = 0;
    for (const auto& file : files) {
        std::printf("%s:\n", check::Narrow(file.name).c_str());
        double medians[3] = {0, 0, 0};
        for (int s = 0; s < 3; ++s) {
            const StartFrames starts =
                TimeStarts(file.source, file.name, L"loudness-cost-" + std::to_wstring(++index), settings[s].config);
            if (!CHECK(!starts.times.empty())) {
                continue;
            }
            medians[s] = Median(starts.times);
            std::printf("  start frame, %s: first %.1f us, median %.1f us, max %.1f us, %zu starts\n",
                        settings[s].label, starts.times.front(), medians[s], Maximum(starts.times),
                        starts.times.size());
        }
        std::printf("  loudness - tags (medians): %.1f us; both - tags: %.1f us\n", medians[1] - medians[0],
                    medians[2] - medians[0]);
    }
}

}  // namespace wine_bench
