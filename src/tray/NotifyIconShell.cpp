#include "tray/NotifyIconShell.h"

#include <algorithm>

namespace {

class CWin32NotifyIconShell : public INotifyIconShell {
public:
    bool NotifyIcon(DWORD message, const NOTIFYICONDATAW& record) override
    {
        NOTIFYICONDATAW copy = record; // the API takes a non-const record
        return Shell_NotifyIconW(message, &copy) != FALSE;
    }
};

} // namespace

INotifyIconShell& PlatformNotifyIconShell()
{
    static CWin32NotifyIconShell shell;
    return shell;
}

NOTIFYICONDATAW MakeNotifyIconRecord(HWND window, UINT flags, UINT callbackMessage, HICON icon,
                                     const std::wstring& tip)
{
    NOTIFYICONDATAW record = {};
    // The version-1 size: the shell reads no field past the 64-character tip.
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    record.uID = 0;
    record.uFlags = flags;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = icon;
    size_t length = std::min(tip.size(), kTrayTipCapacity - 1);
    std::copy_n(tip.data(), length, record.szTip);
    record.szTip[length] = L'\0';
    return record;
}
