#include "test_play.h"

#include "audio/media_command.h"
#include "platform/win32.h"
#ifndef _WIN32
#include "platform/posix/media/mci_errors.h"
#endif

namespace check {

namespace {

// The command as the radio sends it, from the radio's own builder.
unsigned long Send(const char* keyword, const std::string& folder, const std::string& name, const char* tail,
                   bool utf8Names, WCHAR* reply = nullptr, unsigned replyUnits = 0) {
    trallio::MediaCommand command;
    trallio::BuildMediaCommand(command, keyword, folder.c_str(), name.c_str(), tail, utf8Names);
    return mciSendStringW(command.units, reply, replyUnits, nullptr);
}

std::string ErrorText(unsigned long error, bool utf8) {
#ifdef _WIN32
    wchar_t text[256] = L"";
    if (!mciGetErrorStringW(error, text, 256)) {
        return "unknown error";
    }
    // In the report's encoding: UTF-8 with Unicode names, else the system's code page.
    char narrow[1024] = "";
    WideCharToMultiByte(utf8 ? CP_UTF8 : CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
#else
    (void)utf8;
    return trallio::media::MciErrorText(error);
#endif
}

}  // namespace

PlayResult TestPlay(const std::string& folder, const std::string& name, bool utf8Names) {
    PlayResult result;
    unsigned long error = Send("open ", folder, name, " type MPEGVideo", utf8Names);
    result.command = "open";
    if (error == 0) {
        WCHAR reply[64] = {' '};
        error = Send("status ", folder, name, " mode", utf8Names, reply, 64);
        result.command = "status";
    }
    Send("close ", folder, name, "", utf8Names);
    if (error != 0) {
        result.refused = true;
        result.error = error;
        result.reason = ErrorText(error, utf8Names);
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
