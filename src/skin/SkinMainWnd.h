// The skinned status window: a borderless popup with rounded corners painted
// from bitmaps, two pages of four labelled rows, two activity bars with a
// connection light, and four bitmap buttons (previous page, next page,
// minimise, close). Once a second it polls the modem and redraws only the
// rows whose text changed, the bars and the light.
//
// Painting: whole-window paints are composed in an off-screen copy of the
// window and reach the screen in one transfer; smaller redraws (a row, the
// bars) are drawn into that copy and only their rectangle is transferred.
// PaintContent draws the whole picture into any device context, which is
// how tests look at it.
#pragma once

#include "dib/Dib.h"
#include "dib/Palette.h"
#include "framework/AppServices.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/ActivityBars.h"
#include "skin/OffscreenCanvas.h"
#include "skin/SkinButton.h"
#include "skin/SkinLayout.h"
#include "status/StatusField.h"

#include <array>
#include <memory>
#include <string>

class ISkinDrawRecorder;

class CSkinMainWnd : public CWnd, private ISkinButtonBackdrop {
public:
    static constexpr int kPageCount = 2;
    static constexpr int kRowCount = 4;
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

    // The whole picture, into any device context (WM_PAINT uses it through
    // the off-screen copy).
    void PaintContent(HDC dc);
    void DrawPage(HDC dc);
    void DrawTitle(HDC dc);
    void DrawLabel(HDC dc, const std::wstring& text, int row);
    void DrawValue(HDC dc, const std::string& text, int row);
    // Stores the text of a row; draws it at once when it differs from what
    // the row showed and belongs to the page shown.
    void UpdateValue(const std::string& text, int page, int row);
    // Polls the bars and the light, and draws them.
    void DrawActivity(HDC dc);
    void PollActivity();
    void DrawActivityPicture(HDC dc);

    // A listener of what the window draws (tests and benchmarks); null for none.
    void SetDrawRecorder(ISkinDrawRecorder* recorder) { m_pRecorder = recorder; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
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

    // ISkinButtonBackdrop: the background under a button.
    void DrawButtonBackdrop(HDC dc, const RECT& place) override;

    // The text rows and the title's text in client coordinates.
    RECT LabelRect(int row) const;
    RECT ValueRect(int row) const;
    RECT TitleRect() const;

    void LoadImages();
    void CreateSkinWindow();
    void CreateButtons();
    void CreateSharedPalette();
    void CreateTextFont();
    void MoveFocus(int step);
    void RepaintWhole();
    void ShowPage(int page);

    // The off-screen copy of the window, made (and painted whole) at first use;
    // null while the window does not exist.
    HDC Canvas(bool* paintedWhole = nullptr);
    // Puts a rectangle of the off-screen copy on the window.
    void Present(const RECT& area);
    HPALETTE PaletteHandle() const;

    std::unique_ptr<CPalette> m_pPalette; // shared by the eight images; outlives them
    IAppServices* m_pApp;                 // not owned
    CDib m_background;
    CDib m_logo;
    CDib m_lights;
    CDib m_titleBar;
    UniqueFont m_font;
    std::array<CSkinButton, SkinLayout::kButtonCount> m_buttons;
    int m_nLineHeight = 0;
    UniqueIcon m_hIconBig;
    UniqueIcon m_hIconSmall;
    int m_nFocus = SkinLayout::kCloseButton;
    int m_nPage = 0;
    std::array<std::array<std::wstring, kRowCount>, kPageCount> m_labels;
    std::array<std::array<std::string, kRowCount>, kPageCount> m_values;
    std::array<std::wstring, kPageCount> m_pageTitles;
    std::wstring m_pageFormat;
    std::array<StatusField, kFieldCount> m_fields;
    CActivityBars m_activity;
    UniqueBrush m_panelBrush;
    COffscreenCanvas m_canvas;
    int m_nShownActivity = -1; // CActivityBars::PictureKey of what m_canvas shows; -1 none
    ISkinDrawRecorder* m_pRecorder = nullptr; // not owned
};
