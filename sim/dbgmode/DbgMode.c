/*
 * DbgMode.dll: a stand-in for the modem's debug-mode plug-in. It keeps the
 * started flag and records every call: when the environment variable
 * DBGMODE_LOG names a file, each export appends one line holding its own name.
 */
#include <windows.h>

#define DBGMODE_API __declspec(dllexport)

static volatile LONG s_started;

/* Appends "name\n" in one write, so that lines of several processes never mix. */
static void Record(const char *name)
{
    WCHAR path[MAX_PATH];
    char line[64];
    DWORD length = GetEnvironmentVariableW(L"DBGMODE_LOG", path, MAX_PATH);
    DWORD size = 0;
    DWORD written;
    HANDLE file;

    if (length == 0 || length >= MAX_PATH)
        return;
    while (name[size] != '\0' && size + 2 < sizeof(line)) {
        line[size] = name[size];
        ++size;
    }
    line[size++] = '\n';
    file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, size, &written, NULL);
    CloseHandle(file);
}

DBGMODE_API int __cdecl isDebugModeStarted(void)
{
    Record("isDebugModeStarted");
    return InterlockedCompareExchange(&s_started, 0, 0) != 0;
}

/* The main window is not used: the stand-in has no user interface. */
DBGMODE_API void __cdecl startDebugMode(void *mainWindow)
{
    (void)mainWindow;
    Record("startDebugMode");
    InterlockedExchange(&s_started, 1);
}

DBGMODE_API void __cdecl stopDebugMode(void)
{
    Record("stopDebugMode");
    InterlockedExchange(&s_started, 0);
}

DBGMODE_API void __cdecl generateLogFile(void)
{
    Record("generateLogFile");
}
