// The service behind mciSendStringW (declared in platform/win32.h), and the few extras a Linux
// host or a test may call besides the command strings.
#pragma once

namespace trallio::media {

// Starts GStreamer, looks for the system's audio output and loads the decoders, and returns
// when all is done (0.15 to 0.35 s, most of it libav). For a host's start-up, where a pause is
// harmless. Without it the first open starts GStreamer (25 to 60 ms) and the decoders load on a
// background thread, so the caller is not held up long but the first track starts late.
// Returns false when GStreamer cannot start (every open then fails).
bool StartMediaService();

// Commands return before GStreamer has acted on them: state changes and the teardown of closed
// devices happen on a thread of the service's own. This returns once everything sent so far
// has been carried out. For a host shutting down, and for tests.
void SettleMediaService();

// Number of devices open now.
int OpenDeviceCount();

// Number of player pipelines that still exist, open or closed but not yet torn down; after
// SettleMediaService, those of the open devices.
int LivePipelineCount();

}  // namespace trallio::media
