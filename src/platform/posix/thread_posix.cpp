// The radio's thread on Linux: a detached POSIX thread and a semaphore as its wake signal.
#include "platform/thread.h"

#include <errno.h>
#include <pthread.h>
#include <semaphore.h>
#include <time.h>
#include <unistd.h>

namespace trallio {

namespace {

sem_t wake;
pthread_once_t wakeOnce = PTHREAD_ONCE_INIT;

void InitWake() {
    sem_init(&wake, 0, 0);
}

void* RunBody(void* body) {
    reinterpret_cast<void (*)()>(body)();
    return nullptr;
}

}  // namespace

bool StartThread(void (*body)()) {
    pthread_once(&wakeOnce, InitWake);
    pthread_t thread;
    if (pthread_create(&thread, nullptr, RunBody, reinterpret_cast<void*>(body)) != 0) {
        return false;
    }
    pthread_detach(thread);
    return true;
}

void WakeThread() {
    pthread_once(&wakeOnce, InitWake);
    int value = 0;
    // Keeps the count at one or so: a wait after many wakes returns once, then waits again.
    if (sem_getvalue(&wake, &value) == 0 && value > 0) {
        return;
    }
    sem_post(&wake);
}

void WaitForWake(uint32_t milliseconds) {
    timespec until;
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += milliseconds / 1000;
    until.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_nsec -= 1000000000L;
        ++until.tv_sec;
    }
    while (sem_timedwait(&wake, &until) != 0 && errno == EINTR) {
    }
}

// A Linux program never unloads the radio: nothing to freeze it against or close after it.
void FreezeThread() {}
void CloseAllWhenParked() {}

void SleepThread(uint32_t milliseconds) {
    timespec span{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&span, nullptr);
}

namespace {
sem_t parkedSignal;
pthread_once_t parkedOnce = PTHREAD_ONCE_INIT;
void InitParked() {
    sem_init(&parkedSignal, 0, 0);
}
}  // namespace

void ParkThisThread() {
    pthread_once(&parkedOnce, InitParked);
    sem_post(&parkedSignal);
    for (;;) {
        pause();
    }
}

bool AwaitParked(uint32_t milliseconds) {
    pthread_once(&parkedOnce, InitParked);
    for (uint32_t waited = 0; waited <= milliseconds; ++waited) {
        if (sem_trywait(&parkedSignal) == 0) {
            sem_post(&parkedSignal);
            return true;
        }
        SleepThread(1);
    }
    return false;
}

uint32_t ThreadClockMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

uint64_t CurrentThreadNumber() {
    return static_cast<uint64_t>(pthread_self());
}

}  // namespace trallio
