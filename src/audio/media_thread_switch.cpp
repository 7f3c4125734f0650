// The media_thread switch on its own, so that a program that reads the settings but sends no
// media command (the station checker) links no thread.
#include "audio/media_thread.h"

namespace trallio {

bool mediaThreadOn = false;

}  // namespace trallio
