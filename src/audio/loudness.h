// Loudness levelling (loudness = track or album): every volume command carries the level in force
// times the current track's gain, read from its gain tags when it starts (TrackVolume, in
// playback/sound_mix.h). With loudness = off no gain is looked for and every command carries the
// level in force as it is. Nothing here asks the game or the media service anything.
#pragma once

#include <cstdint>

namespace trallio {

enum class Loudness : uint8_t { kOff, kTrack, kAlbum };

// The gain of a track without a usable gain tag, unless loudness_default says otherwise; the
// settings' limit for that value, and the tags' limit beyond which a gain counts as absent.
constexpr double kDefaultTrackGain = -7;
constexpr double kLargestDefaultGain = 20;
constexpr double kLargestTagGain = 30;

// The most the media service plays at: the file's own level.
constexpr int32_t kLoudestTrackVolume = 1000;

// The gain in force for the current track, in dB, and whether a gain tag gave it (else it is
// loudness_default); set when the track starts.
struct LoudnessState {
    double trackGain = 0;
    bool fromTag = false;
};

// loudness' value: "off", "track" or "album" in any case; anything else is off. `known` (if
// given) tells whether the text was one of the three.
Loudness ParseLoudness(const char* value, bool* known = nullptr);

// loudness_default's value: a gain text from -20 to 20 dB. False (and `decibels` untouched) for
// anything else.
bool ParseLoudnessDefault(const char* value, double* decibels);

// The gain a track plays at from its two gain texts (empty when the tag is absent): album mode
// takes the album gain and falls back to the track gain, track mode the other way round; a text
// that is not a gain within -30..+30 dB counts as absent. False, `gain` untouched, with neither.
bool FindTrackGain(Loudness mode, const char* trackGain, const char* albumGain, double* gain);

// `level` times 10^(gain / 20), rounded to the nearest whole number, at most kLoudestTrackVolume.
int32_t LevelledVolume(int32_t level, double gain);

}  // namespace trallio
