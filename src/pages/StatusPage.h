// The first page of the classic dialog: once a second it reads the line
// state, the mode and the two rates, shows them, shows a blinking state
// icon and drives the activity meter from the two cell counters.
#pragma once

#include "framework/Dialog.h"
#include "pages/ActivityMeter.h"
#include "pages/ControlText.h"
#include "pages/StateLight.h"
#include "status/LineWatch.h"
#include "status/StatusField.h"

#include <cstdint>
#include <functional>

class CStatusPage : public CDialog {
public:
    // What each refresh read of the line, handed on (to the line diary).
    using LineReadObserver = std::function<void(LineCondition, LineRates)>;

    // Sets up the five fields from the language module's lists; raises
    // XVuk for an enumeration list with an odd number of items.
    explicit CStatusPage(LineReadObserver observer = nullptr);
    ~CStatusPage() override;

    // One refresh, as each tick of the timer does it.
    void Refresh();
    // The meter and the light follow the page to another DPI.
    void ApplyDpi(unsigned dpi) override;

    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriod = 1000;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    void SetCaptions();
    void UpdateActivity();

    LineReadObserver m_lineReadObserver;
    CActivityMeter m_meter;
    CStateLight m_stateLight;
    // The value controls of the template (null when missing), set every tick.
    ValueText m_stateText;
    ValueText m_modeText;
    ValueText m_upstreamText;
    ValueText m_downstreamText;
    StatusField m_lineState;     // 0x0004
    StatusField m_modeIdle;      // 0x0206, mode while the line is not up
    StatusField m_modeUp;        // 0x0113, mode while the line is up
    StatusField m_upstreamRate;       // 0x0107, upstream rate, serves counter 0x0301
    StatusField m_downstreamRate;       // 0x0103, downstream rate, serves counter 0x0381
    uint32_t m_nLastDownstreamCells = 0;
    uint32_t m_nLastUpstreamCells = 0;
};
