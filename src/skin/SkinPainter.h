// The skinned window's picture: its four bitmaps with their shared palette,
// the text font, the texts of both pages, the activity bars and the light,
// laid out and drawn into any device context.
//
// Every redraw is composed in an off-screen copy of the window, made and
// painted whole at first use: a changed row or the bars are drawn there and
// only their rectangle reaches the screen; WM_PAINT transfers the whole copy.
#pragma once

#include "dib/Dib.h"
#include "dib/Palette.h"
#include "framework/Handles.h"
#include "skin/ActivityBars.h"
#include "skin/OffscreenCanvas.h"
#include "skin/SkinButton.h"
#include "skin/SkinGeometry.h"
#include "settings/SkinColours.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ISkinDrawRecorder;

class CSkinPainter : public ISkinButtonBackdrop {
public:
    static constexpr int kPageCount = 2;
    static constexpr int kRowCount = 4;

    // The four bitmaps of one DPI: background, logo, lights and title bar.
    struct Pictures {
        CDib background{false};
        CDib logo{false};
        CDib lights{true};
        CDib titleBar{false};
    };

    // Loads the labels, page titles and page format of the language module,
    // and the settings the pictures are coloured by (read once: a change of
    // DPI colours its pictures as the first ones were).
    CSkinPainter();

    // The four bitmaps at a DPI, coloured as the settings say. Raises XVuk
    // when one cannot be had.
    std::unique_ptr<Pictures> LoadPictures(unsigned dpi) const;
    // A button's strip at a DPI, coloured with the background's Hue and Sat
    // when UseHueAndSat is set. Raises XVuk when it cannot be had.
    std::unique_ptr<CDib> LoadButtonStrip(unsigned dpi) const;
    // One palette for the four bitmaps and the buttons' strips; null when
    // none can be built from them.
    static std::unique_ptr<CPalette> BuildPalette(const Pictures& pictures, const std::vector<CDib*>& strips);
    // Takes the pictures of a DPI, the palette built over them (lent to them
    // and to the strips) and the rows' font (the system's at a larger size
    // for Japanese); everything kept of the old DPI goes. The strips must
    // already hold their pictures of this DPI.
    void UseScale(const CSkinGeometry& geometry, std::unique_ptr<Pictures> pictures, std::unique_ptr<CPalette> palette,
                  const std::vector<CDib*>& strips, bool japanese);
    // Colours the next pictures loaded and the texts drawn from now on are
    // coloured with instead of the settings file's (a preview); null: the
    // file's again, read anew.
    void PreviewColours(const SkinColours* colours);
    const std::optional<SkinColours>& PreviewedColours() const { return m_preview; }

    // The window painted on, once it exists.
    void SetWindow(HWND window) { m_hWnd = window; }
    const CSkinGeometry& Geometry() const { return m_geometry; }
    const CDib& Background() const { return m_pictures->background; }
    int LineHeight() const { return m_nLineHeight; }

    int Page() const { return m_nPage; }
    // What the page shown says, for screen readers: its title and page
    // indicator, each row's label and value as drawn, and where they are.
    const std::wstring& PageTitle() const { return m_pageTitles[m_nPage]; }
    std::wstring PageIndicator() const;
    const std::wstring& Label(int row) const { return m_labels[m_nPage][row]; }
    const std::string& Value(int row) const { return m_values[m_nPage][row]; }
    RECT TitlePlace() const { return TitleRect(); }
    RECT RowPlace(int row) const;
    const CActivityBars& Activity() const { return m_activity; }
    // Shows another page: its title and rows are drawn and put on screen.
    void ShowPage(int page);
    // Stores the text of a row; draws it at once when it differs from what
    // the row showed and belongs to the page shown.
    void UpdateValue(const std::string& text, int page, int row);
    // One poll of the bars and the light: drawn and put on screen unless
    // they look exactly as the off-screen copy shows them already.
    void UpdateActivity(const LinePoll& poll);

    // The whole picture, into any device context.
    void PaintContent(HDC dc);
    // WM_PAINT: the off-screen copy onto the window's paint context (whose
    // clipping leaves out what the caller excluded).
    void PaintWindow(HDC dc);
    // Realises the palette on the window; false when there is none.
    bool RealizePaletteOnWindow();

    // A listener of what is drawn (tests and benchmarks); null for none.
    void SetDrawRecorder(ISkinDrawRecorder* recorder) { m_pRecorder = recorder; }

    // ISkinButtonBackdrop: the picture under a button.
    void DrawButtonBackdrop(HDC dc, const RECT& place) override;

private:
    // The rows' font: "MS Sans Serif", or the system's face in Japanese.
    static UniqueFont CreateRowFont(int height, bool japanese);
    int LineHeightOf(HFONT font) const;
    HPALETTE PaletteHandle() const;
    void DrawPage(HDC dc);
    void DrawTitle(HDC dc);
    void DrawRowText(HDC dc, const std::wstring& text, RECT rect, const char* colourKey, UINT format);
    void DrawLabel(HDC dc, const std::wstring& text, int row);
    void DrawValue(HDC dc, const std::string& text, int row);
    void DrawActivityPicture(HDC dc);

    // The text rows and the title's text in client coordinates.
    RECT LabelRect(int row) const;
    RECT ValueRect(int row) const;
    RECT TitleRect() const;

    // The off-screen copy, made (and painted whole) at first use; null while
    // the window does not exist.
    HDC Canvas(bool* paintedWhole = nullptr);
    // Puts a rectangle of the off-screen copy on the window.
    void Present(const RECT& area);

    // What the pictures are coloured by, as the settings said at the start.
    struct PictureSettings {
        uint8_t hue = 0, sat = 0;                 // background, and the strips when colourButtons
        uint8_t titlebarHue = 0, titlebarSat = 0;
        bool colourButtons = false;               // UseHueAndSat
        bool transparentLogo = false;             // TransparentBitmap
    };

    static PictureSettings ReadPictureSettings();
    COLORREF TextColour(const char* colourKey) const;

    PictureSettings m_settings;
    std::optional<SkinColours> m_preview; // the texts' colours while a preview shows
    CSkinGeometry m_geometry;
    std::unique_ptr<CPalette> m_pPalette; // shared by the images and the button strips; outlives them
    HWND m_hWnd = nullptr;                // not owned
    std::unique_ptr<Pictures> m_pictures;
    UniqueFont m_font;
    int m_nLineHeight = 0;
    int m_nPage = 0;
    std::array<std::array<std::wstring, kRowCount>, kPageCount> m_labels;
    std::array<std::array<std::string, kRowCount>, kPageCount> m_values;
    std::array<std::wstring, kPageCount> m_pageTitles;
    std::wstring m_pageFormat;
    CActivityBars m_activity;
    UniqueBrush m_panelBrush;
    COffscreenCanvas m_canvas;
    int m_nShownActivity = -1;                // CActivityBars::PictureKey of what m_canvas shows; -1 none
    ISkinDrawRecorder* m_pRecorder = nullptr; // not owned
};
