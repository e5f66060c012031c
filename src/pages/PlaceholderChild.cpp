#include "pages/PlaceholderChild.h"

#include "framework/WindowClass.h"

bool CreateOverPlaceholder(CWnd& child, HWND placeholder)
{
    RECT area = {};
    GetClientRect(placeholder, &area);
    static const std::wstring className = RegisterAnonymousWindowClass(0, nullptr, nullptr, nullptr);
    const bool created = child.CreateEx(0, className.c_str(), L"", WS_CHILD | WS_VISIBLE, area.left, area.top,
                                        area.right - area.left, area.bottom - area.top, placeholder, 0);
    if (created)
        SetWindowLongPtrW(placeholder, GWL_STYLE, GetWindowLongPtrW(placeholder, GWL_STYLE) | WS_CLIPCHILDREN);
    return created;
}
