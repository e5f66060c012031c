#include "skin/SkinButton.h"

#include "framework/Dpi.h"
#include "framework/MessageTable.h"
#include "framework/WindowClass.h"
#include "settings/XVuk.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

const COLORREF kFocusRingColour = PALETTERGB(164, 164, 164);
// The focus mark inside the dotted ring, in the art's accent colour: the
// ring alone hardly shows on the buttons' grey rims.
const COLORREF kFocusMarkColour = PALETTERGB(22, 132, 216);

bool IsActivationKey(UINT key)
{
    return key == VK_RETURN || key == VK_SPACE;
}

} // namespace

CSkinButton::CSkinButton() : m_strip(true) {}

CSkinButton::~CSkinButton()
{
    DestroyWindow();
}

void CSkinButton::Create(CWnd& parent, const RECT& place, int stripColumn, UINT commandId,
                         const std::wstring& tooltipText, unsigned dpi)
{
    m_nDpi = dpi;
    m_pParent = &parent;
    m_nStripColumn = stripColumn;
    m_nCommandId = commandId;
    m_tooltipText = tooltipText;

    std::wstring className =
        RegisterAnonymousWindowClass(0, LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), nullptr, nullptr);
    // The window text is the tool-tip's: the name screen readers give the button.
    if (!CreateEx(0, className.c_str(), tooltipText.c_str(), WS_CHILD | WS_VISIBLE, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, parent.m_hWnd, commandId))
        throw XVuk("Can't create button %u", commandId);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    m_tooltip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
    if (m_tooltip) {
        // One tool: the button window itself, whole, with id 0 standing for "the window".
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = parent.m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        tool.lpszText = m_tooltipText.data();
        SendMessageW(m_tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tooltip.get(), TTM_ACTIVATE, TRUE, 0);
    }
}

void CSkinButton::Rescale(CDib& strip, const RECT& place, int stripColumn, unsigned dpi)
{
    m_nDpi = dpi;
    m_strip.Swap(strip);
    m_nStripColumn = stripColumn;
    m_canvas.Release();
    if (IsWindow())
        SetWindowPos(m_hWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinButton::SetEnabled(bool enable)
{
    const bool changed = m_bDisabled == enable;
    m_bDisabled = !enable;
    if (IsWindow()) {
        Repaint();
        if (changed)
            NotifyAccessible(m_hWnd, EVENT_OBJECT_STATECHANGE);
    }
}

void CSkinButton::SetFocused(bool focused)
{
    m_bFocused = focused;
    if (focused && IsWindow())
        NotifyAccessible(m_hWnd, EVENT_OBJECT_FOCUS);
}

AccessibleItem CSkinButton::AccessibleSelf() const
{
    AccessibleItem item;
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.name = m_tooltipText;
    item.state = STATE_SYSTEM_FOCUSABLE | (m_bFocused ? STATE_SYSTEM_FOCUSED : 0) |
                 (m_bDisabled ? STATE_SYSTEM_UNAVAILABLE : 0) | (m_bPressed ? STATE_SYSTEM_PRESSED : 0) |
                 (m_bHot ? STATE_SYSTEM_HOTTRACKED : 0);
    return item;
}

void CSkinButton::KeyDown(UINT key)
{
    m_bPressed = m_bFocused && !m_bDisabled && IsActivationKey(key);
    Repaint();
}

void CSkinButton::KeyUp(UINT key)
{
    if (m_bDisabled || !IsActivationKey(key))
        return;
    if (m_bPressed && m_bFocused)
        PostCommand();
    m_bPressed = false;
    Repaint();
}

CSkinButton::Image CSkinButton::CurrentImage() const
{
    if (m_bPressed)
        return kImagePressed;
    if (m_bHot)
        return kImageHot;
    if (m_bDisabled)
        return kImageDisabled;
    return kImageNormal;
}

void CSkinButton::PaintContent(HDC dc) const
{
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    int width = client.right;
    int height = client.bottom;
    if (width <= 0 || height <= 0)
        return;
    const int top = (int(CurrentImage()) * m_strip.m_nHeight + 2) / 4;
    m_strip.Draw(dc, 0, 0, m_nStripColumn, top, width, height);

    if (m_bFocused) {
        UniquePen pen(CreatePen(PS_DOT, 1, kFocusRingColour));
        SelectObjectScope selectPen(dc, pen.get());
        int oldMode = SetBkMode(dc, TRANSPARENT);
        const POINT ring[5] = {{0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}, {0, 0}};
        MoveToEx(dc, ring[0].x, ring[0].y, nullptr);
        for (int i = 1; i < 5; ++i)
            LineTo(dc, ring[i].x, ring[i].y);
        SetBkMode(dc, oldMode);
        // A rounded line inside the button's rim.
        const int inset = Dpi::Scale(2, m_nDpi), corner = Dpi::Scale(6, m_nDpi);
        UniquePen mark(CreatePen(PS_SOLID, Dpi::Scale(1, m_nDpi), kFocusMarkColour));
        SelectObjectScope selectMark(dc, mark.get());
        SelectObjectScope hollow(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, inset, inset, width - inset, height - inset, corner, corner);
    }
}

bool CSkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CSkinButton> table[] = {
        {WM_PAINT, kAnyCode, kAnyId, &CSkinButton::OnPaint},
        {WM_ERASEBKGND, kAnyCode, kAnyId, &CSkinButton::OnEraseBackground},
        {WM_MOUSEMOVE, kAnyCode, kAnyId, &CSkinButton::OnMouseMove},
        {WM_LBUTTONDOWN, kAnyCode, kAnyId, &CSkinButton::OnLeftButtonDown},
        {WM_LBUTTONUP, kAnyCode, kAnyId, &CSkinButton::OnLeftButtonUp},
        {WM_CAPTURECHANGED, kAnyCode, kAnyId, &CSkinButton::OnCaptureChanged},
        {WM_DESTROY, kAnyCode, kAnyId, &CSkinButton::OnDestroy},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

LRESULT CSkinButton::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd);
    RECT client;
    GetClientRect(m_hWnd, &client);
    HDC target = paint.get();
    // Composed off screen over the parent's picture, then put on in one
    // transfer: the button never shows a half-drawn state.
    if (m_pBackdrop && m_canvas.Ensure(target, client.right, client.bottom)) {
        RECT place = client;
        MapWindowPoints(m_hWnd, GetParent(m_hWnd), reinterpret_cast<POINT*>(&place), 2);
        m_pBackdrop->DrawButtonBackdrop(m_canvas.Dc(), place);
        PaintContent(m_canvas.Dc());
        BitBlt(target, 0, 0, client.right, client.bottom, m_canvas.Dc(), 0, 0, SRCCOPY);
    } else {
        PaintContent(target);
    }
    return 0;
}

LRESULT CSkinButton::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // the paint covers every pixel
}

LRESULT CSkinButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    RelayToTooltip(WM_MOUSEMOVE, wParam, lParam);
    bool inside = ContainsPoint(lParam);
    if (m_bDisabled)
        return 0;
    if (inside) {
        if (!m_bHot) {
            m_bHot = true;
            SetCapture(m_hWnd);
            Repaint();
        }
        return 0;
    }
    if (m_bPressed)
        return 0; // keeps the capture and stays pressed until the release
    m_bHot = false;
    ReleaseCapture();
    Repaint();
    return 0;
}

LRESULT CSkinButton::OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    RelayToTooltip(WM_LBUTTONDOWN, wParam, lParam);
    if (!m_bPressed && !m_bDisabled) {
        m_bPressed = true;
        Repaint();
    }
    return 0;
}

LRESULT CSkinButton::OnLeftButtonUp(WPARAM wParam, LPARAM lParam)
{
    RelayToTooltip(WM_LBUTTONUP, wParam, lParam);
    if (m_bPressed && ContainsPoint(lParam))
        PostCommand();
    m_bPressed = false;
    m_bHot = false;
    ReleaseCapture();
    Repaint();
    return 0;
}

LRESULT CSkinButton::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Another window took the capture (a message box, a window switch): the
    // pointer can no longer be followed, so the button must not stay hot or pressed.
    if (reinterpret_cast<HWND>(lParam) != m_hWnd && (m_bHot || m_bPressed)) {
        m_bHot = false;
        m_bPressed = false;
        Repaint();
    }
    return 0;
}

LRESULT CSkinButton::OnDestroy(WPARAM, LPARAM)
{
    m_tooltip.reset();
    m_canvas.Release();
    return 0;
}

void CSkinButton::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_tooltip)
        return;
    MSG relayed = {};
    relayed.hwnd = m_hWnd;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = GetTickCount();
    relayed.pt.x = GET_X_LPARAM(lParam);
    relayed.pt.y = GET_Y_LPARAM(lParam);
    SendMessageW(m_tooltip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool CSkinButton::ContainsPoint(LPARAM lParam) const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point) != FALSE;
}

void CSkinButton::PostCommand()
{
    if (m_pParent && m_pParent->m_hWnd)
        PostMessageW(m_pParent->m_hWnd, WM_COMMAND, MAKEWPARAM(m_nCommandId, 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void CSkinButton::Repaint()
{
    if (!m_hWnd)
        return;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
}
