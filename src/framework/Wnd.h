// A window object that owns its HWND. The object is bound to the window at
// WM_NCCREATE (or WM_INITDIALOG for dialogs) and unbound at WM_NCDESTROY;
// destroying the object destroys a window that still exists. Messages go to
// OnMessage (the class's message table), then to the default procedure.
// No exception leaves a window procedure: XVuk is shown in the "Error" box.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates a window of a class whose procedure is StandardWndProc.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                  int width, int height, HWND parent, UINT_PTR idOrMenu);

    bool DestroyWindow();
    // A queued message for this window or its children, before it is
    // dispatched: true when the window took it (a dialog's keyboard).
    virtual bool PreTranslateMessage(MSG&) { return false; }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The window procedure of every class whose windows are CWnd objects.
    static LRESULT CALLBACK StandardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The object bound to a window of one of the program's own classes
    // (held in its GWLP_USERDATA, which those classes leave alone), or null.
    static CWnd* FromHandle(HWND window);

    HWND m_hWnd = nullptr;

protected:
    // The message table hook: true when handled, with the result set.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // What happens to a message nobody handled.
    virtual LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone and the object unbound.
    virtual void OnWindowDestroyed() {}

    void Attach(HWND window);
    void Detach();
    // Unbinds after WM_NCDESTROY; ends the message loop when this was the main window.
    void WindowGone();

    friend class CDialog;

private:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
};

