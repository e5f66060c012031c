// The skinned status window.
#pragma once

#include "framework/AppServices.h"
#include "framework/Wnd.h"

class CSkinMainWnd : public CWnd {
public:
    // Builds, shows and paints the window; raises XVuk on failure.
    explicit CSkinMainWnd(IAppServices& app);
    ~CSkinMainWnd() override;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    IAppServices* m_pApp; // not owned
};
