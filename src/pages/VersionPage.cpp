#include "pages/VersionPage.h"

#include "driver/CommandCodes.h"
#include "driver/VirtualCommands.h"
#include "framework/MessageTable.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/WideText.h"

CVersionPage::CVersionPage() : CDialog(IDD_VERSION_PAGE)
{
    m_versionText.init(Command::kVersionText, FieldText, std::string(), 1.0f, 0.0f, LoadResStringUtf8(IDS_UNKNOWN));
}

BOOL CVersionPage::OnInitDialog()
{
    SetDlgItemTextW(m_hWnd, IDC_CAPTION_DRIVER, LoadResString(IDS_LABEL_DRIVER).c_str());
    SetDlgItemTextW(m_hWnd, IDC_CAPTION_PROGRAM, LoadResString(IDS_LABEL_PROGRAM).c_str());
    SetDlgItemTextW(m_hWnd, IDC_PROGRAM_VERSION, WideFromUtf8(kProgramVersionText).c_str());
    m_driverVersion.Attach(GetDlgItem(m_hWnd, IDC_DRIVER_VERSION));
    SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
    return TRUE;
}

bool CVersionPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CVersionPage> table[] = {
        {WM_TIMER, kAnyCode, kAnyId, &CVersionPage::OnTimer},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CDialog::OnMessage(message, wParam, lParam, result);
}

LRESULT CVersionPage::OnTimer(WPARAM, LPARAM)
{
    Refresh();
    return 0;
}

void CVersionPage::Refresh()
{
    if (!IsWindow())
        return;
    m_versionText.fetch();
    m_driverVersion.SetUtf8(m_versionText.format());
}
