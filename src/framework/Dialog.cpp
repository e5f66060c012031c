#include "framework/Dialog.h"

#include "framework/ErrorBox.h"
#include "settings/ResourceModule.h"

namespace {

// Messages whose dialog procedure result is returned directly, not through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CDialog::Create(HWND parent)
{
    HWND window = CreateDialogParamW(GetResourceModule(), MAKEINTRESOURCEW(m_nTemplateId), parent,
                                     StandardDlgProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

bool CDialog::PreTranslateMessage(MSG& message)
{
    return m_hWnd && IsDialogMessageW(m_hWnd, &message);
}

LRESULT CDialog::Default(UINT, WPARAM, LPARAM)
{
    return 0; // the dialog manager does the default processing
}

INT_PTR CALLBACK CDialog::StandardDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(window);
    } else {
        dialog = static_cast<CDialog*>(FromHandle(window));
    }
    if (!dialog)
        return FALSE;

    INT_PTR answer = FALSE;
    try {
        if (message == WM_INITDIALOG) {
            answer = dialog->OnInitDialog();
        } else {
            LRESULT result = 0;
            if (dialog->OnMessage(message, wParam, lParam, result)) {
                if (ReturnsDirectly(message)) {
                    answer = result;
                } else {
                    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
                    answer = TRUE;
                }
            }
        }
    } catch (...) {
        ReportCurrentException();
        answer = message == WM_INITDIALOG ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        dialog->WindowGone();
        dialog->OnWindowDestroyed();
    }
    return answer;
}
