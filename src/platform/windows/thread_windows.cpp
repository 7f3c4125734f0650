// The radio's thread on Windows: CreateThread and an auto-reset event; while it waits the thread
// dispatches its window messages, where the media service posts its notifications.
#include "platform/thread.h"

#include "platform/win32.h"

namespace trallio {

namespace {

HANDLE wake = nullptr;
HANDLE parked = nullptr;  // set by the thread as it parks
HANDLE never = nullptr;   // never set: the parked thread waits on it for ever
HANDLE thread = nullptr;  // kept for FreezeThread

DWORD WINAPI RunBody(LPVOID body) {
    reinterpret_cast<void (*)()>(body)();
    return 0;
}

}  // namespace

bool StartThread(void (*body)()) {
    if (wake == nullptr) {
        wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        parked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (wake == nullptr || parked == nullptr || never == nullptr) {
            return false;
        }
    }
    thread = CreateThread(nullptr, 0, RunBody, reinterpret_cast<LPVOID>(body), 0, nullptr);
    return thread != nullptr;
}

void WakeThread() {
    if (wake != nullptr) {
        SetEvent(wake);
    }
}

void WaitForWake(uint32_t milliseconds) {
    MsgWaitForMultipleObjects(1, &wake, FALSE, milliseconds, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void ParkThisThread() {
    // Signalling and waiting in one call: once `parked` is seen the thread is inside the system
    // and stays there, whatever happens to the module. The wait is alertable, so that the calls
    // CloseAllWhenParked queued run there, the last of them ending the thread.
    for (;;) {
        SignalObjectAndWait(parked, never, INFINITE, TRUE);
    }
}

void CloseAllWhenParked() {
    // Two asynchronous procedure calls, queued before the thread parks, run in order as soon as it
    // waits alertably: winmm's one-argument mciExecute("close all"), then ExitThread. Neither
    // returns into the module between them, and the text lives on the heap, not in the module.
    // winmm gets a reference of its own, so that it stays loaded after the module that imports it.
    if (thread == nullptr) {
        return;
    }
    HMODULE winmm = nullptr;
    FARPROC execute = GetModuleHandleExW(0, L"winmm.dll", &winmm) ? GetProcAddress(winmm, "mciExecute") : nullptr;
    static const char kCloseAll[] = "close all";
    char* text = execute != nullptr ? static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, sizeof kCloseAll)) : nullptr;
    if (text == nullptr) {
        return;
    }
    CopyMemory(text, kCloseAll, sizeof kCloseAll);
    if (QueueUserAPC(reinterpret_cast<PAPCFUNC>(execute), thread, reinterpret_cast<ULONG_PTR>(text)) != 0) {
        QueueUserAPC(reinterpret_cast<PAPCFUNC>(&ExitThread), thread, 0);
    }
}

bool AwaitParked(uint32_t milliseconds) {
    return parked != nullptr && WaitForSingleObject(parked, milliseconds) == WAIT_OBJECT_0;
}

void FreezeThread() {
    if (thread == nullptr || SuspendThread(thread) == static_cast<DWORD>(-1)) {
        return;
    }
    // SuspendThread returns before the thread has stopped; reading its context waits for that.
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread, &context);
}

void SleepThread(uint32_t milliseconds) {
    Sleep(milliseconds);
}

uint32_t ThreadClockMs() {
    return static_cast<uint32_t>(GetTickCount());
}

uint64_t CurrentThreadNumber() {
    return GetCurrentThreadId();
}

}  // namespace trallio
