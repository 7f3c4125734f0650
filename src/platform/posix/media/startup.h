// Starting GStreamer inside the service.
#pragma once

namespace trallio::media {

// Starts GStreamer the first time (later calls only report the outcome), loads the plugins the
// caller's thread needs to open a device, and sets a background thread loading the decoders.
// Returns false when GStreamer cannot start.
bool StartGStreamer();

// Waits until the background thread has loaded the decoders (at once if it has).
void WaitForDecoders();

}  // namespace trallio::media
