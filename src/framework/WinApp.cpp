#include "framework/WinApp.h"

#include "framework/ErrorBox.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(HINSTANCE instance) : m_hInstance(instance)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* CWinApp::Current()
{
    return g_app;
}

bool CWinApp::PreTranslateMessage(MSG&)
{
    return false;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Main()
{
    if (!InitInstance())
        return ExitInstance();
    return Run();
}

int CWinApp::Run()
{
    MSG message;
    int exitCode = 0;
    for (;;) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode = int(message.wParam);
            break;
        }
        if (got < 0)
            break;
        bool handled = false;
        try {
            handled = PreTranslateMessage(message);
        } catch (...) {
            ReportCurrentException();
        }
        if (!handled) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    int result = ExitInstance();
    return result ? result : exitCode;
}
