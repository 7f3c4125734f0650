// The small Win32 subset the radio uses, under its Win32 names and signatures.
// On Windows this is <windows.h> itself. Elsewhere the subset is declared here and defined by the
// program that hosts the radio: the posix stand-ins (INI reader, media service) and the host's
// keyboard, mouse and window.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>
#else
#include <cstdint>

typedef int BOOL;
typedef unsigned long DWORD;
typedef unsigned int UINT;
typedef int16_t SHORT;
typedef long LONG;
typedef char16_t WCHAR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef DWORD MCIERROR;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef void* HANDLE;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
typedef struct _OVERLAPPED* LPOVERLAPPED;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct POINT {
    LONG x;
    LONG y;
};

#define WINAPI
#define TRUE 1
#define FALSE 0
#define VK_LBUTTON 0x01
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define GENERIC_WRITE 0x40000000UL
#define CREATE_ALWAYS 2
#define FILE_ATTRIBUTE_NORMAL 0x80
#define MOVEFILE_REPLACE_EXISTING 0x1

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned,
                               DWORD size, LPCSTR fileName);
MCIERROR mciSendStringW(LPCWSTR command, LPWSTR returnString, UINT returnLength, HWND callback);
SHORT GetAsyncKeyState(int virtualKey);
SHORT GetKeyState(int virtualKey);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
DWORD GetTickCount(void);
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
BOOL CloseHandle(HANDLE object);
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);
BOOL DeleteFileA(LPCSTR fileName);
HWND GetForegroundWindow();
#endif
