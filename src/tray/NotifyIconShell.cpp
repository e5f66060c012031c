#include "tray/NotifyIconShell.h"

#include <algorithm>
#include <iterator>

namespace {

class CWin32NotifyIconShell : public INotifyIconShell {
public:
    bool NotifyIcon(DWORD message, const NOTIFYICONDATAW& record) override
    {
        NOTIFYICONDATAW copy = record; // the API takes a non-const record
        return Shell_NotifyIconW(message, &copy) != FALSE;
    }
};

// Copies a text into a record's field of `capacity` characters, cut to
// leave room for the terminating zero.
void CopyCut(const std::wstring& text, WCHAR* field, size_t capacity)
{
    const size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, field);
    field[length] = L'\0';
}

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
    CopyCut(tip, record.szTip, kTrayTipCapacity); // the version-1 field, shorter than the record's
    return record;
}

NOTIFYICONDATAW MakeBalloonRecord(HWND window, const std::wstring& title, const std::wstring& text, bool warning)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = window;
    record.uID = 0;
    record.uFlags = NIF_INFO;
    CopyCut(title, record.szInfoTitle, std::size(record.szInfoTitle));
    CopyCut(text, record.szInfo, std::size(record.szInfo));
    record.uTimeout = 10000; // milliseconds; newer shells choose the time themselves
    record.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    return record;
}
