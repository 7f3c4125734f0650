// mciSendStringW on Linux: the GStreamer service's command entry under its Win32 name.
#include "platform/posix/media/mci_entry.h"

MCIERROR mciSendStringW(LPCWSTR command, LPWSTR returnString, UINT returnLength, HWND callback) {
    return trallio_media_send_string(command, returnString, returnLength, callback);
}
