// The second page of the classic dialog: the program's version and the
// driver's version text (command 0x0001), refreshed every two seconds.
#pragma once

#include "framework/Dialog.h"
#include "pages/ControlText.h"
#include "status/StatusField.h"

class CVersionPage : public CDialog {
public:
    CVersionPage();

    // One refresh, as each tick of the timer does it.
    void Refresh();

    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriod = 2000;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    StatusField m_versionText; // 0x0001
    ValueText m_driverVersion; // control of the template, set every other second
};
