#include "demo_library.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/dir_stream.h"
#include "playback/radio_state.h"
#include "host/settings.h"
#include "run_quietly.h"

namespace sim {

namespace {

struct DemoTrack {
    const char* name;
    const char* wave;  // audiotestsrc's wave names
    int frequency;
    const char* encoder;  // the encoding part of the pipeline, blank-separated
    const char* artist;   // the tags taginject hands the encoder: Vorbis comments in ogg and flac,
    const char* title;    // an ID3v2 tag in mp3, the INFO chunk in wav; aac (ADTS) keeps none
    // A track gain in dB for loudness levelling, or nullptr for none: the encoders keep it only in
    // the Vorbis comments of ogg and flac.
    const char* gain = nullptr;
};

constexpr int kSecondsPerTrack = 3;

const std::vector<DemoTrack>& Tracks(int station) {
    static const std::vector<DemoTrack> kStations[3] = {
        {
            {"01 Morning sine.mp3", "sine", 440, "lamemp3enc ! id3v2mux", "The Test Tones", "Morning Sine"},
            {"02 Square dance.ogg", "square", 330, "vorbisenc ! oggmux", "The Test Tones", "Square Dance", "-9.5"},
            {"03 Triangle trail.wav", "triangle", 550, "wavenc", "The Test Tones", "Triangle Trail"},
        },
        {
            {"01 Saw mill.flac", "saw", 220, "flacenc", "Signal Street", "Saw Mill", "-8.25"},
            {"02 High sine.mp3", "sine", 660, "lamemp3enc ! id3v2mux", "Signal Street", "High Sine"},
            {"03 Ticking clock.aac", "ticks", 880,
             "avenc_aac ! aacparse ! audio/mpeg,mpegversion=4,stream-format=adts", "Signal Street", "Ticking Clock"},
        },
        {
            {"01 Low sine.ogg", "sine", 262, "vorbisenc ! oggmux", "Campfire Tones", "Low Sine"},
            {"02 Campfire noise.wav", "pink-noise", 0, "wavenc", "Campfire Tones", "Campfire Noise"},
            {"03 Evening triangle.flac", "triangle", 392, "flacenc", "Campfire Tones", "Evening Triangle", "2"},
        },
    };
    return kStations[station - 1];
}

// A value for gst-launch's parser: quoted, with quotes and backslashes escaped.
std::string GstQuote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

// The track gain as a tag for taginject, or nothing.
std::string GainTag(const DemoTrack& track) {
    return track.gain == nullptr ? "" : std::string(",replaygain-track-gain=(double)") + track.gain;
}

bool MakeTrack(const DemoTrack& track, const std::filesystem::path& folder) {
    // Written under a name the radio would pass over, then renamed, so that a failed encode
    // never leaves a broken track behind.
    const std::filesystem::path partial = folder / ".demo-partial";
    const int buffers = kSecondsPerTrack * 10;  // buffers of a tenth of a second
    std::vector<std::string> arguments = {
        "gst-launch-1.0", "-q", "audiotestsrc", std::string("wave=") + track.wave,
        "freq=" + std::to_string(track.frequency), "volume=0.25", "num-buffers=" + std::to_string(buffers),
        "samplesperbuffer=4410", "!", "audio/x-raw,format=S16LE,rate=44100,channels=2", "!", "audioconvert", "!",
        "taginject", "tags=" + GstQuote(std::string("artist=") + GstQuote(track.artist) + ",title=" +
                                        GstQuote(track.title) + GainTag(track)),
        "!"};
    for (const std::string& word : SplitWords(track.encoder)) {
        arguments.push_back(word);
    }
    arguments.push_back("!");
    arguments.push_back("filesink");
    arguments.push_back("location=" + GstQuote(partial.string()));
    std::error_code error;
    if (!fakehost::RunQuietly(arguments) || std::filesystem::file_size(partial, error) == 0 || error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, folder / track.name, error);
    return !error;
}

}  // namespace

std::vector<StationFolder> ReadStationFolders() {
    trallio::ResetRadioState();
    trallio::LoadSettings();
    std::vector<StationFolder> folders;
    for (int station = 0; station < trallio::kStationCount; ++station) {
        StationFolder folder;
        folder.station = station + 1;
        folder.text = trallio::radio.stationFolders[station];
        folder.path = folder.text;
        for (char& c : folder.path) {
            if (c == '\\') {
                c = '/';
            }
        }
        trallio::DIR* stream = trallio::opendir(folder.text.c_str());
        folder.opens = stream != nullptr;
        if (stream != nullptr) {
            trallio::closedir(stream);
        }
        folders.push_back(folder);
    }
    // The script reads the settings again when it starts; the record goes back to its load state.
    trallio::ResetRadioState();
    return folders;
}

std::vector<std::string> DemoTrackNames(int station) {
    std::vector<std::string> names;
    for (const DemoTrack& track : Tracks(station)) {
        names.push_back(track.name);
    }
    return names;
}

int CreateDemoStation(const StationFolder& folder, std::ostream& log) {
    std::error_code error;
    const std::filesystem::path path(folder.path);
    std::filesystem::create_directories(path, error);
    if (error) {
        log << "Cannot create " << folder.path << ": " << error.message() << '\n';
        return 0;
    }
    int made = 0;
    for (const DemoTrack& track : Tracks(folder.station)) {
        if (MakeTrack(track, path)) {
            ++made;
        } else {
            log << "Could not make " << (path / track.name).string()
                << " (is gst-launch-1.0 with its encoders installed?)\n";
        }
    }
    log << "Station " << folder.station << ": made " << made << " demo tracks in " << folder.path << '\n';
    return made;
}

}  // namespace sim
