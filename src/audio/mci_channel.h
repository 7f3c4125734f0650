// One track on the media-control service, named by its station folder and file name. Every
// operation rebuilds the device name, the quoted path "folder\name", and sends one or two command
// strings; nothing waits, and only the status poll reads a reply. `utf8Names`: the folder and name
// are UTF-8 and go as UTF-16 (unicode_names); otherwise each byte goes as one unit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"
#include "text/text_format.h"

namespace trallio {

// Sends the open and, when the service accepts it, the play. Returns false when the service
// refused the open (the play is then not sent); an empty folder or name sends nothing and counts
// as accepted.
bool OpenTrack(const char* folder, const char* track, bool utf8Names);
void CloseTrack(const char* folder, const char* track, bool utf8Names);
// "setaudio ... volume to <level>": the level in force, which the caller works out.
void SetTrackVolume(const char* folder, const char* track, int32_t level, bool utf8Names);
void PauseTrack(const char* folder, const char* track, bool utf8Names);
void ResumeTrack(const char* folder, const char* track, bool utf8Names);
bool IsTrackStopped(const char* folder, const char* track, bool utf8Names);

// What the same status query learnt: the track is still playing (or paused), it has stopped, or
// the service refused the query (the device is not open, or the file cannot be played).
enum class TrackMode { kPlaying, kStopped, kRefused };
TrackMode QueryTrackMode(const char* folder, const char* track, bool utf8Names);

// " volume to <level>" and its terminator, for the volume command's tail.
constexpr size_t kVolumeTailSize = 11 + kDecimalSize;
void FormatVolumeTail(int32_t level, char* tail);

// Whether a status reply of `units` (read up to the first zero unit) holds "stopped".
bool ReplySaysStopped(const WCHAR* reply, size_t units);

}  // namespace trallio
