// Entry names as a player's folder may hold them: any bytes a file system allows. Each input makes
// a folder of files and sub-folders with those names, walks it with the radio's directory stream,
// and checks that every name comes back whole and once, that the audio-file rule gives the same
// answer as a plain search for the five extensions, and that a name sent to the media service
// arrives byte for byte (each byte widened to one unit of the same value).
//
// Input: one byte of flags (bit n: name n is a sub-folder; the top bit: the folder is named with
// backslashes), then names separated by zero bytes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/mci_channel.h"
#include "fake_host.h"
#include "fake_media.h"
#include "fuzz_support.h"
#include "platform/dir_stream.h"
#include "playback/audio_filter.h"
#include "playback/radio_state.h"

namespace {

constexpr size_t kMaxNames = 8;
constexpr size_t kNameMax = 255;  // the longest name this file system takes

// The audio-file rule, written the plain way.
bool ContainsAnExtension(const std::string& name) {
    for (const char* extension : {".mp3", ".aac", ".wav", ".flac", ".ogg"}) {
        if (name.find(extension) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> made;  // entries of the previous input, removed before the next

void ClearFolder() {
    for (const std::string& name : made) {
        const std::string path = "names/" + name;
        if (unlink(path.c_str()) != 0) {
            rmdir(path.c_str());
        }
    }
    made.clear();
}

// The first media line recorded since the last clear, or "".
std::string FirstMediaLine() {
    const std::vector<std::string> lines = fakehost::Lines(fakehost::EventKind::Media);
    return lines.empty() ? "" : lines.front();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::ScratchFolder();
    if (mkdir("names", 0755) != 0) {
        std::perror("names");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::string raw(reinterpret_cast<const char*>(data + 1), size - 1);

    // The rule on the raw text up to its first zero byte, as a name of any length.
    const std::string whole(raw.c_str());
    FUZZ_CHECK(trallio::IsAudioFile(whole.c_str()) == ContainsAnExtension(whole), "rule differs on the raw text");

    // The names: no '/' (it separates folders), no "." or "..", at most 255 bytes.
    ClearFolder();
    std::map<std::string, bool> wanted;  // name -> is a sub-folder
    size_t start = 0;
    while (start <= raw.size() && wanted.size() < kMaxNames) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) {
            end = raw.size();
        }
        std::string name = raw.substr(start, std::min(end - start, kNameMax));
        start = end + 1;
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        if (name.empty() || name == "." || name == ".." || wanted.count(name) != 0) {
            continue;
        }
        const bool folder = (data[0] >> wanted.size()) & 1;
        const std::string path = "names/" + name;
        const int made_ok = folder ? mkdir(path.c_str(), 0755) : [&] {
            std::FILE* f = std::fopen(path.c_str(), "wb");
            return f != nullptr && std::fclose(f) == 0 ? 0 : -1;
        }();
        FUZZ_CHECK(made_ok == 0, "could not make an entry");
        made.push_back(name);
        wanted[name] = folder;
    }

    // The walk.
    const bool backslashes = (data[0] & 0x80) != 0;
    trallio::DIR* stream = trallio::opendir(backslashes ? ".\\names\\" : "names");
    FUZZ_CHECK(stream != nullptr, "the folder does not open");
    std::map<std::string, int> seen;
    std::vector<std::string> audio;
    while (trallio::dirent* entry = trallio::readdir(stream)) {
        FUZZ_CHECK(std::memchr(entry->d_name, 0, sizeof entry->d_name) != nullptr, "name not terminated");
        const std::string name(entry->d_name);
        FUZZ_CHECK(++seen[name] == 1, "name listed twice");
        if (name != "." && name != "..") {
            auto found = wanted.find(name);
            FUZZ_CHECK(found != wanted.end(), "a name that was never made");
            FUZZ_CHECK(entry->d_type == (found->second ? 0x4000 : 0x8000), "wrong entry type");
        }
        const bool isAudio = trallio::IsAudioFile(entry->d_name);
        FUZZ_CHECK(isAudio == ContainsAnExtension(name), "rule differs on an entry name");
        if (isAudio) {
            audio.push_back(name);
        }
    }
    FUZZ_CHECK(trallio::readdir(stream) == nullptr, "a read after the end found an entry");
    trallio::closedir(stream);
    FUZZ_CHECK(seen.size() == wanted.size() + 2, "names missing from the walk");

    // Names on their way to the media service: the quoted path travels byte for byte.
    for (const std::string& name : audio) {
        fakehost::ResetMedia();
        fakehost::ClearEvents();
        trallio::OpenTrack("names", name.c_str(), false);
        const std::string expected = "media open \"names\\" + name + "\" type MPEGVideo";
        const std::string line = FirstMediaLine();
        FUZZ_CHECK(line.compare(0, expected.size(), expected) == 0, "the open command changed the name");
        trallio::CloseTrack("names", name.c_str(), false);
        FUZZ_CHECK(fakehost::OpenDeviceCount() == 0, "close left a device open");
    }

    // Any text as a folder, however long: the command is cut to its buffer, never overrun.
    fakehost::ClearEvents();
    trallio::SetTrackVolume(raw.c_str(), whole.c_str(), trallio::radio.volume, false);
    const std::string line = FirstMediaLine();
    FUZZ_CHECK(line.size() <= std::strlen("media ") + 639 + 16, "a command longer than its buffer");
    fakehost::ClearEvents();
    return 0;
}
