#include "rig.h"

#include <cstdio>
#include <cstdlib>

#include "check.h"
#include "winmm_recorder_api.h"

namespace rig {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

namespace {

char watchedProgram[128];
DWORD watchdogSeconds = 0;

DWORD WINAPI Watchdog(void*) {
    Sleep(watchdogSeconds * 1000);
    char step[1024];
    check::DescribeProgress(step, sizeof step);
    char line[1280];
    const int length = std::snprintf(line, sizeof line, "hang: %s at step %s (still running after %lu s)\n",
                                     watchedProgram, step, static_cast<unsigned long>(watchdogSeconds));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

}  // namespace

void StartWatchdog(const std::string& program, DWORD seconds) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    check::CopyText(watchedProgram, sizeof watchedProgram, program.c_str());
    const char* configured = std::getenv("TRALLIO_WINE_WATCHDOG_SECONDS");
    watchdogSeconds = configured != nullptr && std::atoi(configured) > 0 ? static_cast<DWORD>(std::atoi(configured))
                                                                          : seconds;
    HANDLE thread = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    if (thread != nullptr) {
        CloseHandle(thread);
    }
}

std::vector<WIN32_FIND_DATAW> FindAll(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> found;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        found.push_back(data);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

void RemoveTree(const std::wstring& folder) {
    for (const WIN32_FIND_DATAW& data : FindAll(folder)) {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

GameFolder::GameFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"trallio-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    if (!path_.empty() && path_.back() == L'\\') {
        path_.pop_back();
    }
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    previous_ = current;
    RemoveTree(path_);
    ok_ = CreateDirectoryW(path_.c_str(), nullptr) && SetCurrentDirectoryW(path_.c_str());
}

GameFolder::~GameFolder() {
    SetCurrentDirectoryW(previous_.c_str());
    if (check::Counts().failed > 0) {
        std::printf("game folder kept for a look: %s\n", check::Narrow(path_).c_str());
        return;
    }
    RemoveTree(path_);
}

bool GameFolder::MakeFolder(const std::wstring& relative) const {
    std::wstring path = path_;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = relative.size();
        }
        path += L"\\" + relative.substr(start, end - start);
        if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool GameFolder::Write(const std::wstring& relative, const std::string& bytes) const {
    const size_t slash = relative.find_last_of(L'\\');
    if (slash != std::wstring::npos && !MakeFolder(relative.substr(0, slash))) {
        return false;
    }
    HANDLE file = CreateFileW(At(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool GameFolder::CopyIn(const std::wstring& source, const std::wstring& relative) const {
    const size_t slash = relative.find_last_of(L'\\');
    if (slash != std::wstring::npos && !MakeFolder(relative.substr(0, slash))) {
        return false;
    }
    return CopyFileW(source.c_str(), At(relative).c_str(), FALSE) != 0;
}

std::vector<std::wstring> GameFolder::List(const std::wstring& relative) const {
    std::vector<std::wstring> names;
    for (const WIN32_FIND_DATAW& data : FindAll(At(relative))) {
        names.push_back(data.cFileName);
    }
    return names;
}

bool Hook::Load(const std::wstring& path) {
    module_ = LoadLibraryW(path.c_str());
    if (module_ == nullptr) {
        return false;
    }
    return Find(module_, FAKE_HOOK_SET_PLAYER, setPlayer_) && Find(module_, FAKE_HOOK_STATUS, status_) &&
           Find(module_, FAKE_HOOK_RUN_FRAME, runFrame_) && Find(module_, FAKE_HOOK_NATIVE_COUNT, count_) &&
           Find(module_, FAKE_HOOK_GET_NATIVE, get_) && Find(module_, FAKE_HOOK_CLEAR_NATIVES, clear_) &&
           Find(module_, FAKE_HOOK_SET_SOUND, setSound_) && Find(module_, FAKE_HOOK_SET_PAD, setPad_);
}

void Hook::Unload() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

void Hook::SetPlayer(bool vehicle, bool boat, bool train, bool mount) const {
    const FakePlayerState player{vehicle, boat, train, mount};
    setPlayer_(&player);
}

void Hook::SetSound(bool conversation, bool speaking, bool pauseMenu) const {
    const FakeGameSound sound{conversation, speaking, pauseMenu};
    setSound_(&sound);
}

void Hook::SetPad(const FakePad& pad) const {
    setPad_(&pad);
}

FakeHookStatus Hook::Status() const {
    FakeHookStatus status{};
    status_(&status);
    return status;
}

bool Hook::RunFrame() const {
    check::Frame();
    const bool ran = runFrame_();
    check::Step("between frames");
    return ran;
}

std::vector<FakeNativeCall> Hook::Take() const {
    std::vector<FakeNativeCall> calls(count_());
    for (uint32_t i = 0; i < calls.size(); ++i) {
        get_(i, &calls[i]);
    }
    clear_();
    return calls;
}

std::vector<FakeNativeCall> CallsOf(const std::vector<FakeNativeCall>& calls, uint64_t hash) {
    std::vector<FakeNativeCall> found;
    for (const FakeNativeCall& call : calls) {
        if (call.hash == hash) {
            found.push_back(call);
        }
    }
    return found;
}

namespace {

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateGameWindow(const wchar_t* title, int width, int height) {
    static const wchar_t kClass[] = L"TrallioTestGameWindow";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = GameWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, width, height, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetFocus(window);
        PumpMessages();
    }
    return window;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PressKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return SendInput(1, &input, sizeof input) == 1;
}

bool PressLeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    return SendInput(1, &input, sizeof input) == 1;
}

bool MoveCursorTo(HWND window, float x, float y) {
    RECT client;
    if (!GetClientRect(window, &client)) {
        return false;
    }
    POINT point{static_cast<LONG>(x * static_cast<float>(client.right - client.left) + 0.5f),
                static_cast<LONG>(y * static_cast<float>(client.bottom - client.top) + 0.5f)};
    ClientToScreen(window, &point);
    if (!SetCursorPos(point.x, point.y)) {
        return false;
    }
    PumpMessages();
    POINT now;
    return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
}

POINT ClientCentreOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT centre{(client.right - client.left) / 2, (client.bottom - client.top) / 2};
    ClientToScreen(window, &centre);
    return centre;
}

void ReleaseAll() {
    PressKey('Q', false);
    PressKey('R', false);
    PressLeftButton(false);
    PumpMessages();
    // Reading the keys clears their "pressed since the last query" bit.
    GetAsyncKeyState('Q');
    GetAsyncKeyState('R');
    GetAsyncKeyState(VK_LBUTTON);
}

}  // namespace rig
