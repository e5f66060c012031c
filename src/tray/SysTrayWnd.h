// The hidden window that owns the program's icon in the notification area.
#pragma once

#include "framework/AppServices.h"
#include "framework/Wnd.h"

class CSysTrayWnd : public CWnd {
public:
    explicit CSysTrayWnd(IAppServices& app);
    ~CSysTrayWnd() override;

    // Creates the hidden window, adds the icon and starts polling.
    virtual bool Create(CWnd* parent);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    IAppServices& m_app;
};
