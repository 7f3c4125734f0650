// The one thread of the radio's own (media_thread) and what it needs: a start, a wake signal it
// waits on, and a clock both sides may read. Windows threads and events on Windows, POSIX threads
// and a semaphore elsewhere.
#pragma once

#include <cstdint>

namespace trallio {

// Starts `body` on a new thread that is never joined. Returns false when no thread started.
bool StartThread(void (*body)());

// Wakes the waiting thread; never blocks. Any number of wakes before a wait count as one or more.
void WakeThread();

// Waits up to `milliseconds` for a wake. On Windows the thread's window messages are dispatched
// while it waits, so that the media service's notifications reach it.
void WaitForWake(uint32_t milliseconds);

// Called by the thread itself: tells AwaitParked that it will never run the radio's code again,
// and blocks inside the system for ever (the module may be unmapped around it).
[[noreturn]] void ParkThisThread();
// Called before asking the thread to park (module unload): once parked, the thread closes every
// media device it opened ("close all") and ends, in the system's code alone, so that this runs
// after the module is unmapped and the loader lock is free (a close may unload the media
// service's driver). A reload can then open the same files again. Does nothing on Linux.
void CloseAllWhenParked();

// Waits up to `milliseconds` for the thread to park; false on time-out.
bool AwaitParked(uint32_t milliseconds);

// When the thread did not park in time (it is inside a media call that does not return):
// suspends it for good, so that it never runs the radio's code again in a module that is about
// to be unmapped. A thread that is not running the radio's code by then is left alone.
void FreezeThread();

// Sleeps the calling thread (for hosts that wait for the thread; never the script fiber in play).
void SleepThread(uint32_t milliseconds);

// Milliseconds of a monotonic clock, wrapping at 32 bits; safe on any thread.
uint32_t ThreadClockMs();

// A number naming the calling thread, for records of who made a call.
uint64_t CurrentThreadNumber();

}  // namespace trallio
