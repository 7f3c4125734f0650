#include "fake_media.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "fake_host.h"
#include "host_record.h"
#include "natives_catalog.h"
#include "platform/win32.h"

namespace fakehost {

namespace {

struct Media {
    std::map<std::string, std::string> modes;
    std::set<std::string> failing;
    std::set<std::string> refusingStatus;
    bool overrideStatus = false;
    std::u16string overrideUnits;
    bool overrideTerminate = true;
    bool overrideWriteNothing = false;
    int doubleOpens = 0;
    std::vector<std::thread::id> callThreads;
};

// The radio's own thread (media_thread) sends while the test changes what the service does.
std::recursive_mutex mediaLock;
std::mutex holdLock;
std::condition_variable holdChanged;
bool opensHeld = false;
Media media;

void WriteReply(LPWSTR buffer, UINT capacity, const char* text) {
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    UINT i = 0;
    for (; text[i] != 0 && i + 1 < capacity; ++i) {
        buffer[i] = static_cast<unsigned char>(text[i]);
    }
    buffer[i] = 0;
}

}  // namespace

void ResetMedia() {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    media = Media{};
}

void HoldOpens(bool held) {
    {
        std::lock_guard<std::mutex> hold(holdLock);
        opensHeld = held;
    }
    holdChanged.notify_all();
}

std::vector<std::thread::id> MediaCallThreads() {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    return media.callThreads;
}

void FinishTrack(const std::string& quotedPath) {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    auto found = media.modes.find(quotedPath);
    if (found != media.modes.end()) {
        found->second = "stopped";
    }
}

void FinishAllTracks() {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    for (auto& device : media.modes) {
        if (device.second == "playing") {
            device.second = "stopped";
        }
    }
}

void FailOpen(const std::string& quotedPath) {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    media.failing.insert(quotedPath);
}

void RefuseStatus(const std::string& quotedPath) {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    media.refusingStatus.insert(quotedPath);
}

void DropDevice(const std::string& quotedPath) {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    media.modes.erase(quotedPath);
}

void OverrideStatusReply(const std::u16string& units, bool terminate, bool writeNothing) {
    media.overrideStatus = true;
    media.overrideUnits = units;
    media.overrideTerminate = terminate;
    media.overrideWriteNothing = writeNothing;
}

void ClearStatusOverride() {
    media.overrideStatus = false;
}

std::string DeviceMode(const std::string& quotedPath) {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    auto found = media.modes.find(quotedPath);
    return found == media.modes.end() ? "" : found->second;
}

int OpenDeviceCount() {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    return static_cast<int>(media.modes.size());
}

int DoubleOpens() {
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    return media.doubleOpens;
}

// Waits while opens are held, then notes the calling thread; kept while the trace is (a long run
// records nothing, so that nothing grows per frame).
void AwaitCall(const std::string& text) {
    if (text.compare(0, 5, "open ") == 0) {
        std::unique_lock<std::mutex> held(holdLock);
        holdChanged.wait(held, [] { return !opensHeld; });
    }
    std::lock_guard<std::recursive_mutex> hold(mediaLock);
    if (host.keep) {
        media.callThreads.push_back(std::this_thread::get_id());
    }
}

}  // namespace fakehost

MCIERROR mciSendStringW(LPCWSTR command, LPWSTR reply, UINT replyLength, HWND callback) {
    using fakehost::media;
    const std::string text = fakehost::NarrowUnits(command);
    fakehost::AwaitCall(text);
    std::lock_guard<std::recursive_mutex> hold(fakehost::mediaLock);
    std::string line = fakehost::MediaLine(command, reply, replyLength, callback);

    // keyword, quoted device name, rest
    const size_t space = text.find(' ');
    const std::string keyword = text.substr(0, space);
    std::string device;
    std::string rest;
    if (space != std::string::npos && space + 1 < text.size() && text[space + 1] == '"') {
        const size_t close = text.find('"', space + 2);
        if (close != std::string::npos) {
            device = text.substr(space + 1, close - space);
            rest = text.substr(close + 1);
        }
    }

    MCIERROR result = 0;
    std::string answer;
    auto found = media.modes.find(device);
    const bool known = found != media.modes.end();
    if (device.empty()) {
        result = 261;
    } else if (keyword == "open") {
        if (media.failing.count(device) != 0) {
            result = 275;
        } else {
            if (known) {
                ++media.doubleOpens;
            }
            media.modes[device] = "stopped";
        }
    } else if (!known) {
        result = 263;
    } else if (keyword == "play" || keyword == "resume") {
        found->second = "playing";
    } else if (keyword == "pause") {
        found->second = "paused";
    } else if (keyword == "close") {
        media.modes.erase(found);
    } else if (keyword == "status") {
        if (media.refusingStatus.count(device) != 0) {
            result = 277;
        }
        answer = found->second;
    } else if (keyword != "setaudio") {
        result = 261;
    }

    if (keyword == "status") {
        if (media.overrideStatus) {
            if (!media.overrideWriteNothing && reply != nullptr) {
                for (size_t i = 0; i < media.overrideUnits.size() && i < replyLength; ++i) {
                    reply[i] = media.overrideUnits[i];
                }
                if (media.overrideTerminate && media.overrideUnits.size() < replyLength) {
                    reply[media.overrideUnits.size()] = 0;
                }
            }
            answer = "(override)";
            result = 0;
        } else if (result == 0) {
            fakehost::WriteReply(reply, replyLength, answer.c_str());
        }
        line += " = \"" + answer + "\"";
    }
    if (result != 0) {
        line += " -> " + std::to_string(result);
    }
    fakehost::Record(fakehost::EventKind::Media, line);
    return result;
}
