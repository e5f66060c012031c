// The classic tabbed status dialog.
#pragma once

#include "framework/AppServices.h"
#include "framework/Dialog.h"

class CClassicDlg : public CDialog {
public:
    // Builds and shows the dialog; every failure is reported in the "Error"
    // box and leaves the object without a window.
    CClassicDlg(IAppServices& app, CWnd* parent);
    ~CClassicDlg() override;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    IAppServices* m_pApp; // not owned
};
