#include "framework/PowerListener.h"

bool CPowerListener::OnPowerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND && !m_bAsleep) {
            m_bAsleep = true;
            OnSleep();
        } else if (wParam == PBT_APMRESUMEAUTOMATIC || (wParam == PBT_APMRESUMESUSPEND && m_bAsleep)) {
            m_bAsleep = false;
            OnWake();
        }
        result = TRUE;
        return true;
    case WM_QUERYENDSESSION:
        result = TRUE; // nothing to save, nothing to ask
        return true;
    case WM_ENDSESSION:
        if (wParam)
            OnSessionEnd();
        if (wParam && (lParam & ENDSESSION_CLOSEAPP))
            PostMessageW(window, WM_CLOSE, 0, 0);
        result = 0;
        return true;
    default:
        return false;
    }
}
