// The module's entry point: registers the script with the hook on load and unregisters it on
// unload; an unload also parks the media thread, if it was started, within a bounded wait.
#include "audio/media_thread.h"
#include "host/script.h"
#include "platform/script_hook.h"
#include "platform/win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        scriptRegister(module, trallio::ScriptEntry);
    } else if (reason == DLL_PROCESS_DETACH) {
        // Unloaded while the process goes on (media_thread): the thread stops its track and parks
        // before the module is unmapped. At process exit it is already gone: nothing to do.
        if (reserved == nullptr) {
            trallio::StopMediaThread();
        }
        scriptUnregister(module);
    }
    return TRUE;
}
