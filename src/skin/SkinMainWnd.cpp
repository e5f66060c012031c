#include "skin/SkinMainWnd.h"

#include "dib/OctalPalette.h"
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "driver/VirtualCommands.h"
#include "framework/MessageTable.h"
#include "framework/ProgramClass.h"
#include "settings/IniFile.h"
#include "settings/ProgramIcons.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/SettingsKeys.h"
#include "settings/TextUtil.h"
#include "settings/WideText.h"
#include "settings/XVuk.h"
#include "skin/PageIndicator.h"
#include "skin/SkinDrawRecorder.h"

#include <vector>

using namespace SkinLayout;

namespace {

const char kLogoFile[] = "LogoSkin.bmp";
const char kRateSuffix[] = " kbps";
const char kNoRate[] = "0 kbps";
const char kJapanese[] = "japanese";

const UINT kPageLabels[CSkinMainWnd::kPageCount][CSkinMainWnd::kRowCount] = {
    {IDS_LABEL_STATE, IDS_LABEL_MODE, IDS_LABEL_DOWNSTREAM, IDS_LABEL_UPSTREAM},
    {IDS_LABEL_PACKAGE, IDS_LABEL_DRIVER, IDS_LABEL_PROGRAM, IDS_LABEL_FIRMWARE},
};

// The fields: line state, mode while down, mode while up, the upstream and
// downstream rates, then the three texts of page 1.
enum Field {
    kLineStateField = 0,
    kModeDownField,
    kModeUpField,
    kUpstreamRateField,
    kDownstreamRateField,
    kPackageField,
    kDriverField,
    kFirmwareField,
};

struct FieldSetup {
    uint32_t command;
    FieldType type;
    UINT enumListId; // 0: none
};
const FieldSetup kFieldSetup[CSkinMainWnd::kFieldCount] = {
    {Command::kLineState, FieldEnum, IDS_LINE_STATES},
    {Command::kModeLineDown, FieldEnum, IDS_LINE_MODES},
    {Command::kModeLineUp, FieldEnum, IDS_LINE_MODES},
    {Command::kUpstreamRate, FieldUnsigned, 0},
    {Command::kDownstreamRate, FieldUnsigned, 0},
    {Command::kPackageVersion, FieldText, 0},
    {Command::kVersionText, FieldText, 0},
    {Command::kFirmwareVersion, FieldText, 0},
};

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

const COLORREF kPanelColour = PALETTERGB(0, 0, 0);

} // namespace

CSkinMainWnd::CSkinMainWnd(IAppServices& app)
    : m_pApp(&app), m_background(false), m_logo(false), m_lights(true), m_titleBar(false)
{
    m_panelBrush.reset(CreateSolidBrush(kPanelColour));

    // Row 2 of page 1 is the program's own version and never changes.
    m_values[1][2] = kProgramVersionText;

    m_hIconBig.reset(LoadWindowIcon(true));
    m_hIconSmall.reset(LoadWindowIcon(false));

    for (int page = 0; page < kPageCount; ++page)
        for (int row = 0; row < kRowCount; ++row)
            m_labels[page][row] = LoadResString(kPageLabels[page][row]);
    m_pageTitles[0] = LoadResString(IDS_TAB_STATUS);
    m_pageTitles[1] = LoadResString(IDS_TAB_VERSION);
    m_pageFormat = LoadResString(IDS_PAGE_FORMAT);
    std::string unavailable = LoadResStringUtf8(IDS_UNAVAILABLE);
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldSetup& setup = kFieldSetup[i];
        std::string enumList = setup.enumListId ? LoadResStringUtf8(setup.enumListId) : std::string();
        m_fields[i].init(setup.command, setup.type, enumList, 1.0f, 0.0f, unavailable);
    }

    LoadImages();
    CreateSkinWindow();
    CreateButtons();
    CreateSharedPalette();
    CreateTextFont();

    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig.get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall.get()));

    RepaintWhole();
    SetTimer(m_hWnd, kPollTimer, kPollPeriod, nullptr);
    Refresh();
}

CSkinMainWnd::~CSkinMainWnd()
{
    // The window goes first, while every member it paints with still exists.
    DestroyWindow();
}

void CSkinMainWnd::LoadImages()
{
    uint8_t hue = ReadIniByte(Settings::kHue);
    uint8_t sat = ReadIniByte(Settings::kSat);
    m_background.m_bRecolor = true;
    m_background.m_nHue = hue;
    m_background.m_nSat = sat;
    m_background.LoadFromResource(IDB_SKIN_BACKGROUND);

    m_logo.LoadFromFile(JoinPath(GetProgramDir(), kLogoFile));

    m_lights.LoadFromResource(IDB_SKIN_LIGHTS);
    m_titleBar.m_bRecolor = true;
    m_titleBar.m_nHue = ReadIniByte(Settings::kTitlebarHue);
    m_titleBar.m_nSat = ReadIniByte(Settings::kTitlebarSat);
    m_titleBar.LoadFromResource(IDB_SKIN_TITLEBAR);
    if (ReadIniInt(Settings::kTransparentBitmap) != 0)
        m_logo.m_bTransparent = true;
}

void CSkinMainWnd::CreateSkinWindow()
{
    int width = m_background.m_nWidth;
    int height = m_background.m_nHeight;
    UniqueRegion region(CreateRoundRectRgn(0, 0, width, height, kCornerEllipse, kCornerEllipse));
    std::wstring title = LoadResString(IDS_TITLE);
    if (!CreateEx(0, kProgramWindowClass, title.c_str(), WS_POPUP | WS_VISIBLE, kWindowLeft, kWindowTop, width,
                  height, nullptr, 0))
        throw XVuk("Can't create the status window");
    // From here on the window system owns the region.
    if (region && SetWindowRgn(m_hWnd, region.get(), TRUE))
        region.release();
}

void CSkinMainWnd::CreateButtons()
{
    m_buttons[kPreviousButton].SetEnabled(false);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtons[i];
        std::wstring tooltip = LoadResString(place.tooltipId);
        CSkinButton& button = m_buttons[i];
        if (ReadIniInt(Settings::kUseHueAndSat) != 0) {
            button.m_strip.m_bRecolor = true;
            button.m_strip.m_nHue = ReadIniByte(Settings::kHue);
            button.m_strip.m_nSat = ReadIniByte(Settings::kSat);
        }
        RECT rect = {place.x, place.y, place.x + place.side, place.y + place.side};
        button.SetBackdrop(this);
        button.Create(*this, rect, IDB_SKIN_BUTTONS, place.stripColumn, place.commandId, tooltip);
    }
    m_nFocus = kCloseButton;
    m_buttons[kCloseButton].SetFocused(true);
}

void CSkinMainWnd::CreateSharedPalette()
{
    std::vector<CDib*> images = {&m_background, &m_lights, &m_titleBar, &m_logo};
    for (CSkinButton& button : m_buttons)
        images.push_back(&button.m_strip);
    m_buttons[kPreviousButton].SetEnabled(false);
    m_pPalette = CreateOctalPalette(images);
    if (m_pPalette)
        for (CDib* image : images)
            image->SetPalette(m_pPalette.get());
}

void CSkinMainWnd::CreateTextFont()
{
    bool japanese = m_pApp->GetLanguageName() == kJapanese;
    m_font.reset(CreateFontW(japanese ? 14 : 8, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             japanese ? L"" : L"MS Sans Serif"));
    ClientDC dc(m_hWnd);
    SelectObjectScope selectFont(dc.get(), m_font.get());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.get(), &metrics);
    m_nLineHeight = metrics.tmHeight;
}

// ---- Polling ---------------------------------------------------------------

void CSkinMainWnd::Refresh()
{
    m_fields[kLineStateField].fetch();
    m_fields[kUpstreamRateField].fetch();
    m_fields[kDownstreamRateField].fetch();

    if (m_nPage == 1) {
        m_fields[kPackageField].fetch();
        UpdateValue(m_fields[kPackageField].format(), 1, 0);
        m_fields[kDriverField].fetch();
        UpdateValue(m_fields[kDriverField].format(), 1, 1);
        m_fields[kFirmwareField].fetch();
        UpdateValue(m_fields[kFirmwareField].format(), 1, 3);
    } else {
        m_fields[kModeDownField].fetch();
        m_fields[kModeUpField].fetch();
        const StatusField& lineState = m_fields[kLineStateField];
        UpdateValue(lineState.format(), 0, 0);
        // An over-long answer counts as unreadable rather than raising every second.
        uint32_t state = 0;
        std::string mode;
        if (lineState.readDword(state) && state == 2) {
            UpdateValue(m_fields[kUpstreamRateField].format() + kRateSuffix, 0, 3);
            UpdateValue(m_fields[kDownstreamRateField].format() + kRateSuffix, 0, 2);
            mode = m_fields[kModeUpField].format();
        } else {
            UpdateValue(kNoRate, 0, 3);
            UpdateValue(kNoRate, 0, 2);
            mode = m_fields[kModeDownField].format();
        }
        if (getAnnexLetter() == "C")
            mode += isDualBitmap() ? " (DBM)" : " (FBM)";
        UpdateValue(mode, 0, 1);
    }

    // The bars and the light: drawn on every poll. When they look exactly as
    // the off-screen copy shows them already, there is nothing to transfer.
    PollActivity();
    if (HDC canvas = Canvas()) {
        if (m_activity.PictureKey() != m_nShownActivity) {
            DrawActivityPicture(canvas);
            Present(kActivityArea);
        } else if (m_pRecorder) {
            m_pRecorder->OnDrawActivity(m_activity.m_nUpstreamLevel, m_activity.m_nDownstreamLevel,
                                        m_activity.m_nLightImage);
        }
    }
}

void CSkinMainWnd::PollActivity()
{
    LinePoll poll;
    const StatusField& lineState = m_fields[kLineStateField];
    poll.stateReadable = lineState.readDword(poll.state);
    poll.upstreamRate = m_fields[kUpstreamRateField].getDwordOr(0);
    poll.downstreamRate = m_fields[kDownstreamRateField].getDwordOr(0);
    m_activity.Update(poll);
}

void CSkinMainWnd::DrawActivity(HDC dc)
{
    PollActivity();
    DrawActivityPicture(dc);
}

void CSkinMainWnd::DrawActivityPicture(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    m_activity.Draw(dc, m_lights, m_pRecorder);
    if (dc == m_canvas.Dc())
        m_nShownActivity = m_activity.PictureKey();
}

void CSkinMainWnd::UpdateValue(const std::string& text, int page, int row)
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

// ---- Drawing ---------------------------------------------------------------

HPALETTE CSkinMainWnd::PaletteHandle() const
{
    return m_pPalette ? m_pPalette->GetHandle() : nullptr;
}

void CSkinMainWnd::PaintContent(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    m_background.Draw(dc, 0, 0);
    m_logo.Draw(dc, kLogoLeft, (kLogoBand - m_logo.m_nHeight) / 2);
    FillRect(dc, &kPanel, m_panelBrush.get());
    // The lights are composed over the background once, for every later poll.
    m_activity.ComposeLights(dc, m_lights);
    DrawPage(dc);
    // The last poll's bars and light stay in the picture until the next poll.
    if (m_activity.m_nLightImage != CActivityBars::kLightNone)
        m_activity.Draw(dc, m_lights);
    if (dc == m_canvas.Dc())
        m_nShownActivity = m_activity.PictureKey();
}

void CSkinMainWnd::DrawPage(HDC dc)
{
    DrawTitle(dc);
    for (int row = 0; row < kRowCount; ++row)
        DrawLabel(dc, m_labels[m_nPage][row], row);
    for (int row = 0; row < kRowCount; ++row)
        DrawValue(dc, m_values[m_nPage][row], row);
}

RECT CSkinMainWnd::TitleRect() const
{
    return {kPanel.left + kTitleInset, kPanel.top, kPanel.left + m_titleBar.m_nWidth - kTitleInset,
            kPanel.top + m_titleBar.m_nHeight};
}

RECT CSkinMainWnd::LabelRect(int row) const
{
    int lineHeight = m_nLineHeight;
    int top = kPanel.top + m_titleBar.m_nHeight + lineHeight + (3 * row * lineHeight) / 2;
    return {kPanel.left, top, kPanelCentre - kColumnGap, top + lineHeight};
}

RECT CSkinMainWnd::ValueRect(int row) const
{
    RECT rect = LabelRect(row);
    rect.left = kPanelCentre + kColumnGap;
    rect.right = kPanel.right;
    return rect;
}

void CSkinMainWnd::DrawTitle(HDC dc)
{
    SelectPaletteScope selectPalette(dc, PaletteHandle());
    RealizePalette(dc);
    m_titleBar.Draw(dc, kPanel.left, kPanel.top);

    SelectObjectScope selectFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ReadTextColour(Settings::kTitlebarTextRGB));
    RECT rect = TitleRect();
    const std::wstring& title = m_pageTitles[m_nPage];
    DrawTextW(dc, title.c_str(), int(title.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    std::wstring indicator = FormatPageIndicator(m_pageFormat, m_nPage + 1, kPageCount);
    DrawTextW(dc, indicator.c_str(), int(indicator.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    if (m_pRecorder)
        m_pRecorder->OnDrawTitle(m_nPage, title, indicator);
}

void CSkinMainWnd::DrawLabel(HDC dc, const std::wstring& text, int row)
{
    SelectObjectScope selectFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ReadTextColour(Settings::kLabelTextRGB));
    RECT rect = LabelRect(row);
    FillRect(dc, &rect, m_panelBrush.get());
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, DT_RIGHT);
    if (m_pRecorder)
        m_pRecorder->OnDrawLabel(row, text);
}

void CSkinMainWnd::DrawValue(HDC dc, const std::string& text, int row)
{
    SelectObjectScope selectFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ReadTextColour(Settings::kStatusTextRGB));
    RECT rect = ValueRect(row);
    FillRect(dc, &rect, m_panelBrush.get());
    // Values come from the driver: an "&" in them is text, not a mnemonic. A
    // text wider than its column ends in an ellipsis rather than being cut.
    std::wstring wide = WideFromUtf8(text);
    DrawTextW(dc, wide.c_str(), int(wide.size()), &rect, DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (m_pRecorder)
        m_pRecorder->OnDrawValue(row, text);
}

HDC CSkinMainWnd::Canvas(bool* paintedWhole)
{
    if (paintedWhole)
        *paintedWhole = false;
    if (!m_hWnd)
        return nullptr;
    int width = m_background.m_nWidth;
    int height = m_background.m_nHeight;
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

void CSkinMainWnd::Present(const RECT& area)
{
    ClientDC dc(m_hWnd);
    SelectPaletteScope selectPalette(dc.get(), PaletteHandle());
    RealizePalette(dc.get());
    BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, m_canvas.Dc(), area.left,
           area.top, SRCCOPY);
}

void CSkinMainWnd::RepaintWhole()
{
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
}

void CSkinMainWnd::DrawButtonBackdrop(HDC dc, const RECT& place)
{
    if (HDC canvas = Canvas())
        BitBlt(dc, 0, 0, place.right - place.left, place.bottom - place.top, canvas, place.left, place.top, SRCCOPY);
}

// ---- Messages --------------------------------------------------------------

bool CSkinMainWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CSkinMainWnd> table[] = {
        {WM_PAINT, kAnyCode, kAnyId, &CSkinMainWnd::OnPaint},
        {WM_ERASEBKGND, kAnyCode, kAnyId, &CSkinMainWnd::OnEraseBackground},
        {WM_QUERYNEWPALETTE, kAnyCode, kAnyId, &CSkinMainWnd::OnQueryNewPalette},
        {WM_PALETTECHANGED, kAnyCode, kAnyId, &CSkinMainWnd::OnPaletteChanged},
        {WM_LBUTTONDOWN, kAnyCode, kAnyId, &CSkinMainWnd::OnLeftButtonDown},
        {WM_TIMER, kAnyCode, kAnyId, &CSkinMainWnd::OnTimer},
        {WM_KEYDOWN, kAnyCode, kAnyId, &CSkinMainWnd::OnKeyDown},
        {WM_KEYUP, kAnyCode, kAnyId, &CSkinMainWnd::OnKeyUp},
        {WM_COMMAND, 0, kPreviousPageCommand, &CSkinMainWnd::OnPreviousPage},
        {WM_COMMAND, 0, kNextPageCommand, &CSkinMainWnd::OnNextPage},
        {WM_COMMAND, 0, kCloseWindowCommand, &CSkinMainWnd::OnClose},
        {WM_COMMAND, 0, kMinimiseCommand, &CSkinMainWnd::OnMinimise},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

LRESULT CSkinMainWnd::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd);
    bool paintedWhole = false;
    HDC canvas = Canvas(&paintedWhole);
    if (!canvas)
        return 0;
    if (!paintedWhole)
        PaintContent(canvas);
    // The buttons paint their own places (composed over this picture).
    for (const CSkinButton& button : m_buttons) {
        if (button.m_hWnd && IsWindowVisible(button.m_hWnd)) {
            RECT place;
            GetWindowRect(button.m_hWnd, &place);
            MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
            ExcludeClipRect(paint.get(), place.left, place.top, place.right, place.bottom);
        }
    }
    SelectPaletteScope selectPalette(paint.get(), PaletteHandle());
    RealizePalette(paint.get());
    BitBlt(paint.get(), 0, 0, m_canvas.Width(), m_canvas.Height(), canvas, 0, 0, SRCCOPY);
    return 0;
}

LRESULT CSkinMainWnd::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // WM_PAINT covers every pixel
}

LRESULT CSkinMainWnd::OnQueryNewPalette(WPARAM, LPARAM)
{
    if (!m_pPalette)
        return FALSE;
    {
        ClientDC dc(m_hWnd);
        SelectPaletteScope selectPalette(dc.get(), PaletteHandle());
        RealizePalette(dc.get());
    }
    RepaintWhole();
    return TRUE;
}

LRESULT CSkinMainWnd::OnPaletteChanged(WPARAM, LPARAM)
{
    if (m_pPalette) {
        {
            ClientDC dc(m_hWnd);
            SelectPaletteScope selectPalette(dc.get(), PaletteHandle());
            RealizePalette(dc.get());
        }
        RepaintWhole();
    }
    return 0;
}

LRESULT CSkinMainWnd::OnLeftButtonDown(WPARAM, LPARAM lParam)
{
    // Dragged by any part of its face: the press becomes one on a caption,
    // with the point as it came (the move loop follows the cursor itself).
    PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
    return 0;
}

LRESULT CSkinMainWnd::OnTimer(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kPollTimer) {
        Refresh();
        return 0;
    }
    return Default(WM_TIMER, wParam, lParam);
}

LRESULT CSkinMainWnd::OnKeyDown(WPARAM wParam, LPARAM)
{
    UINT key = UINT(wParam);
    m_buttons[m_nFocus].KeyDown(key);
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (key == VK_TAB)
        MoveFocus(shift ? -1 : 1);
    else if (key == VK_ESCAPE)
        OnClose(0, 0);
    else if (key == 'L' && control && shift)
        m_pApp->GenerateDebugLog();
    return 0;
}

LRESULT CSkinMainWnd::OnKeyUp(WPARAM wParam, LPARAM)
{
    m_buttons[m_nFocus].KeyUp(UINT(wParam));
    return 0;
}

void CSkinMainWnd::MoveFocus(int step)
{
    m_buttons[m_nFocus].SetFocused(false);
    m_nFocus = (m_nFocus + step + kButtonCount) % kButtonCount;
    m_buttons[m_nFocus].SetFocused(true);
    RepaintWhole();
    Refresh();
}

LRESULT CSkinMainWnd::OnPreviousPage(WPARAM, LPARAM)
{
    if (m_nPage != 0)
        ShowPage(m_nPage - 1);
    return 0;
}

LRESULT CSkinMainWnd::OnNextPage(WPARAM, LPARAM)
{
    if (m_nPage != 1)
        ShowPage(m_nPage + 1);
    return 0;
}

void CSkinMainWnd::ShowPage(int page)
{
    m_nPage = page;
    if (page == 0) {
        m_buttons[kPreviousButton].SetEnabled(false);
        m_buttons[kNextButton].SetEnabled(true);
    } else {
        m_buttons[kNextButton].SetEnabled(false);
        m_buttons[kPreviousButton].SetEnabled(true);
    }
    if (HDC canvas = Canvas()) {
        DrawPage(canvas);
        Present(kPanel);
    }
    Refresh();
}

LRESULT CSkinMainWnd::OnClose(WPARAM, LPARAM)
{
    m_pApp->StopDebugMode();
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CSkinMainWnd::OnMinimise(WPARAM, LPARAM)
{
    ShowWindow(m_hWnd, SW_MINIMIZE);
    return 0;
}
