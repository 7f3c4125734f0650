// The radio's thread on Windows: CreateThread and an auto-reset event; while it waits the thread
// dispatches its window messages, where the media service posts its notifications.
#include "platform/thread.h"

#include "platform/win32.h"

namespace trallio {

namespace {

HANDLE wake = nullptr;
HANDLE parked = nullptr;  // set by the thread as it parks
HANDLE never = nullptr;   // never set: the parked thread waits on it for ever

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
    HANDLE thread = CreateThread(nullptr, 0, RunBody, reinterpret_cast<LPVOID>(body), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    CloseHandle(thread);
    return true;
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
    // and stays there, whatever happens to the module.
    for (;;) {
        SignalObjectAndWait(parked, never, INFINITE, FALSE);
    }
}

bool AwaitParked(uint32_t milliseconds) {
    return parked != nullptr && WaitForSingleObject(parked, milliseconds) == WAIT_OBJECT_0;
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
