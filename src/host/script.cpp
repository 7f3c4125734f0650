#include "host/script.h"

#include "host/frame_driver.h"
#include "host/settings.h"

#include "platform/script_hook.h"

namespace trallio {

void RunScript() {
    LoadSettings();
    for (;;) {
        TickFrame();
        scriptWait(0);
    }
}

void ScriptEntry() {
    RunScript();
}

}  // namespace trallio
