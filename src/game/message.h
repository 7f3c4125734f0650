// A short text in the game's on-screen message log.
#pragma once

namespace trallio {

// Shows `text` through the message-log natives: the text made a game string, added, shown, and
// the log cleared for the next one.
void ShowMessage(const char* text);

}  // namespace trallio
