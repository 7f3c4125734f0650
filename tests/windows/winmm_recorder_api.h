// The control side of the recording winmm.dll: the commands it received, with what it answered,
// and a way to script a device's mode (for instance to end a track). The test host finds these
// functions with GetProcAddress in the winmm.dll the process loaded; finding them tells the host
// that the recorder, not the system's winmm, is in place.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr uint32_t kRecordedCommandUnits = 768;
constexpr uint32_t kRecordedReplyUnits = 128;

struct RecordedMciCommand {
    wchar_t command[kRecordedCommandUnits];  // cut if longer
    wchar_t reply[kRecordedReplyUnits];      // what was written to the caller's buffer, if any
    bool hadReplyBuffer;
    UINT replyCapacity;
    HWND callback;
    DWORD result;
    DWORD threadId;  // the thread that made the call
};

typedef uint32_t (*MciRecorderCountFn)();
typedef bool (*MciRecorderGetFn)(uint32_t index, RecordedMciCommand* command);
typedef void (*MciRecorderClearFn)();
// Sets the mode that "status <device> mode" reports for an open device, named by its quoted
// path as the commands carry it; false when no such device is open.
typedef bool (*MciRecorderSetModeFn)(const wchar_t* device, const wchar_t* mode);

// Makes every later open of a device, named by its quoted path, fail with MCIERR_INVALID_FILE.
typedef void (*MciRecorderRefuseOpenFn)(const wchar_t* device);

// While held, every open waits before it is carried out (a media service that hangs).
typedef void (*MciRecorderHoldOpensFn)(bool held);

#define MCI_RECORDER_HOLD_OPENS "MciRecorder_HoldOpens"
#define MCI_RECORDER_REFUSE_OPEN "MciRecorder_RefuseOpen"
#define MCI_RECORDER_COUNT "MciRecorder_Count"
#define MCI_RECORDER_GET "MciRecorder_Get"
#define MCI_RECORDER_CLEAR "MciRecorder_Clear"
#define MCI_RECORDER_SET_MODE "MciRecorder_SetMode"
