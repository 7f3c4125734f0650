#include "host/script.h"

#include "host/frame_driver.h"
#include "host/remembered_state.h"
#include "host/settings.h"
#include "playback/play_order.h"
#include "playback/radio_state.h"
#include "playback/track_title.h"

#include "platform/script_hook.h"
#include "platform/win32.h"

namespace trallio {

void RunScript() {
    LoadSettings();
    if (radio.config.playOrder == PlayOrder::kShuffle) {
        SeedShuffle(GetTickCount());
    }
    for (;;) {
        TickFrame();
        scriptWait(0);
    }
}

void ScriptEntry() {
    RunScript();
}

}  // namespace trallio
