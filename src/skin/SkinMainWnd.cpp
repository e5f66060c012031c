#include "skin/SkinMainWnd.h"

#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "framework/Dpi.h"
#include "framework/MessageTable.h"
#include "settings/ProgramIcons.h"
#include "settings/ProgramIdentity.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/XVuk.h"
#include "settings/WideText.h"
#include "status/ActivityLevel.h"
#include "status/LineStateRead.h"

#include <windowsx.h>

#include <vector>

using namespace SkinLayout;

namespace {

const char kRateSuffix[] = " kbps";
const char kNoRate[] = "0 kbps";
const char kJapanese[] = "japanese";

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

} // namespace

CSkinMainWnd::CSkinMainWnd(IAppServices& app) : m_pApp(&app)
{
    m_hIconBig.reset(LoadWindowIcon(true));
    m_hIconSmall.reset(LoadWindowIcon(false));

    std::string unavailable = LoadResStringUtf8(IDS_UNAVAILABLE);
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldSetup& setup = kFieldSetup[i];
        std::string enumList = setup.enumListId ? LoadResStringUtf8(setup.enumListId) : std::string();
        m_fields[i].init(setup.command, setup.type, enumList, 1.0f, 0.0f, unavailable);
    }

    // The window's DPI is that of the monitor it opens on.
    const unsigned dpi = Dpi::ForPoint({kWindowLeft, kWindowTop});
    Scale scale = LoadScale(dpi);
    CreateSkinWindow(*scale.pictures, dpi);
    CreateButtons(CSkinGeometry(dpi));
    UseScale(std::move(scale));

    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig.get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall.get()));

    m_activityName = LoadResString(IDS_GROUP_ACTIVITY);
    m_activityPattern = LoadResString(IDS_METER_VALUE);
    RepaintWhole();
    SetTimer(m_hWnd, kPollTimer, kPollPeriod, nullptr);
    Refresh();
}

AccessibleItem CSkinMainWnd::AccessibleElement(int index) const
{
    AccessibleItem item;
    item.role = ROLE_SYSTEM_STATICTEXT;
    const CSkinPainter& painter = m_painter;
    if (index == 0) {
        item.name = painter.PageTitle();
        item.value = painter.PageIndicator();
        item.place = painter.TitlePlace();
    } else if (index <= CSkinPainter::kRowCount) {
        const int row = index - 1;
        item.name = painter.Label(row);
        item.value = WideFromUtf8(painter.Value(row));
        item.place = painter.RowPlace(row);
    } else if (index == CSkinPainter::kRowCount + 1) {
        item.role = ROLE_SYSTEM_GRAPHIC;
        item.name = WideFromUtf8(m_fields[kLineStateField].format());
        item.place = painter.Geometry().Light();
    } else {
        const CActivityBars& activity = painter.Activity();
        item.role = ROLE_SYSTEM_PROGRESSBAR;
        item.name = m_activityName;
        // Received is the lower bar's (downstream), sent the upper bar's.
        item.value = ActivityWords(m_activityPattern, activity.m_nDownstreamLevel, activity.m_nUpstreamLevel);
        item.place = painter.Geometry().ActivityArea();
    }
    return item;
}

CSkinMainWnd::~CSkinMainWnd()
{
    // The window goes first, while every member it paints with still exists.
    DestroyWindow();
}

CSkinMainWnd::Scale CSkinMainWnd::LoadScale(unsigned dpi) const
{
    Scale scale;
    scale.dpi = dpi;
    scale.pictures = m_painter.LoadPictures(dpi);
    std::vector<CDib*> strips;
    for (std::unique_ptr<CDib>& strip : scale.strips) {
        strip = m_painter.LoadButtonStrip(dpi);
        strips.push_back(strip.get());
    }
    scale.palette = CSkinPainter::BuildPalette(*scale.pictures, strips);
    return scale;
}

UniqueRegion CSkinMainWnd::WindowRegion(const CDib& background, const CSkinGeometry& geometry)
{
    return UniqueRegion(CreateRoundRectRgn(0, 0, background.m_nWidth, background.m_nHeight, geometry.CornerEllipse(),
                                           geometry.CornerEllipse()));
}

void CSkinMainWnd::CreateSkinWindow(const CSkinPainter::Pictures& pictures, unsigned dpi)
{
    int width = pictures.background.m_nWidth;
    int height = pictures.background.m_nHeight;
    UniqueRegion region = WindowRegion(pictures.background, CSkinGeometry(dpi));
    std::wstring title = LoadResString(IDS_TITLE);
    if (!CreateEx(0, kProgramWindowClass, title.c_str(), WS_POPUP | WS_VISIBLE, kWindowLeft, kWindowTop, width,
                  height, nullptr, 0))
        throw XVuk("Can't create the status window");
    // From here on the window system owns the region.
    if (region && SetWindowRgn(m_hWnd, region.get(), TRUE))
        region.release();
    m_painter.SetWindow(m_hWnd);
}

void CSkinMainWnd::CreateButtons(const CSkinGeometry& geometry)
{
    m_buttons[kPreviousButton].SetEnabled(false);
    for (int i = 0; i < kButtonCount; ++i) {
        std::wstring tooltip = LoadResString(kButtons[i].tooltipId);
        CSkinButton& button = m_buttons[i];
        button.SetBackdrop(&m_painter);
        button.Create(*this, geometry.Button(i), geometry.ButtonStripColumn(i), kButtons[i].commandId, tooltip,
                      geometry.GetDpi());
    }
    m_nFocus = kCloseButton;
    m_buttons[kCloseButton].SetFocused(true);
    m_buttons[kPreviousButton].SetEnabled(false);
}

void CSkinMainWnd::UseScale(Scale scale)
{
    const CSkinGeometry geometry(scale.dpi);
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i].Rescale(*scale.strips[i], geometry.Button(i), geometry.ButtonStripColumn(i), scale.dpi);
    std::vector<CDib*> strips;
    for (CSkinButton& button : m_buttons)
        strips.push_back(&button.m_strip);
    m_painter.UseScale(CSkinGeometry(scale.dpi), std::move(scale.pictures), std::move(scale.palette), strips,
                       m_pApp->GetLanguageName() == kJapanese);
}

void CSkinMainWnd::ChangeDpi(unsigned dpi, const RECT& suggested)
{
    if (dpi == 0)
        return;
    if (dpi != m_painter.Geometry().GetDpi()) {
        // Everything of the new scale is had first: a picture that cannot be
        // loaded leaves the window as it was.
        Scale scale = LoadScale(dpi);
        UniqueRegion region = WindowRegion(scale.pictures->background, CSkinGeometry(dpi));
        UseScale(std::move(scale));
        if (region && SetWindowRgn(m_hWnd, region.get(), FALSE))
            region.release();
    }
    // The art decides the size; Windows' suggestion is the same to a pixel.
    const CDib& background = m_painter.Background();
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, background.m_nWidth, background.m_nHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Polling ---------------------------------------------------------------

void CSkinMainWnd::Refresh()
{
    m_fields[kLineStateField].fetch();
    m_fields[kUpstreamRateField].fetch();
    m_fields[kDownstreamRateField].fetch();
    const StatusField& lineState = m_fields[kLineStateField];
    m_pApp->RecordLineRead(LineReader::StatusWindow, LineConditionOf(lineState),
                           LineRatesOf(lineState, m_fields[kDownstreamRateField], m_fields[kUpstreamRateField]));

    if (m_painter.Page() == 1) {
        m_fields[kPackageField].fetch();
        m_painter.UpdateValue(m_fields[kPackageField].format(), 1, 0);
        m_fields[kDriverField].fetch();
        m_painter.UpdateValue(m_fields[kDriverField].format(), 1, 1);
        m_fields[kFirmwareField].fetch();
        m_painter.UpdateValue(m_fields[kFirmwareField].format(), 1, 3);
    } else {
        m_fields[kModeDownField].fetch();
        m_fields[kModeUpField].fetch();
        m_painter.UpdateValue(lineState.format(), 0, 0);
        // An over-long answer counts as unreadable rather than raising every second.
        uint32_t state = 0;
        std::string mode;
        if (lineState.readDword(state) && state == 2) {
            m_painter.UpdateValue(m_fields[kUpstreamRateField].format() + kRateSuffix, 0, 3);
            m_painter.UpdateValue(m_fields[kDownstreamRateField].format() + kRateSuffix, 0, 2);
            mode = m_fields[kModeUpField].format();
        } else {
            m_painter.UpdateValue(kNoRate, 0, 3);
            m_painter.UpdateValue(kNoRate, 0, 2);
            mode = m_fields[kModeDownField].format();
        }
        if (getAnnexLetter() == "C")
            mode += isDualBitmap() ? " (DBM)" : " (FBM)";
        m_painter.UpdateValue(mode, 0, 1);
    }

    // The bars and the light: drawn on every poll.
    LinePoll poll;
    poll.stateReadable = m_fields[kLineStateField].readDword(poll.state);
    poll.upstreamRate = m_fields[kUpstreamRateField].getDwordOr(0);
    poll.downstreamRate = m_fields[kDownstreamRateField].getDwordOr(0);
    m_painter.UpdateActivity(poll);
    // What changed on the face, told to screen readers once each.
    m_accessibleChanges.Notify(m_hWnd, *this);
}

void CSkinMainWnd::RepaintWhole()
{
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
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
        {WM_COMMAND, 0, kCommandOpen, &CSkinMainWnd::OnHandOver},
        {WM_DPICHANGED, kAnyCode, kAnyId, &CSkinMainWnd::OnDpiChanged},
        {WM_CONTEXTMENU, kAnyCode, kAnyId, &CSkinMainWnd::OnContextMenu},
        {WM_COMMAND, 0, kCommandSettings, &CSkinMainWnd::OnSettings},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           OnPowerMessage(m_hWnd, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

void CSkinMainWnd::OnSleep()
{
    KillTimer(m_hWnd, kPollTimer);
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::Sleep);
}

void CSkinMainWnd::OnWake()
{
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::Wake);
    SetTimer(m_hWnd, kPollTimer, kPollPeriod, nullptr);
    PostMessageW(m_hWnd, WM_TIMER, kPollTimer, 0); // the first poll once the broadcast is answered
}

void CSkinMainWnd::OnSessionEnd()
{
    m_pApp->RecordPcEvent(LineReader::StatusWindow, PcEvent::SessionEnd);
}

LRESULT CSkinMainWnd::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd);
    // The buttons paint their own places (composed over this picture).
    for (const CSkinButton& button : m_buttons) {
        if (button.m_hWnd && IsWindowVisible(button.m_hWnd)) {
            RECT place;
            GetWindowRect(button.m_hWnd, &place);
            MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
            ExcludeClipRect(paint.get(), place.left, place.top, place.right, place.bottom);
        }
    }
    m_painter.PaintWindow(paint.get());
    return 0;
}

LRESULT CSkinMainWnd::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // WM_PAINT covers every pixel
}

LRESULT CSkinMainWnd::OnQueryNewPalette(WPARAM, LPARAM)
{
    if (!m_painter.RealizePaletteOnWindow())
        return FALSE;
    RepaintWhole();
    return TRUE;
}

LRESULT CSkinMainWnd::OnPaletteChanged(WPARAM, LPARAM)
{
    if (m_painter.RealizePaletteOnWindow())
        RepaintWhole();
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
    else if (key == VK_LEFT || key == VK_PRIOR)
        OnPreviousPage(0, 0);
    else if (key == VK_RIGHT || key == VK_NEXT)
        OnNextPage(0, 0);
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
    if (m_painter.Page() != 0)
        ShowPage(m_painter.Page() - 1);
    return 0;
}

LRESULT CSkinMainWnd::OnNextPage(WPARAM, LPARAM)
{
    if (m_painter.Page() != 1)
        ShowPage(m_painter.Page() + 1);
    return 0;
}

void CSkinMainWnd::ShowPage(int page)
{
    if (page == 0) {
        m_buttons[kPreviousButton].SetEnabled(false);
        m_buttons[kNextButton].SetEnabled(true);
    } else {
        m_buttons[kNextButton].SetEnabled(false);
        m_buttons[kPreviousButton].SetEnabled(true);
    }
    m_painter.ShowPage(page);
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

// A second start of the program found this window (no tray icon runs):
// it comes to the front, as the tray icon would bring it.
LRESULT CSkinMainWnd::OnHandOver(WPARAM, LPARAM)
{
    m_pApp->ShowMainWindow();
    return 0;
}

LRESULT CSkinMainWnd::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    // The new DPI comes with the message: the window may not report it yet.
    if (lParam)
        ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
}

// ---- The Settings window's hooks ------------------------------------------------

void CSkinMainWnd::PreviewColours(const SkinColours* colours)
{
    const std::optional<SkinColours> previous = m_painter.PreviewedColours();
    m_painter.PreviewColours(colours);
    try {
        // The pictures of this scale again, coloured anew, as a change of DPI loads them.
        UseScale(LoadScale(m_painter.Geometry().GetDpi()));
    } catch (...) {
        m_painter.PreviewColours(previous ? &*previous : nullptr);
        throw;
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CSkinMainWnd::OnContextMenu(WPARAM, LPARAM lParam)
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return 0;
    AppendMenuW(menu.get(), MF_STRING, kCommandSettings, LoadResString(IDS_MENU_SETTINGS).c_str());
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1) { // from the keyboard: at the window's top-left corner
        at = {0, 0};
        ClientToScreen(m_hWnd, &at);
    }
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    return 0;
}

LRESULT CSkinMainWnd::OnSettings(WPARAM, LPARAM)
{
    m_pApp->OpenSettings();
    return 0;
}
