// A recording stand-in for the media-control service: it keeps each device's mode as the
// commands leave it, records every command string, and lets a test end a track or fail an open.
#pragma once

#include <string>
#include <thread>
#include <vector>

namespace fakehost {

// Device names are the quoted path as sent, quotes included, narrowed one unit to one byte.
void ResetMedia();
// The track plays to its end: its mode becomes "stopped".
void FinishTrack(const std::string& quotedPath);
// Every open device that plays ends.
void FinishAllTracks();
// Opens of this quoted path fail with "file not found".
void FailOpen(const std::string& quotedPath);
// The service forgets an open device, as when it drops one it can no longer play: every later
// command naming it is refused with "device not open".
void DropDevice(const std::string& quotedPath);
// Status queries of this quoted path are refused (MCIERR_INTERNAL, 277), whether it is open or not,
// as with a file the service opens but cannot play.
void RefuseStatus(const std::string& quotedPath);
// Replace the service's answer to status queries: `units` is written as the reply (up to and
// including its terminator only when `terminate`); `writeNothing` leaves the buffer untouched.
void OverrideStatusReply(const std::u16string& units, bool terminate, bool writeNothing = false);
void ClearStatusOverride();
// The mode of a device ("" when not open), and how many devices are open.
std::string DeviceMode(const std::string& quotedPath);
int OpenDeviceCount();
// Opens of a device that was already open (a track opened twice without a close between).
int DoubleOpens();

// media_thread: while held, an open does not return until released (a service that hangs).
void HoldOpens(bool held);
// The thread that made each media call since the last reset, in order.
std::vector<std::thread::id> MediaCallThreads();

}  // namespace fakehost
