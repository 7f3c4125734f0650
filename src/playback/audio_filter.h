// The audio-file rule: which folder entries a station plays.
#pragma once

namespace trallio {

// True when the name is taken as a track: it contains ".mp3", ".aac", ".wav", ".flac" or ".ogg",
// in exactly that case, anywhere.
bool IsAudioFile(const char* name);

}  // namespace trallio
