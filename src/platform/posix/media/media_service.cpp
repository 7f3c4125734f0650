// mciSendStringW on Linux: parses the command, finds the device by name and acts on it.
// All commands come from one thread and return without waiting on playback.
#include "platform/posix/media/media_service.h"

#include <map>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/posix/media/command.h"
#include "platform/posix/media/device.h"
#include "platform/posix/media/file_path.h"
#include "platform/posix/media/mci_entry.h"
#include "platform/posix/media/mci_errors.h"
#include "platform/posix/media/player.h"
#include "platform/posix/media/startup.h"
#include "platform/win32.h"

namespace trallio::media {

static_assert(std::is_same<MciError, MCIERROR>::value, "MciError stands for MCIERROR");

namespace {

struct OpenDevice {
    DWORD id = 0;
    Device device;
};

using DeviceTable = std::map<std::u16string, std::unique_ptr<OpenDevice>>;

// Devices by name. Never destroyed: devices still open when the process exits are not torn down
// from a static destructor, where GStreamer and the sound server may already be going away.
DeviceTable& Devices() {
    static DeviceTable* table = new DeviceTable;
    return *table;
}

DWORD lastId = 0;

std::string Utf8(const std::u16string& name) {
    return NameToPath(name, true);
}

class Reply {
public:
    Reply(LPWSTR buffer, UINT length) : buffer_(buffer), length_(length) {}

    void Set(const char* text) { text_ = text; }
    void SetNumber(unsigned long value) {
        number_ = std::to_string(value);
        text_ = number_.c_str();
    }

    // Copies the reply into the caller's buffer, always zero-terminated within its length (an
    // error leaves the empty text). A reply that does not fit is cut and reported as
    // kMciParamOverflow.
    MciError Deliver(MciError result) {
        if (buffer_ == nullptr || length_ == 0) {
            return result;
        }
        const char* text = result == kMciOk ? text_ : "";
        UINT i = 0;
        for (; text[i] != 0 && i + 1 < length_; ++i) {
            buffer_[i] = static_cast<WCHAR>(static_cast<unsigned char>(text[i]));
        }
        buffer_[i] = 0;
        return text[i] != 0 ? kMciParamOverflow : result;
    }

private:
    LPWSTR buffer_;
    UINT length_;
    const char* text_ = "";
    std::string number_;
};

const char* ModeText(Mode mode) {
    switch (mode) {
        case Mode::Playing:
            return "playing";
        case Mode::Paused:
            return "paused";
        case Mode::Stopped:
            break;
    }
    return "stopped";
}

MciError OpenFile(const Command& command, Reply& reply) {
    DeviceTable& devices = Devices();
    if (devices.count(command.device) != 0) {
        return kMciDeviceOpen;
    }
    std::string path;
    switch (FindFile(command.device, path)) {
        case FileCheck::Missing:
            return kMciFileNotFound;
        case FileCheck::NotAFile:
            return kMciInvalidFile;
        case FileCheck::Readable:
            break;
    }
    if (!StartGStreamer()) {
        return kMciCannotLoadDriver;
    }
    std::unique_ptr<OpenDevice> entry(new OpenDevice);
    const MciError error = entry->device.Open(path, Utf8(command.device));
    if (error != kMciOk) {
        return error;
    }
    entry->id = ++lastId;
    reply.SetNumber(entry->id);
    devices.emplace(command.device, std::move(entry));
    return kMciOk;
}

MciError Execute(const Command& command, Reply& reply) {
    if (command.verb == Verb::Open) {
        return OpenFile(command, reply);
    }
    DeviceTable& devices = Devices();
    if (command.all) {
        devices.clear();
        return kMciOk;
    }
    auto found = devices.find(command.device);
    if (found == devices.end()) {
        return kMciInvalidDeviceName;
    }
    Device& device = found->second->device;
    switch (command.verb) {
        case Verb::Play:
            // Playing to the end before returning is what "wait" asks; this service never blocks.
            return command.wait ? kMciUnsupportedFunction : device.Play();
        case Verb::Pause:
            device.Pause();
            return kMciOk;
        case Verb::Resume:
            return command.wait ? kMciUnsupportedFunction : device.Resume();
        case Verb::Close:
            devices.erase(found);
            return kMciOk;
        case Verb::SetAudio:
            device.SetVolume(command.volume);
            return kMciOk;
        case Verb::Status:
            switch (command.item) {
                case StatusItem::Mode:
                    reply.Set(ModeText(device.CurrentMode()));
                    break;
                case StatusItem::Position:
                    reply.SetNumber(device.PositionMs());
                    break;
                case StatusItem::Length:
                    reply.SetNumber(device.LengthMs());
                    break;
                case StatusItem::Volume:
                    reply.SetNumber(device.Volume());
                    break;
            }
            return kMciOk;
        case Verb::Open:
            break;
    }
    return kMciUnrecognizedCommand;
}

}  // namespace

void SettleMediaService() {
    SettleStateChanges();
}

int OpenDeviceCount() {
    return static_cast<int>(Devices().size());
}

int LivePipelineCount() {
    return LivePipelines();
}

}  // namespace trallio::media

extern "C" MCIERROR trallio_media_send_string(LPCWSTR command, LPWSTR returnString, UINT returnLength, HWND) {
    using namespace trallio::media;
    Reply reply(returnString, returnLength);
    Command parsed;
    MciError result = ParseCommand(command, parsed);
    if (result == kMciOk) {
        result = Execute(parsed, reply);
    }
    return reply.Deliver(result);
}
