#include "audio/loudness.h"

#include <cmath>

#include "text/gain_text.h"
#include "text/words.h"

namespace trallio {

Loudness ParseLoudness(const char* value, bool* known) {
    const Loudness mode = EqualsIgnoringCase(value, "track")   ? Loudness::kTrack
                          : EqualsIgnoringCase(value, "album") ? Loudness::kAlbum
                                                               : Loudness::kOff;
    if (known != nullptr) {
        *known = mode != Loudness::kOff || EqualsIgnoringCase(value, "off");
    }
    return mode;
}

bool ParseLoudnessDefault(const char* value, double* decibels) {
    return ParseGainText(value, kLargestDefaultGain, decibels);
}

bool FindTrackGain(Loudness mode, const char* trackGain, const char* albumGain, double* gain) {
    const char* first = mode == Loudness::kAlbum ? albumGain : trackGain;
    const char* second = mode == Loudness::kAlbum ? trackGain : albumGain;
    return ParseGainText(first, kLargestTagGain, gain) || ParseGainText(second, kLargestTagGain, gain);
}

int32_t LevelledVolume(int32_t level, double gain) {
    const double levelled = std::round(level * std::pow(10.0, gain / 20));
    return levelled >= kLoudestTrackVolume ? kLoudestTrackVolume : static_cast<int32_t>(levelled);
}

}  // namespace trallio
