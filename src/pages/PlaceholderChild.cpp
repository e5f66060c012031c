#include "pages/PlaceholderChild.h"

#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/MessageTable.h"
#include "framework/WindowClass.h"

bool CPlaceholderChild::CreateOver(HWND placeholder)
{
    RECT area = {};
    GetClientRect(placeholder, &area);
    // Each child keeps a device context of its own: the light and the meter
    // draw every second outside a paint cycle, and a borrowed context would
    // be set up anew (clipping, font, colours) for every one of those draws.
    static const std::wstring className = RegisterAnonymousWindowClass(CS_OWNDC, nullptr, nullptr, nullptr);
    const bool created = CreateEx(0, className.c_str(), L"", WS_CHILD | WS_VISIBLE, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, placeholder, 0);
    if (created) {
        SetWindowLongPtrW(placeholder, GWL_STYLE, GetWindowLongPtrW(placeholder, GWL_STYLE) | WS_CLIPCHILDREN);
        m_nDpi = Dpi::ForWindow(m_hWnd);
    }
    return created;
}

void CPlaceholderChild::ChangeDpi(unsigned dpi)
{
    if (!IsWindow())
        return;
    RECT area = {};
    GetClientRect(GetParent(m_hWnd), &area);
    SetWindowPos(m_hWnd, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_nDpi = dpi;
    OnDpiChanged();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CPlaceholderChild::DrawNow()
{
    if (!IsWindow() || !IsWindowVisible(m_hWnd))
        return;
    ClientDC dc(m_hWnd);
    if (dc.get())
        DrawChange(dc.get());
}

bool CPlaceholderChild::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CPlaceholderChild> table[] = {
        {WM_PAINT, kAnyCode, kAnyId, &CPlaceholderChild::OnPaint},
        {WM_PRINTCLIENT, kAnyCode, kAnyId, &CPlaceholderChild::OnPrintClient},
        {WM_ERASEBKGND, kAnyCode, kAnyId, &CPlaceholderChild::OnEraseBackground},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

LRESULT CPlaceholderChild::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd);
    Paint(paint.get(), false);
    return 0;
}

LRESULT CPlaceholderChild::OnPrintClient(WPARAM wParam, LPARAM)
{
    Paint(reinterpret_cast<HDC>(wParam), true);
    return 0;
}

LRESULT CPlaceholderChild::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // painting covers the whole client area
}
