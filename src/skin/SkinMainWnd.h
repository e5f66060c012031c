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
#include "framework/Handles.h"
#include "framework/PowerListener.h"
#include "framework/Wnd.h"
#include "skin/SkinButton.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPainter.h"
#include "status/StatusField.h"

#include <array>

class ISkinDrawRecorder;

class CSkinMainWnd : public CWnd, private CPowerListener {
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

    // A listener of what the window draws (tests and benchmarks); null for none.
    void SetDrawRecorder(ISkinDrawRecorder* recorder) { m_painter.SetDrawRecorder(recorder); }

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

    void CreateSkinWindow();
    void CreateButtons();
    void CreateSharedPalette();
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
};
