// The third page of the classic dialog: the line diary's last 24 hours as a
// graph, the figures people quote (up time over 24 hours and 7 days, drops,
// the longest outage, the current session) and Export…, which saves the
// chosen period's records as CSV through the common Save dialog. The diary
// is read anew when the page is shown and every minute while it is shown.
#pragma once

#include "diary/DiaryFigures.h"
#include "framework/Dialog.h"

#include <vector>

class CHistoryPage : public CDialog {
public:
    CHistoryPage();

    // Reads the diary again and shows it.
    void Refresh();

    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriod = 60000;

protected:
    BOOL OnInitDialog() override;
    // The graph's font, lines and margins follow the page to another DPI.
    void ApplyDpi(unsigned dpi) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnExport(WPARAM wParam, LPARAM lParam);
    void ShowFigures();

    std::vector<DiaryRecord> m_records; // history.csv's whole records, in file order
    DiaryTime m_now;                    // when they were read
    int64_t m_wakeGrace = 0;            // seconds, the setting then
    unsigned m_nDpi = 96;               // what the graph is drawn at
};
