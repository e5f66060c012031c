// The skinned status window: a borderless popup with rounded corners painted
// from bitmaps, two pages of four labelled rows, two activity bars with a
// connection light, and four bitmap buttons (previous page, next page,
// minimise, close). Once a second it polls the modem and redraws only the
// rows whose text changed, the bars and the light; not while the PC
// sleeps, and at once when it wakes.
//
// The window handles messages and polls; its painter (CSkinPainter) lays
// out and draws the picture and keeps the off-screen copy it reaches the
// screen through. PaintContent draws the whole picture into any device
// context, which is how tests look at it.
#pragma once

#include "app/AppServices.h"
#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "framework/PowerListener.h"
#include "framework/Wnd.h"
#include "skin/SkinButton.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPainter.h"
#include "status/StatusField.h"

#include <array>
#include <memory>

class ISkinDrawRecorder;

class CSkinMainWnd : public CWnd, public IAccessibleContent, private CPowerListener {
public:
    static constexpr int kFieldCount = 8;
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT kPollPeriod = 1000;

    // Builds, shows and paints the window. Raises XVuk when a bitmap, the
    // palette, an icon or the settings file cannot be had.
    explicit CSkinMainWnd(IAppServices& app);
    ~CSkinMainWnd() override;

    // The poll: fetches the line state and rates, the fields of the page
    // shown, redraws the rows that changed, the bars and the light.
    void Refresh();

    // The whole picture, into any device context.
    void PaintContent(HDC dc) { m_painter.PaintContent(dc); }

    // Draws the window with these colours (the Settings window's preview);
    // null: as the settings file says. Raises XVuk when a picture cannot be
    // had; the window then stays as it was.
    void PreviewColours(const SkinColours* colours);

    // A listener of what the window draws (tests and benchmarks); null for none.
    void SetDrawRecorder(ISkinDrawRecorder* recorder) { m_painter.SetDrawRecorder(recorder); }

    // For screen readers, what the painted face shows, in reading order: the
    // page title (its indicator as value), each row (label and value), the
    // connection light (named by the line state) and the activity bars in
    // words; the buttons are child windows of their own.
    AccessibleItem AccessibleSelf() const override { return {}; }
    int AccessibleElementCount() const override { return kAccessibleElements; }
    AccessibleItem AccessibleElement(int index) const override;
    static constexpr int kAccessibleElements = 1 + CSkinPainter::kRowCount + 2;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnSleep() override;
    void OnWake() override;
    void OnSessionEnd() override;

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnQueryNewPalette(WPARAM, LPARAM);
    LRESULT OnPaletteChanged(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnKeyUp(WPARAM, LPARAM);
    LRESULT OnPreviousPage(WPARAM, LPARAM);
    LRESULT OnNextPage(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnMinimise(WPARAM, LPARAM);
    LRESULT OnHandOver(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnSettings(WPARAM, LPARAM);

    // Everything the window draws at one DPI, loaded before any of it is used.
    struct Scale {
        unsigned dpi = 0;
        std::unique_ptr<CSkinPainter::Pictures> pictures;
        std::array<std::unique_ptr<CDib>, SkinLayout::kButtonCount> strips;
        std::unique_ptr<CPalette> palette;
    };
    Scale LoadScale(unsigned dpi) const;
    static UniqueRegion WindowRegion(const CDib& background, const CSkinGeometry& geometry);
    void CreateSkinWindow(const CSkinPainter::Pictures& pictures, unsigned dpi);
    // The buttons' windows; their strips come with the scale (UseScale).
    void CreateButtons(const CSkinGeometry& geometry);
    // The pictures, palette and font of a scale go to the painter, the
    // strips to the buttons.
    void UseScale(Scale scale);
    // WM_DPICHANGED: the window moves to `suggested` and is drawn anew at `dpi`.
    void ChangeDpi(unsigned dpi, const RECT& suggested);
    void MoveFocus(int step);
    void RepaintWhole();
    void ShowPage(int page);

    IAppServices* m_pApp;   // not owned
    CSkinPainter m_painter; // before the buttons: their strips borrow its palette
    std::array<CSkinButton, SkinLayout::kButtonCount> m_buttons;
    UniqueIcon m_hIconBig;
    UniqueIcon m_hIconSmall;
    int m_nFocus = SkinLayout::kCloseButton;
    std::array<StatusField, kFieldCount> m_fields;
    std::wstring m_activityName;    // the language module's words for the bars
    std::wstring m_activityPattern; // and for their value
    CAccessibleChanges m_accessibleChanges;
};
