#include "pages/PlaceholderChild.h"

#include "framework/WindowClass.h"

bool CreateOverPlaceholder(CWnd& child, HWND placeholder)
{
    RECT area = {};
    GetClientRect(placeholder, &area);
    // Each child keeps a device context of its own: the light and the meter
    // draw every second outside a paint cycle, and a borrowed context would
    // be set up anew (clipping, font, colours) for every one of those draws.
    static const std::wstring className = RegisterAnonymousWindowClass(CS_OWNDC, nullptr, nullptr, nullptr);
    const bool created = child.CreateEx(0, className.c_str(), L"", WS_CHILD | WS_VISIBLE, area.left, area.top,
                                        area.right - area.left, area.bottom - area.top, placeholder, 0);
    if (created)
        SetWindowLongPtrW(placeholder, GWL_STYLE, GetWindowLongPtrW(placeholder, GWL_STYLE) | WS_CLIPCHILDREN);
    return created;
}
