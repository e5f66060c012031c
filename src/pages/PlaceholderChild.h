// The status page draws its meter and its state light in child windows of
// its own, laid over placeholder controls of the page's template. Both
// paint their whole area themselves and draw a change at once, without a
// paint cycle.
#pragma once

#include "framework/Wnd.h"

class CPlaceholderChild : public CWnd {
protected:
    // Creates the window as a visible child (no title, id 0, a device
    // context of its own) of the placeholder, covering its client
    // rectangle, and makes the placeholder leave the child's area alone
    // when it repaints itself. It draws at the DPI of its window.
    bool CreateOver(HWND placeholder);

public:
    // The page moved to a monitor of another scale: the child covers its
    // (rescaled) placeholder again and is drawn anew at `dpi`.
    void ChangeDpi(unsigned dpi);

protected:
    unsigned Dpi() const { return m_nDpi; }
    // What depends on the DPI is made anew (pictures kept, icons of its size).
    virtual void OnDpiChanged() {}

    // Draws the window at once through its own device context; a hidden
    // window draws nothing and is painted when it is shown.
    void DrawNow();

    // Paints the whole client area. A print (WM_PRINTCLIENT) goes to a
    // context that is not the window's: nothing drawn there is kept.
    virtual void Paint(HDC target, bool print) = 0;

    // What DrawNow draws through the own context: by default the whole
    // client area; a child that keeps its picture may draw only a change.
    virtual void DrawChange(HDC own) { Paint(own, false); }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    unsigned m_nDpi = 96;

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);
};
