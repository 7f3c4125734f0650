// The module's entry point: registers the script with the hook on load and unregisters it on
// unload. Nothing else happens on the loader's thread.
#include "host/script.h"
#include "platform/script_hook.h"
#include "platform/win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        scriptRegister(module, trallio::ScriptEntry);
    } else if (reason == DLL_PROCESS_DETACH) {
        scriptUnregister(module);
    }
    return TRUE;
}
