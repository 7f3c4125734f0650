// The test host's pieces: a game folder of its own per test, the fake script hook and the plug-in
// loaded from it, the game window and the input the player gives, and the record of the media
// commands the plug-in sends (from the recording winmm.dll, or from a pass-through in front of the
// system's winmm).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_hook_api.h"

namespace rig {

// The folder the host program runs from, with the rig's files beside it.
std::wstring ProgramFolder();

// Bounds the program's run: if it is still running after `seconds` (TRALLIO_WINE_WATCHDOG_SECONDS
// in the environment, if set, instead), prints "hang: <program> at step ..." with what it was
// doing (check::Section, check::Frame, check::Step) and ends the process with status 3. Standard
// output is unbuffered from here on, so that all the program printed before is in the log too.
void StartWatchdog(const std::string& program, DWORD seconds);

// A throw-away game folder under the temporary folder. It becomes the current folder while it
// exists and is removed, with everything in it, when the object goes; after a failed check it is
// kept (with the recording winmm's log in it) and its path printed.
class GameFolder {
public:
    explicit GameFolder(const std::wstring& name);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    bool ok() const { return ok_; }
    const std::wstring& path() const { return path_; }
    std::wstring At(const std::wstring& relative) const { return path_ + L"\\" + relative; }
    // Makes the folder (and the folders above it) inside the game folder.
    bool MakeFolder(const std::wstring& relative) const;
    // Writes the bytes to a file inside the game folder, making its folder first.
    bool Write(const std::wstring& relative, const std::string& bytes) const;
    bool CopyIn(const std::wstring& source, const std::wstring& relative) const;
    // The names the platform lists in one of its folders, in the platform's order.
    std::vector<std::wstring> List(const std::wstring& relative) const;

private:
    std::wstring path_;
    std::wstring previous_;
    bool ok_ = false;
};

// Every entry the platform lists in a folder, dots included, in the platform's order.
std::vector<WIN32_FIND_DATAW> FindAll(const std::wstring& folder);
void RemoveTree(const std::wstring& folder);

// The fake ScriptHookRDR2.dll, loaded like the game loads the real one, and its control functions.
class Hook {
public:
    bool Load(const std::wstring& path);
    void Unload();
    HMODULE module() const { return module_; }

    void SetPlayer(bool vehicle, bool boat, bool train, bool mount) const;
    void SetSound(bool conversation, bool speaking, bool pauseMenu) const;
    void SetPad(const FakePad& pad) const;
    FakeHookStatus Status() const;
    bool RunFrame() const;
    // The native calls recorded since the last call of Take (or the load).
    std::vector<FakeNativeCall> Take() const;

private:
    HMODULE module_ = nullptr;
    FakeHookSetPlayerFn setPlayer_ = nullptr;
    FakeHookSetSoundFn setSound_ = nullptr;
    FakeHookSetPadFn setPad_ = nullptr;
    FakeHookStatusFn status_ = nullptr;
    FakeHookRunFrameFn runFrame_ = nullptr;
    FakeHookNativeCountFn count_ = nullptr;
    FakeHookGetNativeFn get_ = nullptr;
    FakeHookClearNativesFn clear_ = nullptr;
};

// The export `name` of `module` as `function`; false if it has none.
template <typename T>
bool Find(HMODULE module, const char* name, T& function) {
    function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// Calls of one native among the recorded ones.
std::vector<FakeNativeCall> CallsOf(const std::vector<FakeNativeCall>& calls, uint64_t hash);

// One media-control command as the plug-in sent it, with what it got back.
struct MediaCommand {
    std::wstring command;
    std::wstring reply;
    bool hadReplyBuffer = false;
    UINT replyCapacity = 0;
    HWND callback = nullptr;
    DWORD result = 0;
    DWORD threadId = 0;  // recorder only
};

// Where the plug-in's media commands are seen.
class MediaWatch {
public:
    // The recording winmm.dll, if that is the winmm the process loaded. False otherwise.
    bool AttachRecorder();
    // The system's winmm, watched through the plug-in's own import of mciSendStringW, which is
    // pointed at a pass-through that records each command and reply.
    bool AttachPassThrough(HMODULE plugin);
    bool recorder() const { return recorder_; }
    // Commands since the last Take.
    std::vector<MediaCommand> Take();
    // Scripts the recorder's answer for a device (recorder only).
    bool SetMode(const std::wstring& device, const std::wstring& mode) const;
    // Makes the recorder refuse every later open of a device (recorder only).
    bool RefuseOpen(const std::wstring& device) const;
    // Holds every later open until released (recorder only).
    bool HoldOpens(bool held) const;
    // Sends a command of the host's own to the same winmm the plug-in uses.
    DWORD Send(const std::wstring& command, std::wstring* reply = nullptr) const;

private:
    bool recorder_ = false;
    uint32_t taken_ = 0;
};

// The plug-in's own calls of GetForegroundWindow and GetTickCount, seen through its imports: each
// call is counted, and while an answer is scripted it is given instead of the system's.
class DesktopWatch {
public:
    bool Attach(HMODULE plugin);
    int ForegroundCalls() const;
    int TickCountCalls() const;
    // nullptr: the system's foreground window again.
    void AnswerForeground(HWND window) const;
    void AnswerTickCount(DWORD milliseconds) const;
};

// The plug-in's calls that force its writes to the disk, seen through its imports: each
// FlushFileBuffers (none if it does not import it) and the flags of each MoveFileExA.
class FileWatch {
public:
    // False if the plug-in does not import MoveFileExA.
    bool Attach(HMODULE plugin);
    int FlushCalls() const;
    // The flags of every MoveFileExA since Attach, in order.
    std::vector<DWORD> MoveFlags() const;
};

// The game window and the player's hands.
HWND CreateGameWindow(const wchar_t* title, int width, int height);
void PumpMessages();
bool PressKey(WORD key, bool down);
bool PressLeftButton(bool down);
// Puts the cursor on a point of the window's client area given as fractions of its size.
bool MoveCursorTo(HWND window, float x, float y);
POINT ClientCentreOnScreen(HWND window);
// Lets go of every key and button the tests use, so that nothing stays held on the shared desktop.
void ReleaseAll();

}  // namespace rig
