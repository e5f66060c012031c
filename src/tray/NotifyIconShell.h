// The one seam through which the tray window reaches the shell's
// notification area. The program uses the shell itself; tests install a
// recorder to see exactly which records were sent, and how often.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

class INotifyIconShell {
public:
    virtual ~INotifyIconShell() = default;
    // Shell_NotifyIcon: message is NIM_ADD, NIM_MODIFY or NIM_DELETE.
    virtual bool NotifyIcon(DWORD message, const NOTIFYICONDATAW& record) = 0;
};

// The shell's own notification area (Shell_NotifyIconW).
INotifyIconShell& PlatformNotifyIconShell();

// Tool-tip texts of this many UTF-16 characters or more do not fit the
// version-1 record's field with its terminating zero.
inline constexpr size_t kTrayTipCapacity = 64;

// The version-1 record of the program's one icon: icon id 0 of the window,
// the given flags, callback message, icon and tool-tip (cut to the field,
// which callers have checked already).
NOTIFYICONDATAW MakeNotifyIconRecord(HWND window, UINT flags, UINT callbackMessage, HICON icon,
                                     const std::wstring& tip);

// The shell's info balloon over the program's icon: the first record size
// that carries it (version 2), flag NIF_INFO only, so picture and tool-tip
// stay as they are; the title and text cut to their fields (63 and 255
// characters), the info or the warning symbol.
NOTIFYICONDATAW MakeBalloonRecord(HWND window, const std::wstring& title, const std::wstring& text, bool warning);
