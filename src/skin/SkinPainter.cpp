#include "skin/SkinPainter.h"

#include "dib/DibScaling.h"
#include "dib/OctalPalette.h"
#include "driver/VirtualCommands.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/SettingsKeys.h"
#include "settings/TextUtil.h"
#include "settings/WideText.h"
#include "skin/PageIndicator.h"
#include "skin/SkinDrawRecorder.h"

#include <algorithm>

namespace {

const char kLogoFile[] = "LogoSkin.bmp";

const UINT kPageLabels[CSkinPainter::kPageCount][CSkinPainter::kRowCount] = {
    {IDS_LABEL_STATE, IDS_LABEL_MODE, IDS_LABEL_DOWNSTREAM, IDS_LABEL_UPSTREAM},
    {IDS_LABEL_PACKAGE, IDS_LABEL_DRIVER, IDS_LABEL_PROGRAM, IDS_LABEL_FIRMWARE},
};

const COLORREF kPanelColour = PALETTERGB(0, 0, 0);

uint8_t ReadIniByte(const char* key)
{
    return uint8_t(ReadIniInt(key) & 0xFF);
}

// A colour setting, read anew at every use: a text that is not three
// numbers gives black.
COLORREF ReadTextColour(const char* key)
{
    return COLORREF(ReadIniRgb(ReadIniString(key)));
}

} // namespace

CSkinPainter::CSkinPainter()
{
    m_panelBrush.reset(CreateSolidBrush(kPanelColour));
    // Row 2 of page 1 is the program's own version and never changes.
    m_values[1][2] = kProgramVersionText;
    for (int page = 0; page < kPageCount; ++page)
        for (int row = 0; row < kRowCount; ++row)
            m_labels[page][row] = LoadResString(kPageLabels[page][row]);
    m_pageTitles[0] = LoadResString(IDS_TAB_STATUS);
    m_pageTitles[1] = LoadResString(IDS_TAB_VERSION);
    m_pageFormat = LoadResString(IDS_PAGE_FORMAT);
    m_settings = ReadPictureSettings();
}

CSkinPainter::PictureSettings CSkinPainter::ReadPictureSettings()
{
    PictureSettings settings;
    settings.hue = ReadIniByte(Settings::kHue);
    settings.sat = ReadIniByte(Settings::kSat);
    settings.titlebarHue = ReadIniByte(Settings::kTitlebarHue);
    settings.titlebarSat = ReadIniByte(Settings::kTitlebarSat);
    settings.colourButtons = ReadIniInt(Settings::kUseHueAndSat) != 0;
    settings.transparentLogo = ReadIniInt(Settings::kTransparentBitmap) != 0;
    return settings;
}

void CSkinPainter::PreviewColours(const SkinColours* colours)
{
    m_preview.reset();
    if (!colours) {
        m_settings = ReadPictureSettings();
        return;
    }
    m_preview = *colours;
    m_settings = {colours->hue, colours->sat, colours->titlebarHue, colours->titlebarSat, colours->useHueAndSat,
                  colours->transparentLogo};
}

COLORREF CSkinPainter::TextColour(const char* colourKey) const
{
    if (!m_preview)
        return ReadTextColour(colourKey);
    const std::string key = colourKey;
    const uint32_t colour = key == Settings::kTitlebarTextRGB ? m_preview->titlebarText
                            : key == Settings::kLabelTextRGB  ? m_preview->labelText
                                                              : m_preview->statusText;
    return PALETTERGB(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

std::unique_ptr<CSkinPainter::Pictures> CSkinPainter::LoadPictures(unsigned dpi) const
{
    auto pictures = std::make_unique<Pictures>();
    pictures->background.m_bRecolor = true;
    pictures->background.m_nHue = m_settings.hue;
    pictures->background.m_nSat = m_settings.sat;
    LoadResourceForDpi(pictures->background, {IDB_SKIN_BACKGROUND, IDB_SKIN_BACKGROUND_200}, dpi);

    // The logo is drawn with its key left out when the setting asks; it is
    // scaled the same way either way, so it keeps its key exact.
    pictures->logo.m_bTransparent = m_settings.transparentLogo;
    LoadFileForDpi(pictures->logo, JoinPath(GetProgramDir(), kLogoFile), dpi);

    LoadResourceForDpi(pictures->lights, {IDB_SKIN_LIGHTS, IDB_SKIN_LIGHTS_200}, dpi);
    pictures->titleBar.m_bRecolor = true;
    pictures->titleBar.m_nHue = m_settings.titlebarHue;
    pictures->titleBar.m_nSat = m_settings.titlebarSat;
    LoadResourceForDpi(pictures->titleBar, {IDB_SKIN_TITLEBAR, IDB_SKIN_TITLEBAR_200}, dpi);
    return pictures;
}

std::unique_ptr<CDib> CSkinPainter::LoadButtonStrip(unsigned dpi) const
{
    auto strip = std::make_unique<CDib>(true);
    if (m_settings.colourButtons) {
        strip->m_bRecolor = true;
        strip->m_nHue = m_settings.hue;
        strip->m_nSat = m_settings.sat;
    }
    LoadResourceForDpi(*strip, {IDB_SKIN_BUTTONS, IDB_SKIN_BUTTONS_200}, dpi);
    return strip;
}

std::unique_ptr<CPalette> CSkinPainter::BuildPalette(const Pictures& pictures, const std::vector<CDib*>& strips)
{
    std::vector<CDib*> images = {const_cast<CDib*>(&pictures.background), const_cast<CDib*>(&pictures.lights),
                                 const_cast<CDib*>(&pictures.titleBar), const_cast<CDib*>(&pictures.logo)};
    images.insert(images.end(), strips.begin(), strips.end());
    return CreateOctalPalette(images);
}

UniqueFont CSkinPainter::CreateRowFont(int height, bool japanese)
{
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  japanese ? L"" : L"MS Sans Serif"));
}

int CSkinPainter::LineHeightOf(HFONT font) const
{
    ClientDC dc(m_hWnd);
    SelectObjectScope selectFont(dc.get(), font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

void CSkinPainter::UseScale(const CSkinGeometry& geometry, std::unique_ptr<Pictures> pictures,
                            std::unique_ptr<CPalette> palette, const std::vector<CDib*>& strips, bool japanese)
{
    m_geometry = geometry;
    m_activity.SetGeometry(geometry);
    // The pictures that borrowed the old palette go before it.
    m_pictures = std::move(pictures);
    m_pPalette = std::move(palette);
    if (m_pPalette) {
        for (CDib* image : {&m_pictures->background, &m_pictures->titleBar, &m_pictures->logo, &m_pictures->lights})
            image->SetPalette(m_pPalette.get());
        for (CDib* strip : strips)
            strip->SetPalette(m_pPalette.get());
    }
    m_font = CreateRowFont(geometry.FontHeight(japanese), japanese);
    // The rows are as far apart as at 96 DPI scaled, however the font
    // rounds its height at this size, and never less than the font is high.
    m_nLineHeight = LineHeightOf(m_font.get());
    if (geometry.GetDpi() != Dpi::kStandard) {
        const UniqueFont standard = CreateRowFont(CSkinGeometry().FontHeight(japanese), japanese);
        m_nLineHeight = std::max(m_nLineHeight, geometry.Scale(LineHeightOf(standard.get())));
    }
    // The off-screen copy is made anew, at the new size, at its next use.
    m_canvas.Release();
    m_nShownActivity = -1;
}

// ---- What changes ------------------------------------------------------------

void CSkinPainter::ShowPage(int page)
{
    m_nPage = page;
    if (HDC canvas = Canvas()) {
        DrawPage(canvas);
        Present(m_geometry.Panel());
    }
}

void CSkinPainter::UpdateValue(const std::string& text, int page, int row)
{
    std::string& stored = m_values[page][row];
    if (stored == text)
        return;
    stored = text;
    if (page != m_nPage)
        return;
    if (HDC canvas = Canvas()) {
        DrawValue(canvas, text, row);
        Present(ValueRect(row));
    }
}

void CSkinPainter::UpdateActivity(const LinePoll& poll)
{
    m_activity.Update(poll);
    if (HDC canvas = Canvas()) {
        if (m_activity.PictureKey() != m_nShownActivity) {
            DrawActivityPicture(canvas);
            Present(m_geometry.ActivityArea());
        } else if (m_pRecorder) {
            m_pRecorder->OnDrawActivity(m_activity.m_nUpstreamLevel, m_activity.m_nDownstreamLevel,
                                        m_activity.m_nLightImage);
        }
    }
}

// ---- Drawing -------------------------------------------------------------------

HPALETTE CSkinPainter::PaletteHandle() const
{
    return m_pPalette ? m_pPalette->GetHandle() : nullptr;
}

void CSkinPainter::PaintContent(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    const Pictures& pictures = *m_pictures;
    pictures.background.Draw(dc, 0, 0);
    const POINT logo = m_geometry.LogoOrigin(pictures.logo.m_nHeight);
    pictures.logo.Draw(dc, logo.x, logo.y);
    const RECT panel = m_geometry.Panel();
    FillRect(dc, &panel, m_panelBrush.get());
    // The lights are composed over the background once, for every later poll.
    m_activity.ComposeLights(dc, pictures.lights);
    DrawPage(dc);
    // The last poll's bars and light stay in the picture until the next poll.
    if (m_activity.m_nLightImage != CActivityBars::kLightNone)
        m_activity.Draw(dc, pictures.lights);
    if (dc == m_canvas.Dc())
        m_nShownActivity = m_activity.PictureKey();
}

void CSkinPainter::DrawActivityPicture(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    m_activity.Draw(dc, m_pictures->lights, m_pRecorder);
    if (dc == m_canvas.Dc())
        m_nShownActivity = m_activity.PictureKey();
}

void CSkinPainter::DrawPage(HDC dc)
{
    DrawTitle(dc);
    for (int row = 0; row < kRowCount; ++row)
        DrawLabel(dc, m_labels[m_nPage][row], row);
    for (int row = 0; row < kRowCount; ++row)
        DrawValue(dc, m_values[m_nPage][row], row);
}

std::wstring CSkinPainter::PageIndicator() const
{
    return FormatPageIndicator(m_pageFormat, m_nPage + 1, kPageCount);
}

RECT CSkinPainter::RowPlace(int row) const
{
    RECT place = LabelRect(row);
    place.right = ValueRect(row).right;
    return place;
}

RECT CSkinPainter::TitleRect() const
{
    return m_geometry.TitleText(m_pictures->titleBar.m_nWidth, m_pictures->titleBar.m_nHeight);
}

RECT CSkinPainter::LabelRect(int row) const
{
    return m_geometry.LabelRow(row, m_pictures->titleBar.m_nHeight, m_nLineHeight);
}

RECT CSkinPainter::ValueRect(int row) const
{
    return m_geometry.ValueRow(row, m_pictures->titleBar.m_nHeight, m_nLineHeight);
}

void CSkinPainter::DrawTitle(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    const RECT panel = m_geometry.Panel();
    m_pictures->titleBar.Draw(dc, panel.left, panel.top);

    SelectObjectScope selectFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour(Settings::kTitlebarTextRGB));
    RECT rect = TitleRect();
    const std::wstring& title = m_pageTitles[m_nPage];
    DrawTextW(dc, title.c_str(), int(title.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    std::wstring indicator = PageIndicator();
    DrawTextW(dc, indicator.c_str(), int(indicator.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    if (m_pRecorder)
        m_pRecorder->OnDrawTitle(m_nPage, title, indicator);
}

// A row's label or value: the panel behind it cleared, then the text in the
// skin's font and the colour setting named by colourKey (read at every use,
// unless a preview gives it).
void CSkinPainter::DrawRowText(HDC dc, const std::wstring& text, RECT rect, const char* colourKey, UINT format)
{
    SelectObjectScope selectFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour(colourKey));
    FillRect(dc, &rect, m_panelBrush.get());
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
}

void CSkinPainter::DrawLabel(HDC dc, const std::wstring& text, int row)
{
    DrawRowText(dc, text, LabelRect(row), Settings::kLabelTextRGB, DT_RIGHT);
    if (m_pRecorder)
        m_pRecorder->OnDrawLabel(row, text);
}

void CSkinPainter::DrawValue(HDC dc, const std::string& text, int row)
{
    // Values come from the driver: an "&" in them is text, not a mnemonic. A
    // text wider than its column ends in an ellipsis rather than being cut.
    DrawRowText(dc, WideFromUtf8(text), ValueRect(row), Settings::kStatusTextRGB,
                DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (m_pRecorder)
        m_pRecorder->OnDrawValue(row, text);
}

// ---- The off-screen copy and the screen ---------------------------------------

HDC CSkinPainter::Canvas(bool* paintedWhole)
{
    if (paintedWhole)
        *paintedWhole = false;
    if (!m_hWnd)
        return nullptr;
    int width = m_pictures->background.m_nWidth;
    int height = m_pictures->background.m_nHeight;
    if (!m_canvas || m_canvas.Width() != width || m_canvas.Height() != height) {
        ClientDC reference(m_hWnd);
        if (!m_canvas.Ensure(reference.get(), width, height))
            return nullptr;
    }
    if (m_canvas.WasCreated()) {
        PaintContent(m_canvas.Dc());
        if (paintedWhole)
            *paintedWhole = true;
    }
    return m_canvas.Dc();
}

void CSkinPainter::Present(const RECT& area)
{
    ClientDC dc(m_hWnd);
    SelectPaletteScope selectPalette(dc.get(), PaletteHandle());
    RealizePalette(dc.get());
    BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, m_canvas.Dc(), area.left,
           area.top, SRCCOPY);
}

void CSkinPainter::PaintWindow(HDC dc)
{
    bool paintedWhole = false;
    HDC canvas = Canvas(&paintedWhole);
    if (!canvas)
        return;
    if (!paintedWhole)
        PaintContent(canvas);
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    BitBlt(dc, 0, 0, m_canvas.Width(), m_canvas.Height(), canvas, 0, 0, SRCCOPY);
}

bool CSkinPainter::RealizePaletteOnWindow()
{
    if (!m_pPalette)
        return false;
    ClientDC dc(m_hWnd);
    SelectPaletteScope selectPalette(dc.get(), PaletteHandle());
    RealizePalette(dc.get());
    return true;
}

void CSkinPainter::DrawButtonBackdrop(HDC dc, const RECT& place)
{
    if (HDC canvas = Canvas())
        BitBlt(dc, 0, 0, place.right - place.left, place.bottom - place.top, canvas, place.left, place.top, SRCCOPY);
}
