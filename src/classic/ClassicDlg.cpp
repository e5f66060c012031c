// Interim classic dialog: template 1001 with its title; pages follow.
#include "classic/ClassicDlg.h"

#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"

CClassicDlg::CClassicDlg(IAppServices& app, CWnd* parent) : CDialog(IDD_CLASSIC), m_pApp(&app)
{
    if (Create(parent ? parent->m_hWnd : GetDesktopWindow()))
        ShowWindow(m_hWnd, SW_SHOWNORMAL);
}

CClassicDlg::~CClassicDlg()
{
    DestroyWindow();
}

BOOL CClassicDlg::OnInitDialog()
{
    SetWindowTextW(m_hWnd, LoadResString(IDS_TITLE).c_str());
    return TRUE;
}

bool CClassicDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message == WM_CLOSE) {
        m_pApp->StopDebugMode();
        DestroyWindow();
        result = 0;
        return true;
    }
    return false;
}
