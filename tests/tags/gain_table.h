// The loudness test files: each one's gain tags, and the volume digits the radio must send for it.
// Shared by the file maker, the native tests and the wine host.
#pragma once

namespace tags_test {

enum class GainContainer { kId3v2, kApe, kOgg, kFlac };

struct GainCase {
    const char* name;
    GainContainer container;
    const char* trackName;  // nullptr: no such tag
    const char* trackValue;
    const char* albumName;
    const char* albumValue;
    // "setaudio ... volume to" digits with loudness = track at volumes 90, 500 and 0: the level as
    // it is, and lowered to 40 % while someone speaks (36, 200, 0); then with loudness = album at 90.
    int track[3];
    int ducked[3];
    int album90;
};

// A track without a usable gain plays at the default -7 dB: 40, 223 and 0; ducked 16, 89 and 0.
constexpr GainCase kGainCases[] = {
    {"g01 id3v2.mp3", GainContainer::kId3v2, "REPLAYGAIN_TRACK_GAIN", "-7.85 dB", "REPLAYGAIN_ALBUM_GAIN", "-6.20 dB",
     {36, 203, 0}, {15, 81, 0}, 44},
    {"g02 lower case.mp3", GainContainer::kId3v2, "replaygain_track_gain", "+3,5 dB", nullptr, nullptr,
     {135, 748, 0}, {54, 299, 0}, 135},
    {"g03 vorbis.ogg", GainContainer::kOgg, "REPLAYGAIN_TRACK_GAIN", "-12.00 dB", "REPLAYGAIN_ALBUM_GAIN", "-9.5 dB",
     {23, 126, 0}, {9, 50, 0}, 30},
    {"g04 album only.flac", GainContainer::kFlac, nullptr, nullptr, "REPLAYGAIN_ALBUM_GAIN", "2.5",
     {120, 667, 0}, {48, 267, 0}, 120},
    // +9 dB: 500 would play at 1409, and 1000 is the most.
    {"g05 ape.mp3", GainContainer::kApe, "replaygain_track_gain", "+9.00 dB", nullptr, nullptr,
     {254, 1000, 0}, {101, 564, 0}, 254},
    {"g06 garbage.ogg", GainContainer::kOgg, "REPLAYGAIN_TRACK_GAIN", "loud", nullptr, nullptr,
     {40, 223, 0}, {16, 89, 0}, 40},
    // 80 dB is out of range: absent, so track mode falls back to the album gain.
    {"g07 eighty.flac", GainContainer::kFlac, "REPLAYGAIN_TRACK_GAIN", "80 dB", "REPLAYGAIN_ALBUM_GAIN", "-4 dB",
     {57, 315, 0}, {23, 126, 0}, 57},
    {"g08 untagged.mp3", GainContainer::kId3v2, nullptr, nullptr, nullptr, nullptr, {40, 223, 0}, {16, 89, 0}, 40},
};

}  // namespace tags_test
