// The service's command entry under a plain C name: mciSendStringW (mci_entry.cpp, in
// trallio_media) only passes its arguments on to it. A host that wants to see every command, like
// the simulator's tracer, links trallio_media_service alone, defines mciSendStringW itself and
// calls this.
#pragma once

#include "platform/win32.h"

extern "C" MCIERROR trallio_media_send_string(LPCWSTR command, LPWSTR returnString, UINT returnLength,
                                               HWND callback);
