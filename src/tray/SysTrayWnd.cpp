// Interim tray window: the hidden window and its commands only; the icon,
// polling and menu follow.
#include "tray/SysTrayWnd.h"

#include "framework/ProgramClass.h"

CSysTrayWnd::CSysTrayWnd(IAppServices& app) : m_app(app)
{
}

CSysTrayWnd::~CSysTrayWnd()
{
    DestroyWindow();
}

bool CSysTrayWnd::Create(CWnd* parent)
{
    return CreateEx(0, kProgramWindowClass, kTrayWindowTitle, WS_POPUP, 0, 0, 0, 0,
                    parent ? parent->m_hWnd : nullptr, 0);
}

bool CSysTrayWnd::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_COMMAND)
        return false;
    result = 0;
    switch (LOWORD(wParam)) {
    case kCommandOpen: m_app.ShowMainWindow(); return true;
    case kCommandClose: m_app.CloseStatusWindow(); return true;
    case kCommandExit: m_app.ExitApplication(); return true;
    default: return false;
    }
}
