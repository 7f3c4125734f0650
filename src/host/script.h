// The plug-in's life on the script fiber: the settings read once, then one frame step and one
// wait per game frame, for ever.
#pragma once

namespace trallio {

// The function handed to the script hook. Never returns.
void ScriptEntry();
// Reads the settings once, then loops: TickFrame(), scriptWait(0). Never returns.
void RunScript();

}  // namespace trallio
