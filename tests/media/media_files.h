// Helpers for the media service's tests and benchmark: short audio files made at run time, and
// commands sent as the radio sends them (every byte widened to one 16-bit unit).
#pragma once

#include <string>

#include "platform/win32.h"

#if defined(__SANITIZE_ADDRESS__)
#define TRALLIO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRALLIO_UNDER_ASAN 1
#endif
#endif

namespace trallio::media::test {

// Under AddressSanitizer, with the slow unwinder LSan needs here, every allocation costs
// several times more and a track starts some 100 ms later: timing bounds allow for it.
#ifdef TRALLIO_UNDER_ASAN
constexpr bool kUnderAsan = true;
#else
constexpr bool kUnderAsan = false;
#endif

// A folder of its own for this process, removed when the process exits.
const std::string& ScratchDir();

// A tone of `tenths` tenths of a second, 44.1 kHz stereo, encoded as `type` ("mp3", "aac",
// "wav", "flac" or "ogg") by gst-launch-1.0. Made once per type and length. Returns its absolute
// path, or an empty text when the encoder is not installed or failed.
std::string ToneFile(const std::string& type, int tenths = 10);

// Each true on success.
bool MakeDir(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
bool CopyFile(const std::string& from, const std::string& to);

// Changes the current directory for its lifetime.
class InDirectory {
public:
    explicit InDirectory(const std::string& path);
    ~InDirectory();

private:
    std::string previous_;
};

// Sends `command` through mciSendStringW with a 64-unit reply buffer prepared as the radio does
// (a space, then zeros). The reply, narrowed unit by unit up to the first zero, goes to `reply`.
MCIERROR Send(const std::string& command, std::string* reply = nullptr);
// The reply to "status <device> mode", or "error <code>".
std::string ModeOf(const std::string& device);
// "status <device> position" in milliseconds, or -1 on an error.
long PositionOf(const std::string& device);

// Milliseconds on a monotonic clock.
double NowMs();
void SleepMs(int ms);

// Resident set size and open descriptors of this process.
long ResidentKb();
int OpenDescriptors();

}  // namespace trallio::media::test
