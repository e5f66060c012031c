// What a top-level window does when the PC goes to sleep and wakes, and
// when the session ends. Windows sends these to every top-level window:
// WM_POWERBROADCAST with PBT_APMSUSPEND before the sleep and
// PBT_APMRESUMEAUTOMATIC at every wake (PBT_APMRESUMESUSPEND, which only
// follows a wake a user caused, counts only when that one was missed);
// WM_QUERYENDSESSION, answered yes at once; WM_ENDSESSION, after which the
// process may be ended at any moment: at log-off and shutdown Windows ends
// it, and a program that is asked to close for an update (Restart Manager,
// ENDSESSION_CLOSEAPP) closes the window.
#pragma once

#include <windows.h>

class CPowerListener {
public:
    // For the window's OnMessage: true when `message` was one of these,
    // with its result set.
    bool OnPowerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Between the sleep and the wake: a timer tick that still came is no poll.
    bool IsAsleep() const { return m_bAsleep; }

protected:
    ~CPowerListener() = default;
    virtual void OnSleep() = 0;
    virtual void OnWake() = 0;
    virtual void OnSessionEnd() = 0;

private:
    bool m_bAsleep = false;
};
