// The service behind mciSendStringW (declared in platform/win32.h), and the few extras a Linux
// host or a test may call besides the command strings.
#pragma once

namespace trallio::media {

// Starts GStreamer and loads the decoders, and returns when they are loaded (some 150 ms, most
// of it libav). For a host's start-up, where a pause is harmless. Without it the first open
// starts GStreamer (some 25 ms) and loads the decoders on a background thread, so the caller
// is not held up but the first aac track starts only once they are in.
// Returns false when GStreamer cannot start (every open then fails).
bool StartMediaService();

// Number of devices open now.
int OpenDeviceCount();

// Number of player pipelines that still exist (see device.h).
int LivePipelineCount();

}  // namespace trallio::media
