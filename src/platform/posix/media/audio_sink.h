// Where a device's sound goes.
//
// TRALLIO_AUDIO_SINK chooses, read at every open:
//   system  the system's audio output (the sink autoaudiosink picks);
//   fake    a sink that drops the sound but keeps to the clock, so tracks last as long as they
//           would on a sound card (machines without one, CI);
//   fast    a sink that drops the sound as fast as it is decoded (tests);
//   unset, empty, "auto" or anything else: the system's output when the machine has one, else fake.
#pragma once

#include <gst/gst.h>

namespace trallio::media {

enum class SinkMode { System, Fake, Fast };

// The mode for the next device. Looking for a system output costs a probe the first time it is
// needed; the answer is kept for the life of the process.
SinkMode ChooseSinkMode();

// A floating bin "volume ! sink" with a ghost sink pad, for playbin's audio-sink. `volume`
// receives the bin's volume element (owned by the bin). Null if an element cannot be made.
GstElement* MakeSinkBin(SinkMode mode, GstElement** volume);

}  // namespace trallio::media
