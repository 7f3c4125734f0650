// The simulator on the GStreamer media service: the tracks are really decoded and played (or
// dropped in real time, as TRALLIO_AUDIO_SINK says) and end by themselves.
//
// The service knows nothing of traces, so the simulator links the service without its
// mciSendStringW and defines its own: the radio's calls come here, are passed on to the service's
// C entry, and are traced in the recording stand-in's format, so a trace reads the same whichever
// service played it.
#include <cstdio>
#include <string>

#include "fake_host.h"
#include "natives_catalog.h"
#include "platform/posix/media/mci_entry.h"
#include "platform/posix/media/media_service.h"
#include "platform/win32.h"
#include "simulator.h"

MCIERROR mciSendStringW(LPCWSTR command, LPWSTR reply, UINT replyLength, HWND callback) {
    const MCIERROR result = trallio_media_send_string(command, reply, replyLength, callback);
    const std::string text = fakehost::NarrowUnits(command);
    std::string line = fakehost::MediaLine(command, reply, replyLength, callback);
    if (text.compare(0, 7, "status ") == 0) {
        line += " = \"" + (result == 0 && reply != nullptr ? fakehost::NarrowUnits(reply) : std::string()) + "\"";
    }
    if (result != 0) {
        line += " -> " + std::to_string(result);
    }
    // media_thread: the commands the radio's own thread sends say so.
    if (!fakehost::OnScriptThread()) {
        line += " (radio's thread)";
    }
    fakehost::Record(fakehost::EventKind::Media, line);
    return result;
}

namespace sim {

const char* MediaServiceName() {
    return "GStreamer";
}

bool StartMediaService() {
    return trallio::media::StartMediaService();
}

void StopMediaService(const std::string& device) {
    if (!device.empty()) {
        // Straight to the service: the host closing up is no call of the radio's, so untraced.
        std::u16string command = u"close ";
        for (unsigned char c : device) {
            command += static_cast<char16_t>(c);
        }
        trallio_media_send_string(command.c_str(), nullptr, 0, nullptr);
    }
    trallio::media::SettleMediaService();
}

bool CanFinishTracks() {
    return false;
}

bool FinishPlayingTracks() {
    return false;
}

}  // namespace sim
