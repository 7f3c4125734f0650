// The script hook's six operations. On Windows they are imported from ScriptHookRDR2.dll under
// their decorated names (see windows/ScriptHookRDR2.def); elsewhere the program that hosts the radio
// (a test fake, the simulator) defines them.
#pragma once

#include <cstdint>

#include "platform/win32.h"

#ifdef _WIN32
__declspec(dllimport) void scriptRegister(HINSTANCE module, void (*script)()) __asm__("sh_scriptRegister");
__declspec(dllimport) void scriptUnregister(HINSTANCE module) __asm__("sh_scriptUnregister");
__declspec(dllimport) void scriptWait(DWORD milliseconds) __asm__("sh_scriptWait");
__declspec(dllimport) void nativeInit(uint64_t hash) __asm__("sh_nativeInit");
__declspec(dllimport) void nativePush64(uint64_t value) __asm__("sh_nativePush64");
__declspec(dllimport) uint64_t* nativeCall() __asm__("sh_nativeCall");
#else
void scriptRegister(HINSTANCE module, void (*script)());
void scriptUnregister(HINSTANCE module);
void scriptWait(DWORD milliseconds);
void nativeInit(uint64_t hash);
void nativePush64(uint64_t value);
uint64_t* nativeCall();
#endif
