// The hidden window that owns the program's icon in the notification area.
// Twice a second it may blink the icon; every second it reads the line
// state (with the line up also the cell counters and rates) and shows them
// as one of seven pictures and a tool-tip, and tells of the line going up or
// down and of the modem going or coming back in a balloon. A double-click
// opens the status window, a right click offers the menu. With the icon on,
// it is the program's main window. While the PC sleeps it reads nothing;
// at a wake it reads at once, and a line that only trains again after the
// wake gives no balloon.
#pragma once

#include "app/AppServices.h"
#include "framework/PowerListener.h"
#include "framework/Wnd.h"
#include "status/LineWatch.h"
#include "tray/NotifyIconShell.h"
#include "tray/TrayIcons.h"

#include <cstdint>
#include <memory>
#include <string>

struct TrayLineReading;

class CSysTrayWnd : public CWnd, private CPowerListener {
public:
    // Loads the seven icons; raises XVuk "Can't load icon resource %d".
    explicit CSysTrayWnd(IAppServices& app);
    // The same with another shell seam (tests record the calls).
    CSysTrayWnd(IAppServices& app, INotifyIconShell& shell);
    ~CSysTrayWnd() override;

    // Creates the hidden window, adds the icon, starts timer 1 (500 ms) and
    // polls once at once. False when the window cannot be created.
    virtual bool Create(CWnd* parent);

    // NIM_ADD with the current picture and no tool-tip; the shell's result.
    bool AddIcon();
    // Shows a picture with the present tool-tip, or with a new one. Nothing
    // happens when both equal what is shown. A tip of 64 UTF-16 characters
    // or more raises XVuk "System tray text is too big" and changes nothing.
    void SetIconAndTip(int index);
    void SetIconAndTip(int index, const std::wstring& tip);
    // The name of a line state from the language module's list.
    std::wstring StateText(uint32_t state) const;
    // One timer tick: the blink, and on every other tick the status read;
    // nothing while the PC is asleep.
    // An XVuk is shown in the "Error" box once, not again at every tick.
    void Poll(UINT_PTR timerId);
    // Starts the 500 ms timer anew from now, so that its ticks fall in step
    // with another timer's (same period and reads, another phase).
    void RestartPollTimer();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // CPowerListener: no reads while the PC sleeps; at the wake one at once.
    void OnSleep() override;
    void OnWake() override;
    void OnSessionEnd() override;
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM, LPARAM);
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);
    LRESULT OnOpenStatusWindow(WPARAM, LPARAM);
    LRESULT OnCloseStatusWindow(WPARAM, LPARAM);
    LRESULT OnExit(WPARAM, LPARAM);
    LRESULT OnSettings(WPARAM, LPARAM);

    // Reads the driver and shows what it says (every other tick).
    void ReadStatus();
    // Hands the read to the line diary and follows the line's debounced
    // state; a confirmed change is told in a balloon while the setting
    // NotifyLineChanges is on.
    void AlertLineChange(const TrayLineReading& reading);
    // The pictures at the small-icon size of `dpi`, sent to the shell when
    // that size differs from the one shown.
    void UseDpi(unsigned dpi);
    void ShowMenu();
    bool Notify(DWORD message, UINT flags, int index, const std::wstring& tip);
    void RemoveIcon();
    // Reports a poll's failure unless the same failure was reported last.
    void ReportPollFailure(const std::string& message, const std::wstring& tip);

    IAppServices& m_app;
    INotifyIconShell& m_shell; // not owned
    CTrayIcons m_icons;
    int m_nIconIndex = kTrayIconOther;
    uint32_t m_nLineState = 0;  // at the last status read; 11 when it failed
    uint32_t m_nDownstreamCells = 0; // command 0x0381 at the last read with the line up
    uint32_t m_nUpstreamCells = 0; // command 0x0301 likewise
    std::wstring m_sTip;        // the tool-tip now shown
    bool m_bIconAdded = false;  // added and not yet removed
    CLineAlertWatch m_lineWatch;

    // The failure reported last (message and the tool-tip it concerned):
    // kept until a status read succeeds, so that a failure that lasts is
    // reported once instead of in a new box every second.
    bool m_bFailureReported = false;
    bool m_bStarting = false; // the first read, made by Create: its failure belongs to start-up
    std::string m_sFailedMessage;
    std::wstring m_sFailedTip;
};
