// A modeless dialog built from a template of the current resource module
// (the language module). Messages go through the class's message table;
// the dialog manager's own processing covers the rest.
#pragma once

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_nTemplateId(templateId) {}

    // Creates the dialog window; false when the template is missing or
    // creation failed (then no window exists).
    bool Create(HWND parent);

    UINT GetTemplateId() const { return m_nTemplateId; }

    // The dialog manager's keyboard handling: Tab, Enter, Escape, arrows,
    // Space and mnemonics for the dialog's controls.
    bool PreTranslateMessage(MSG& message) override;

    // The dialog is shown at another DPI now (its owner has scaled its
    // controls, CDialogScaler): what it draws itself follows.
    virtual void ApplyDpi(unsigned /*dpi*/) {}

protected:
    // WM_INITDIALOG: the window exists and is bound; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK StandardDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
};
