// The demo library: three stations of real, short audio files of several types, made where the
// settings put the stations, with names the radio takes as tracks.
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>

#include "demo_library.h"
#include "playback/audio_filter.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"
#include "run_quietly.h"
#include "support.h"

namespace {

using testing_support::ReadFile;

std::string Extension(const std::string& name) {
    return name.substr(name.rfind('.'));
}

// Whether the file starts the way its type does.
bool HasSignatureOf(const std::string& path, const std::string& type) {
    const std::string head = ReadFile(path).substr(0, 12);
    if (head.size() < 12) {
        return false;
    }
    const auto byte = [&head](size_t i) { return static_cast<unsigned char>(head[i]); };
    if (type == ".wav") {
        return head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WAVE") == 0;
    }
    if (type == ".flac") {
        return head.compare(0, 4, "fLaC") == 0;
    }
    if (type == ".ogg") {
        return head.compare(0, 4, "OggS") == 0;
    }
    if (type == ".mp3") {  // an ID3 tag or an MPEG audio frame
        return head.compare(0, 3, "ID3") == 0 || (byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0);
    }
    if (type == ".aac") {  // an ADTS frame
        return byte(0) == 0xFF && (byte(1) & 0xF6) == 0xF0;
    }
    return false;
}

// The length of a PCM wave file, from its format and data chunks.
double WaveSeconds(const std::string& path) {
    const std::string bytes = ReadFile(path);
    const auto u32 = [&bytes](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    };
    uint32_t byteRate = 0;
    uint32_t dataSize = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const uint32_t size = u32(at + 4);
        if (id == "fmt ") {
            byteRate = u32(at + 16);
        } else if (id == "data") {
            dataSize = size;
            break;
        }
        at += 8 + size + (size & 1);
    }
    return byteRate == 0 ? 0.0 : static_cast<double>(dataSize) / byteRate;
}

class DemoLibrary : public testing_support::RadioTest {};

// The demo library makes its tracks with the platform's tools through RunQuietly: its answer is
// whether the program ran and exited with 0, each argument reaching it whole.
TEST(RunQuietly, TellsWhetherTheProgramRanAndExitedWithZero) {
    EXPECT_TRUE(fakehost::RunQuietly({"true"}));
    EXPECT_FALSE(fakehost::RunQuietly({"false"}));
    EXPECT_FALSE(fakehost::RunQuietly({"trallio-no-such-program"}));
    EXPECT_TRUE(fakehost::RunQuietly({"sh", "-c", "test \"$0\" = 'two words'", "two words"}));
}

TEST_F(DemoLibrary, MakesThreeStationsOfRealTracksInAllFiveTypes) {
    const std::vector<sim::StationFolder> before = sim::ReadStationFolders();
    ASSERT_EQ(before.size(), 3u);
    std::set<std::string> types;
    std::ostringstream log;
    for (const sim::StationFolder& folder : before) {
        EXPECT_FALSE(folder.opens);
        EXPECT_EQ(folder.text, "Trallio\\Radio " + std::to_string(folder.station));
        EXPECT_EQ(folder.path, "Trallio/Radio " + std::to_string(folder.station));
        const std::vector<std::string> names = sim::DemoTrackNames(folder.station);
        EXPECT_EQ(sim::CreateDemoStation(folder, log), static_cast<int>(names.size())) << log.str();
        EXPECT_GE(names.size(), 3u);
        for (const std::string& name : names) {
            const std::string path = folder.path + "/" + name;
            EXPECT_TRUE(trallio::IsAudioFile(name.c_str())) << name;
            EXPECT_TRUE(HasSignatureOf(path, Extension(name))) << path;
            types.insert(Extension(name));
        }
        // Nothing but the tracks: a half-written file would be played as a track too.
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
            EXPECT_TRUE(trallio::IsAudioFile(entry.path().filename().c_str())) << entry.path();
            ++files;
        }
        EXPECT_EQ(files, names.size());
    }
    EXPECT_EQ(types, (std::set<std::string>{".mp3", ".aac", ".wav", ".flac", ".ogg"}));
    for (const sim::StationFolder& folder : sim::ReadStationFolders()) {
        EXPECT_TRUE(folder.opens) << folder.text;
    }
}

TEST_F(DemoLibrary, TracksLastAFewSeconds) {
    std::ostringstream log;
    const sim::StationFolder folder = sim::ReadStationFolders()[0];
    ASSERT_GT(sim::CreateDemoStation(folder, log), 0) << log.str();
    for (const std::string& name : sim::DemoTrackNames(1)) {
        if (Extension(name) == ".wav") {
            EXPECT_NEAR(WaveSeconds(folder.path + "/" + name), 3.0, 0.01) << name;
        }
    }
}

// Station 2's flac track carries a track gain the radio reads with loudness on; its mp3 none.
TEST_F(DemoLibrary, SomeTracksCarryAGainTag) {
    std::ostringstream log;
    const sim::StationFolder folder = sim::ReadStationFolders()[1];
    ASSERT_GT(sim::CreateDemoStation(folder, log), 0) << log.str();
    trallio::radio.config.loudness = trallio::Loudness::kTrack;
    trallio::radio.currentFolder = "Trallio\\Radio 2";
    const struct {
        const char* name;
        bool tagged;
        double gain;
    } cases[] = {{"01 Saw mill.flac", true, -8.25}, {"02 High sine.mp3", false, -7}};
    for (const auto& c : cases) {
        trallio::radio.currentTrack = c.name;
        trallio::ReadTrackTitle();
        EXPECT_EQ(trallio::radio.levelling.fromTag, c.tagged) << c.name;
        EXPECT_DOUBLE_EQ(trallio::radio.levelling.trackGain, c.gain) << c.name;
    }
}

TEST_F(DemoLibrary, StationsAreWhereTheSettingsPutThem) {
    MakeFile("Trallio/Trallio.ini", "[RADIOS]\nradio 2=Music\\Second\n");
    MakeFolder("Music/Second");
    const std::vector<sim::StationFolder> folders = sim::ReadStationFolders();
    EXPECT_EQ(folders[0].text, "Trallio\\Radio 1");
    EXPECT_EQ(folders[1].text, "Music\\Second");
    EXPECT_EQ(folders[1].path, "Music/Second");
    EXPECT_TRUE(folders[1].opens);
    EXPECT_FALSE(folders[2].opens);
}

}  // namespace
