#include "framework/Wnd.h"

#include "framework/Accessible.h"
#include "framework/ErrorBox.h"
#include "framework/WinApp.h"

CWnd::~CWnd()
{
    if (m_hWnd) {
        HWND window = m_hWnd;
        // The derived part is gone already: later messages go to the default procedure.
        WindowGone();
        if (::IsWindow(window))
            ::DestroyWindow(window);
    }
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, UINT_PTR idOrMenu)
{
    HWND window = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(idOrMenu), GetModuleHandleW(nullptr), this);
    if (window && m_hWnd == nullptr)
        Attach(window); // a class with another procedure: bind afterwards
    return window != nullptr;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

// The object lives in the window's user data: read without asking the
// window server, as every message dispatched to the window looks it up.
CWnd* CWnd::FromHandle(HWND window)
{
    return window ? reinterpret_cast<CWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

void CWnd::Attach(HWND window)
{
    m_hWnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Detach()
{
    if (m_hWnd)
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

void CWnd::WindowGone()
{
    Detach();
    CWinApp* app = CWinApp::Current();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    // A window that tells screen readers more than its text answers for its client area.
    if (message == WM_GETOBJECT && dynamic_cast<IAccessibleContent*>(this))
        if (const LRESULT answer = AnswerAccessibleObject(m_hWnd, wParam, lParam))
            return answer;
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (auto* object = static_cast<CWnd*>(create->lpCreateParams))
            object->Attach(window);
    }
    CWnd* object = FromHandle(window);
    if (!object)
        return DefWindowProcW(window, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = object->WindowProc(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        result = message == WM_NCCREATE ? TRUE : 0;
    }
    if (message == WM_NCDESTROY) {
        object->WindowGone();
        object->OnWindowDestroyed();
    }
    return result;
}
