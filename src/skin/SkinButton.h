// A push button of the skinned window: a small child window painted from one
// column of an image strip holding four state images stacked from the top
// (normal, hot, disabled, pressed; a quarter of the strip's height each),
// with a dotted focus ring, a tool-tip, and a click posted to the parent as
// WM_COMMAND. The keyboard reaches it through the parent (KeyDown/KeyUp).
//
// States: the pointer entering makes it hot and takes the mouse capture; a
// press while not disabled makes it pressed; a release inside posts the
// command, a release outside posts nothing. A pressed button keeps the
// capture while the pointer is outside. A disabled one ignores mouse and keys.
#pragma once

#include "dib/Dib.h"
#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/OffscreenCanvas.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Draws what lies behind a button (the parent's picture), so that a button
// can compose its whole picture off screen before it reaches the screen.
class ISkinButtonBackdrop {
public:
    // `dc` is a canvas of the button's size; `place` is the button's
    // rectangle in the parent's client coordinates.
    virtual void DrawButtonBackdrop(HDC dc, const RECT& place) = 0;

protected:
    ~ISkinButtonBackdrop() = default;
};

class CSkinButton : public CWnd, public IAccessibleContent {
public:
    enum Image { kImageNormal = 0, kImageHot = 1, kImageDisabled = 2, kImagePressed = 3 };

    CSkinButton();
    ~CSkinButton() override;

    // Creates the child window and its tool-tip; the parent loads the strip
    // (m_strip) first, for the display scale it is drawn at. Raises XVuk
    // when a window cannot be made.
    void Create(CWnd& parent, const RECT& place, int stripColumn, UINT commandId, const std::wstring& tooltipText,
                unsigned dpi = 96);
    // Another display scale: takes the strip of that scale (the old one is
    // left in `strip`), its new place and its column in that strip.
    void Rescale(CDib& strip, const RECT& place, int stripColumn, unsigned dpi);

    // May be called before Create (then only the flag changes).
    void SetEnabled(bool enable);
    // The focus ring (the parent repaints); screen readers are told where
    // the focus went, since the parent keeps the keyboard focus itself.
    void SetFocused(bool focused);
    // Keys given by the parent to the button that shows the focus ring.
    void KeyDown(UINT key);
    void KeyUp(UINT key);

    void SetBackdrop(ISkinButtonBackdrop* backdrop) { m_pBackdrop = backdrop; }

    // The state image shown now, and the picture (state image with its key
    // colour left out, focus ring) drawn at (0, 0) of `dc`.
    Image CurrentImage() const;
    void PaintContent(HDC dc) const;

    // A push button named by its tool-tip, focused, unavailable or pressed as it shows.
    AccessibleItem AccessibleSelf() const override;

    bool IsPressed() const { return m_bPressed; }
    bool IsHot() const { return m_bHot; }
    bool IsDisabled() const { return m_bDisabled; }
    bool IsFocused() const { return m_bFocused; }
    UINT GetCommandId() const { return m_nCommandId; }
    HWND GetTooltip() const { return m_tooltip.get(); }

    // The image strip, loaded by the parent before Create, which lends it
    // the shared palette after. State image n starts n quarters of its
    // height down (rounded to the pixel at display scales whose strip
    // height is no multiple of 4).
    CDib m_strip;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct WindowDeleter {
        void operator()(HWND window) const { ::DestroyWindow(window); }
    };

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    bool ContainsPoint(LPARAM lParam) const;
    void PostCommand();
    void Repaint();

    int m_nStripColumn = 0;
    unsigned m_nDpi = 96; // of the focus mark's lines
    UINT m_nCommandId = 0;
    std::wstring m_tooltipText;
    CWnd* m_pParent = nullptr; // not owned
    bool m_bPressed = false;
    bool m_bHot = false;
    bool m_bDisabled = false;
    bool m_bFocused = false;
    UniqueHandleT<HWND, WindowDeleter> m_tooltip;
    ISkinButtonBackdrop* m_pBackdrop = nullptr; // not owned
    COffscreenCanvas m_canvas;                 // the picture composed before it reaches the screen
};
