// A winmm.dll that records the media-control command strings it is sent instead of playing
// anything. It keeps a small model of the devices so that its answers make sense: "open" makes a
// device named by its quoted path, "play" and "resume" set it playing, "pause" pauses it, "close"
// removes it, and "status <device> mode" reports its mode; commands for a device that is not open
// fail as MCI fails them, and a device the host marked refused fails its open as an unreadable file. The test host reads the record and scripts modes through the functions
// of winmm_recorder_api.h. Every command is also appended to winmm-commands.log in the current
// folder, for reading after a failed run.
// Only the base headers: mmsystem.h would declare mciSendStringW as an import.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "winmm_recorder_api.h"

namespace {

constexpr DWORD kMciErrorUnrecognizedCommand = 261;  // MCIERR_UNRECOGNIZED_COMMAND
constexpr DWORD kMciErrorInvalidDeviceName = 263;    // MCIERR_INVALID_DEVICE_NAME
constexpr DWORD kMciErrorDeviceOpen = 265;           // MCIERR_DEVICE_OPEN
constexpr DWORD kMciErrorParamOverflow = 268;        // MCIERR_PARAM_OVERFLOW
constexpr DWORD kMciErrorInvalidFile = 296;          // MCIERR_INVALID_FILE

std::vector<RecordedMciCommand> commands;
std::map<std::wstring, std::wstring> devices;  // quoted path -> mode
std::map<std::wstring, DWORD> owners;           // quoted path -> the thread that opened it
std::set<std::wstring> refusedOpens;           // quoted paths whose open fails
// The plug-in's media thread sends while the host reads the record.
SRWLOCK lock = SRWLOCK_INIT;
volatile LONG opensHeld = 0;

struct Locked {
    Locked() { AcquireSRWLockExclusive(&lock); }
    ~Locked() { ReleaseSRWLockExclusive(&lock); }
};

void CopyUnits(wchar_t* destination, size_t capacity, const wchar_t* text) {
    size_t i = 0;
    for (; text != nullptr && i + 1 < capacity && text[i] != 0; ++i) {
        destination[i] = text[i];
    }
    destination[i] = 0;
}

// Splits "verb <device> rest": the device is a quoted path (quotes kept) or a single word.
void Split(const std::wstring& command, std::wstring& verb, std::wstring& device, std::wstring& rest) {
    size_t at = command.find(L' ');
    verb = command.substr(0, at);
    if (at == std::wstring::npos) {
        return;
    }
    ++at;
    size_t end;
    if (at < command.size() && command[at] == L'"') {
        end = command.find(L'"', at + 1);
        end = end == std::wstring::npos ? command.size() : end + 1;
    } else {
        end = command.find(L' ', at);
        if (end == std::wstring::npos) {
            end = command.size();
        }
    }
    device = command.substr(at, end - at);
    rest = end < command.size() ? command.substr(end) : std::wstring();
}

DWORD Execute(const std::wstring& command, std::wstring& reply) {
    std::wstring verb, device, rest;
    Split(command, verb, device, rest);
    if (verb == L"close" && device == L"all") {
        // As the system's service does: the devices the calling thread opened.
        for (auto owned = owners.begin(); owned != owners.end();) {
            if (owned->second == GetCurrentThreadId()) {
                devices.erase(owned->first);
                owned = owners.erase(owned);
            } else {
                ++owned;
            }
        }
        return 0;
    }
    if (verb == L"open") {
        if (devices.count(device) != 0) {
            return kMciErrorDeviceOpen;
        }
        if (refusedOpens.count(device) != 0) {
            return kMciErrorInvalidFile;
        }
        devices[device] = L"stopped";
        owners[device] = GetCurrentThreadId();
        reply = std::to_wstring(devices.size());
        return 0;
    }
    auto found = devices.find(device);
    if (found == devices.end()) {
        return kMciErrorInvalidDeviceName;
    }
    if (verb == L"play" || verb == L"resume") {
        found->second = L"playing";
    } else if (verb == L"pause") {
        found->second = L"paused";
    } else if (verb == L"close") {
        devices.erase(found);
        owners.erase(device);
    } else if (verb == L"status" && rest == L" mode") {
        reply = found->second;
    } else if (verb != L"setaudio") {
        return kMciErrorUnrecognizedCommand;
    }
    return 0;
}

void AppendToLog(const RecordedMciCommand& entry) {
    FILE* log = _wfopen(L"winmm-commands.log", L"a");
    if (log == nullptr) {
        return;
    }
    std::fwprintf(log, L"%ls -> %lu", entry.command, static_cast<unsigned long>(entry.result));
    if (entry.hadReplyBuffer) {
        std::fwprintf(log, L" [%ls]", entry.reply);
    }
    std::fwprintf(log, L"\n");
    std::fclose(log);
}

}  // namespace

extern "C" {

DWORD WINAPI mciSendStringW(const wchar_t* command, wchar_t* reply, UINT replyCapacity, HWND callback) {
    if (command != nullptr && std::wcsncmp(command, L"open ", 5) == 0) {
        while (InterlockedCompareExchange(&opensHeld, 0, 0) != 0) {
            Sleep(5);
        }
    }
    Locked held;
    RecordedMciCommand entry{};
    entry.threadId = GetCurrentThreadId();
    CopyUnits(entry.command, kRecordedCommandUnits, command);
    entry.hadReplyBuffer = reply != nullptr;
    entry.replyCapacity = replyCapacity;
    entry.callback = callback;

    std::wstring answer;
    entry.result = command == nullptr ? kMciErrorUnrecognizedCommand : Execute(command, answer);
    if (reply != nullptr && replyCapacity > 0 && entry.result == 0) {
        if (answer.size() >= replyCapacity) {
            entry.result = kMciErrorParamOverflow;
        } else {
            std::wmemcpy(reply, answer.c_str(), answer.size() + 1);
            CopyUnits(entry.reply, kRecordedReplyUnits, reply);
        }
    }
    commands.push_back(entry);
    AppendToLog(entry);
    return entry.result;
}

uint32_t MciRecorder_Count() {
    Locked held;
    return static_cast<uint32_t>(commands.size());
}

bool MciRecorder_Get(uint32_t index, RecordedMciCommand* command) {
    Locked held;
    if (index >= commands.size()) {
        return false;
    }
    *command = commands[index];
    return true;
}

void MciRecorder_Clear() {
    Locked held;
    commands.clear();
}

bool MciRecorder_SetMode(const wchar_t* device, const wchar_t* mode) {
    Locked held;
    auto found = devices.find(device);
    if (found == devices.end()) {
        return false;
    }
    found->second = mode;
    return true;
}

void MciRecorder_RefuseOpen(const wchar_t* device) {
    Locked held;
    refusedOpens.insert(device);
}

// The one-argument form the radio's thread queues to close its devices as it ends.
BOOL WINAPI mciExecute(const char* command) {
    std::wstring wide;
    for (const char* at = command; at != nullptr && *at != 0; ++at) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*at));
    }
    return mciSendStringW(wide.c_str(), nullptr, 0, nullptr) == 0;
}

void MciRecorder_HoldOpens(bool held) {
    InterlockedExchange(&opensHeld, held ? 1 : 0);
}

}  // extern "C"
