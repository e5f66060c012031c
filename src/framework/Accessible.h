// What the program's own windows tell screen readers, through Microsoft
// Active Accessibility (which UI Automation clients read through Windows'
// bridge). A window that is more than its text answers WM_GETOBJECT for its
// client area with a small object over the system's standard one: that
// keeps what the standard object knows (place, state, focus, child windows)
// and takes the role, name and value from the window, with any simple
// elements the window paints inside itself (child ids 1..n, read before its
// child windows).
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

// The window itself, or one element painted inside it.
struct AccessibleItem {
    long role = 0;      // 0: the standard object's
    std::wstring name;  // empty: the standard object's (the window text)
    std::wstring value; // empty: none
    long state = -1;    // -1: the standard object's
    RECT place = {};    // an element's rectangle, client coordinates
};

// Implemented by a window (a CWnd) that answers WM_GETOBJECT with
// AnswerAccessibleObject. Asked anew at every question, so that what a
// screen reader reads is what the window shows now.
class IAccessibleContent {
public:
    virtual AccessibleItem AccessibleSelf() const = 0;
    // The elements painted inside, in reading order.
    virtual int AccessibleElementCount() const { return 0; }
    virtual AccessibleItem AccessibleElement(int /*index*/) const { return {}; }

protected:
    ~IAccessibleContent() = default;
};

// WM_GETOBJECT of a window whose object implements IAccessibleContent: the
// answer for its client area, 0 (the system's own) for anything else.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam);

// Tells screen readers that something of the window (CHILDID_SELF) or of its
// element index (child id index + 1) changed: EVENT_OBJECT_NAMECHANGE,
// EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE.
void NotifyAccessible(HWND window, DWORD event, long childId = CHILDID_SELF);

// Tells screen readers of the names and values of a window's items that
// changed since the last call: one event for each text that differs, none
// for the first call (what the window showed when it opened).
class CAccessibleChanges {
public:
    void Notify(HWND window, const IAccessibleContent& content);

private:
    std::vector<std::pair<std::wstring, std::wstring>> m_told; // name and value; [0] the window, then its elements
    bool m_bStarted = false;
};
