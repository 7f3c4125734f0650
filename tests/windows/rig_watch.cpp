// The watches on the plug-in's calls: the media-control commands (through the recording winmm or
// passed on to the system's), the desktop's answers and the state file's writes.
#include <cstring>

#include "check.h"
#include "rig.h"
#include "winmm_recorder_api.h"

namespace rig {

namespace {

typedef DWORD(WINAPI* MciSendStringWFn)(const wchar_t*, wchar_t*, UINT, HWND);

HMODULE recorderModule = nullptr;
MciSendStringWFn systemMci = nullptr;
std::vector<MediaCommand> passedThrough;
// The plug-in's own thread (media_thread) passes commands through while the host takes them.
SRWLOCK passedThroughLock = SRWLOCK_INIT;
DWORD hostThread = 0;  // the thread that attached: only its steps are shown by the watchdog

DWORD WINAPI PassThroughMci(const wchar_t* command, wchar_t* reply, UINT capacity, HWND callback) {
    MediaCommand seen;
    seen.command = command != nullptr ? command : L"";
    seen.hadReplyBuffer = reply != nullptr;
    seen.replyCapacity = capacity;
    seen.callback = callback;
    seen.threadId = GetCurrentThreadId();
    const bool onHost = seen.threadId == hostThread;
    if (onHost) {
        check::Step("in the plug-in's frame, waiting for mciSendStringW(" + check::Show(seen.command) + ")");
    }
    seen.result = systemMci(command, reply, capacity, callback);
    if (onHost) {
        check::Step("in the plug-in's frame");
    }
    if (reply != nullptr && capacity > 0) {
        size_t length = 0;
        while (length < capacity && reply[length] != 0) {
            ++length;
        }
        seen.reply.assign(reply, length);
    }
    AcquireSRWLockExclusive(&passedThroughLock);
    passedThrough.push_back(seen);
    ReleaseSRWLockExclusive(&passedThroughLock);
    return seen.result;
}

// Points the module's import of `function` from `dll` at `replacement`; gives the old target.
bool RedirectImport(HMODULE module, const char* dll, const char* function, void* replacement, void** original) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return false;
    }
    for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0 ||
            descriptor->OriginalFirstThunk == 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) {
                continue;
            }
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection)) {
                return false;
            }
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

// RedirectImport with the old target kept in `original`, as the function type it is.
template <typename Fn>
bool Redirect(HMODULE module, const char* dll, const char* function, Fn replacement, Fn& original) {
    void* old = nullptr;
    if (!RedirectImport(module, dll, function, reinterpret_cast<void*>(replacement), &old)) {
        return false;
    }
    original = reinterpret_cast<Fn>(old);
    return true;
}

typedef HWND(WINAPI* GetForegroundWindowFn)();
typedef DWORD(WINAPI* GetTickCountFn)();

GetForegroundWindowFn systemForeground = nullptr;
GetTickCountFn systemTickCount = nullptr;
int foregroundCalls = 0;
int tickCountCalls = 0;
HWND scriptedForeground = nullptr;
bool tickCountScripted = false;
DWORD scriptedTickCount = 0;

HWND WINAPI WatchedForeground() {
    ++foregroundCalls;
    return scriptedForeground != nullptr ? scriptedForeground : systemForeground();
}

DWORD WINAPI WatchedTickCount() {
    ++tickCountCalls;
    return tickCountScripted ? scriptedTickCount : systemTickCount();
}

}  // namespace

bool DesktopWatch::Attach(HMODULE plugin) {
    foregroundCalls = 0;
    tickCountCalls = 0;
    scriptedForeground = nullptr;
    tickCountScripted = false;
    return Redirect(plugin, "USER32.dll", "GetForegroundWindow", &WatchedForeground, systemForeground) &&
           Redirect(plugin, "KERNEL32.dll", "GetTickCount", &WatchedTickCount, systemTickCount);
}

int DesktopWatch::ForegroundCalls() const {
    return foregroundCalls;
}

int DesktopWatch::TickCountCalls() const {
    return tickCountCalls;
}

void DesktopWatch::AnswerForeground(HWND window) const {
    scriptedForeground = window;
}

void DesktopWatch::AnswerTickCount(DWORD milliseconds) const {
    tickCountScripted = true;
    scriptedTickCount = milliseconds;
}

namespace {

typedef BOOL(WINAPI* FlushFileBuffersFn)(HANDLE);
typedef BOOL(WINAPI* MoveFileExAFn)(LPCSTR, LPCSTR, DWORD);

FlushFileBuffersFn systemFlush = nullptr;
MoveFileExAFn systemMove = nullptr;
int flushCalls = 0;
std::vector<DWORD> moveFlags;

BOOL WINAPI WatchedFlush(HANDLE file) {
    ++flushCalls;
    return systemFlush(file);
}

BOOL WINAPI WatchedMove(LPCSTR from, LPCSTR to, DWORD flags) {
    moveFlags.push_back(flags);
    return systemMove(from, to, flags);
}

}  // namespace

bool FileWatch::Attach(HMODULE plugin) {
    flushCalls = 0;
    moveFlags.clear();
    Redirect(plugin, "KERNEL32.dll", "FlushFileBuffers", &WatchedFlush, systemFlush);
    return Redirect(plugin, "KERNEL32.dll", "MoveFileExA", &WatchedMove, systemMove);
}

int FileWatch::FlushCalls() const {
    return flushCalls;
}

std::vector<DWORD> FileWatch::MoveFlags() const {
    return moveFlags;
}

bool MediaWatch::AttachRecorder() {
    HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    recorder_ = winmm != nullptr && GetProcAddress(winmm, MCI_RECORDER_COUNT) != nullptr;
    recorderModule = recorder_ ? winmm : nullptr;
    taken_ = 0;
    return recorder_;
}

bool MediaWatch::AttachPassThrough(HMODULE plugin) {
    recorder_ = false;
    if (!Redirect(plugin, "WINMM.dll", "mciSendStringW", &PassThroughMci, systemMci)) {
        return false;
    }
    hostThread = GetCurrentThreadId();
    AcquireSRWLockExclusive(&passedThroughLock);
    passedThrough.clear();
    ReleaseSRWLockExclusive(&passedThroughLock);
    return true;
}

std::vector<MediaCommand> MediaWatch::Take() {
    std::vector<MediaCommand> commands;
    if (!recorder_) {
        AcquireSRWLockExclusive(&passedThroughLock);
        commands.swap(passedThrough);
        ReleaseSRWLockExclusive(&passedThroughLock);
        return commands;
    }
    MciRecorderCountFn count;
    MciRecorderGetFn get;
    if (!Find(recorderModule, MCI_RECORDER_COUNT, count) || !Find(recorderModule, MCI_RECORDER_GET, get)) {
        return commands;
    }
    const uint32_t total = count();
    for (; taken_ < total; ++taken_) {
        RecordedMciCommand recorded;
        if (!get(taken_, &recorded)) {
            break;
        }
        commands.push_back({recorded.command, recorded.reply, recorded.hadReplyBuffer, recorded.replyCapacity,
                            recorded.callback, recorded.result, recorded.threadId});
    }
    return commands;
}

bool MediaWatch::SetMode(const std::wstring& device, const std::wstring& mode) const {
    MciRecorderSetModeFn setMode;
    return recorder_ && Find(recorderModule, MCI_RECORDER_SET_MODE, setMode) && setMode(device.c_str(), mode.c_str());
}

bool MediaWatch::RefuseOpen(const std::wstring& device) const {
    MciRecorderRefuseOpenFn refuse;
    if (!recorder_ || !Find(recorderModule, MCI_RECORDER_REFUSE_OPEN, refuse)) {
        return false;
    }
    refuse(device.c_str());
    return true;
}

bool MediaWatch::HoldOpens(bool held) const {
    MciRecorderHoldOpensFn hold;
    if (!recorder_ || !Find(recorderModule, MCI_RECORDER_HOLD_OPENS, hold)) {
        return false;
    }
    hold(held);
    return true;
}

DWORD MediaWatch::Send(const std::wstring& command, std::wstring* reply) const {
    MciSendStringWFn send = systemMci;
    if ((recorder_ && !Find(recorderModule, "mciSendStringW", send)) || send == nullptr) {
        return ~0u;
    }
    wchar_t buffer[128] = {};
    check::Step("between frames, waiting for the host's mciSendStringW(" + check::Show(command) + ")");
    const DWORD result = send(command.c_str(), buffer, 128, nullptr);
    check::Step("between frames");
    if (reply != nullptr) {
        *reply = buffer;
    }
    return result;
}

}  // namespace rig
