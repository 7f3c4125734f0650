#include "test_play.h"

#include <cstddef>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#else
#include "platform/posix/media/mci_errors.h"
#include "platform/win32.h"
#endif

namespace check {

namespace {

// The device name as the radio builds it: "folder\name" in quotes, each byte widened to one
// 16-bit unit of the same value.
using Units = std::basic_string<WCHAR>;

Units Command(const char* keyword, const std::string& folder, const std::string& name, const char* tail) {
    const std::string text = std::string(keyword) + "\"" + folder + "\\" + name + "\"" + tail;
    Units units;
    for (const char c : text) {
        units += static_cast<WCHAR>(static_cast<unsigned char>(c));
    }
    return units;
}

unsigned long Send(const Units& command, WCHAR* reply, unsigned replyUnits) {
    return mciSendStringW(command.c_str(), reply, replyUnits, nullptr);
}

std::string ErrorText(unsigned long error) {
#ifdef _WIN32
    wchar_t text[256] = L"";
    if (!mciGetErrorStringW(error, text, 256)) {
        return "unknown error";
    }
    // The checker prints in the system's code page.
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
#else
    return trallio::media::MciErrorText(error);
#endif
}

}  // namespace

PlayResult TestPlay(const std::string& folder, const std::string& name) {
    PlayResult result;
    unsigned long error = Send(Command("open ", folder, name, " type MPEGVideo"), nullptr, 0);
    result.command = "open";
    if (error == 0) {
        WCHAR reply[64] = {' '};
        error = Send(Command("status ", folder, name, " mode"), reply, 64);
        result.command = "status";
    }
    Send(Command("close ", folder, name, ""), nullptr, 0);
    if (error != 0) {
        result.refused = true;
        result.error = error;
        result.reason = ErrorText(error);
    }
    return result;
}

std::string RefusalHint(const PlayResult& result, bool isFolder) {
    if (isFolder) {
        return "move the folder out of the station, or rename it without the audio type";
    }
    switch (result.error) {
        case 275:  // MCIERR_FILE_NOT_FOUND
            return "the file could not be found or read: check its name and that it is not locked";
        case 266:  // MCIERR_CANNOT_LOAD_DRIVER
            return "install the missing codec, or convert the file to .mp3 or .wav";
        default:
            return "convert the file to .mp3 or .wav (it may be corrupt, empty or of a format without a codec), or "
                   "install the missing codec";
    }
}

}  // namespace check
