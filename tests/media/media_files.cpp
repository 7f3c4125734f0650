#include "media_files.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <vector>

#include "run_quietly.h"

namespace trallio::media::test {

namespace fs = std::filesystem;

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != 0 ? base : "/tmp") + "/trallio-media-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// The encoding part of the gst-launch-1.0 pipeline for each type.
std::vector<std::string> EncoderFor(const std::string& type) {
    static const std::map<std::string, std::vector<std::string>> kEncoders = {
        {"mp3", {"audioconvert", "!", "lamemp3enc"}},
        {"aac", {"audioconvert", "!", "avenc_aac", "!", "aacparse", "!", "audio/mpeg,mpegversion=4,stream-format=adts"}},
        {"wav", {"wavenc"}},
        {"flac", {"audioconvert", "!", "flacenc"}},
        {"ogg", {"audioconvert", "!", "vorbisenc", "!", "oggmux"}},
    };
    const auto found = kEncoders.find(type);
    return found == kEncoders.end() ? std::vector<std::string>{} : found->second;
}

}  // namespace

const std::string& ScratchDir() {
    static Scratch scratch;
    return scratch.path;
}

std::string ToneFile(const std::string& type, int tenths) {
    static std::map<std::string, std::string> made;
    const std::string key = type + "-" + std::to_string(tenths);
    if (made.count(key) != 0) {
        return made[key];
    }
    const std::vector<std::string> encoder = EncoderFor(type);
    std::string path = ScratchDir() + "/tone-" + key + "." + type;
    // 441 samples a buffer at 44.1 kHz: each buffer is exactly 10 ms.
    std::vector<std::string> command = {"gst-launch-1.0", "-q", "audiotestsrc", "wave=sine",
                                        "num-buffers=" + std::to_string(tenths * 10), "samplesperbuffer=441",
                                        "!", "audio/x-raw,rate=44100,channels=2", "!"};
    command.insert(command.end(), encoder.begin(), encoder.end());
    command.insert(command.end(), {"!", "filesink", "location=" + path});
    std::error_code error;
    if (encoder.empty() || ScratchDir().empty() || !fakehost::RunQuietly(command) || fs::file_size(path, error) == 0 || error) {
        path.clear();
    }
    return made[key] = path;
}

bool MakeDir(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return fs::is_directory(path, error);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
}

InDirectory::InDirectory(const std::string& path) {
    std::error_code error;
    previous_ = fs::current_path(error).string();
    fs::current_path(path, error);
}

InDirectory::~InDirectory() {
    std::error_code error;
    fs::current_path(previous_, error);
}

MCIERROR Send(const std::string& command, std::string* reply) {
    std::u16string wide;
    for (unsigned char byte : command) {
        wide += static_cast<char16_t>(byte);
    }
    WCHAR buffer[64] = {u' '};
    const MCIERROR result = mciSendStringW(wide.c_str(), buffer, 64, nullptr);
    if (reply != nullptr) {
        reply->clear();
        for (size_t i = 0; i < 64 && buffer[i] != 0; ++i) {
            *reply += static_cast<char>(buffer[i] & 0xFF);
        }
    }
    return result;
}

std::string ModeOf(const std::string& device) {
    std::string reply;
    const MCIERROR result = Send("status " + device + " mode", &reply);
    return result == 0 ? reply : "error " + std::to_string(result);
}

long PositionOf(const std::string& device) {
    std::string reply;
    return Send("status " + device + " position", &reply) == 0 ? std::strtol(reply.c_str(), nullptr, 10) : -1;
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int OpenDescriptors() {
    std::error_code error;
    int count = 0;
    for (fs::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error)) {
        ++count;
    }
    return count;
}

}  // namespace trallio::media::test
