#include "app/RunningInstance.h"

#include "settings/ProgramIdentity.h"

HWND FindRunningInstance(const std::wstring& title)
{
    if (HWND tray = FindWindowW(kProgramWindowClass, kTrayWindowTitle))
        return tray;
    if (HWND window = FindWindowW(kProgramWindowClass, nullptr))
        return window;
    // An empty title would match any untitled dialog on the desktop.
    return title.empty() ? nullptr : FindWindowW(L"#32770", title.c_str());
}
