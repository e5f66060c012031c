// The application base: the message loop with a pre-translation hook, and
// the main window whose destruction ends the loop.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(HINSTANCE instance);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs InitInstance, then the message loop when it asked for one.
    int Main();

    virtual bool InitInstance() = 0;
    // Called for every message the loop takes; true means "handled, do not dispatch".
    virtual bool PreTranslateMessage(MSG& message);
    virtual int ExitInstance();

    // The window whose destruction ends the message loop; not owned.
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance;

    // The one application object of the process, or null.
    static CWinApp* Current();

private:
    int Run();
};
