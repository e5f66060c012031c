#include "tray/SysTrayWnd.h"

#include "framework/Dpi.h"
#include "framework/ErrorBox.h"
#include "framework/MessageTable.h"
#include "settings/IniFile.h"
#include "settings/ProgramIdentity.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/XVuk.h"
#include "status/LineAlertText.h"
#include "status/SleeplessClock.h"
#include "tray/TrayLineReading.h"
#include "tray/TrayMenu.h"
#include "tray/TrayMessages.h"
#include "tray/TrayText.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 500;

// The icons' size: the small-icon size of the taskbar's DPI.
int TrayIconSize(unsigned dpi)
{
    return Dpi::SystemMetric(SM_CXSMICON, dpi);
}

// Read anew at each use; optional: a file without the key (an older one),
// or no file at all, means no alerts and is reported nowhere.
bool LineAlertsWanted()
{
    return ReadOptionalIniInt(Settings::kNotifyLineChanges) != 0;
}

uint32_t WakeGraceMs()
{
    return uint32_t(WakeGraceSeconds(ReadOptionalIniInt(Settings::kWakeGraceSeconds))) * 1000;
}

} // namespace

CSysTrayWnd::CSysTrayWnd(IAppServices& app) : CSysTrayWnd(app, PlatformNotifyIconShell())
{
}

// The taskbar lies on the primary monitor, where (0, 0) is.
CSysTrayWnd::CSysTrayWnd(IAppServices& app, INotifyIconShell& shell)
    : m_app(app), m_shell(shell), m_icons(TrayIconSize(Dpi::ForPoint({0, 0})))
{
}

CSysTrayWnd::~CSysTrayWnd()
{
    // Here, while WM_DESTROY still reaches this class and removes the icon.
    DestroyWindow();
}

bool CSysTrayWnd::Create(CWnd* parent)
{
    if (!CreateEx(0, kProgramWindowClass, kTrayWindowTitle, WS_POPUP, 0, 0, 0, 0,
                  parent ? parent->m_hWnd : nullptr, 0))
        return false;
    AddIcon();
    SetTimer(m_hWnd, kPollTimer, kPollPeriodMs, nullptr);
    // The first read is part of start-up: a failure there reaches the
    // start-up guard (its box, then the end) instead of a box of its own.
    m_bStarting = true;
    try {
        Poll(kPollTimer);
    } catch (...) {
        m_bStarting = false;
        throw;
    }
    m_bStarting = false;
    return true;
}

void CSysTrayWnd::RestartPollTimer()
{
    if (IsWindow())
        SetTimer(m_hWnd, kPollTimer, kPollPeriodMs, nullptr);
}

bool CSysTrayWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Built at first use: the registered message ids exist by then.
    static const MessageEntry<CSysTrayWnd> table[] = {
        {WM_TIMER, kAnyCode, kAnyId, &CSysTrayWnd::OnTimer},
        {WM_CLOSE, kAnyCode, kAnyId, &CSysTrayWnd::OnClose},
        {WM_DESTROY, kAnyCode, kAnyId, &CSysTrayWnd::OnDestroy},
        {TrayCallbackMessage(), kAnyCode, kAnyId, &CSysTrayWnd::OnTrayNotify},
        {TaskbarCreatedMessage(), kAnyCode, kAnyId, &CSysTrayWnd::OnTaskbarCreated},
        {WM_DPICHANGED, kAnyCode, kAnyId, &CSysTrayWnd::OnDpiChanged},
        {WM_SETTINGCHANGE, kAnyCode, kAnyId, &CSysTrayWnd::OnSettingChange},
        {WM_COMMAND, kAnyCode, kCommandOpen, &CSysTrayWnd::OnOpenStatusWindow},
        {WM_COMMAND, kAnyCode, kCommandClose, &CSysTrayWnd::OnCloseStatusWindow},
        {WM_COMMAND, kAnyCode, kCommandExit, &CSysTrayWnd::OnExit},
        {WM_COMMAND, kAnyCode, kCommandSettings, &CSysTrayWnd::OnSettings},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           OnPowerMessage(m_hWnd, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

void CSysTrayWnd::OnSleep()
{
    KillTimer(m_hWnd, kPollTimer);
    m_lineWatch.Sleep();
    m_app.RecordPcEvent(LineReader::TrayIcon, PcEvent::Sleep);
}

void CSysTrayWnd::OnWake()
{
    m_app.RecordPcEvent(LineReader::TrayIcon, PcEvent::Wake);
    m_lineWatch.Wake(SleeplessTickCount(), WakeGraceMs());
    // The first read at once, once the broadcast is answered; then every second.
    SetTimer(m_hWnd, kPollTimer, kPollPeriodMs, nullptr);
    ReadAtNextTrayTick();
    PostMessageW(m_hWnd, WM_TIMER, kPollTimer, 0);
}

void CSysTrayWnd::OnSessionEnd()
{
    m_app.RecordPcEvent(LineReader::TrayIcon, PcEvent::SessionEnd);
}

bool CSysTrayWnd::AddIcon()
{
    m_bIconAdded = true;
    return Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON, m_nIconIndex, std::wstring());
}

void CSysTrayWnd::RemoveIcon()
{
    m_bIconAdded = false;
    Notify(NIM_DELETE, 0, m_nIconIndex, std::wstring());
}

bool CSysTrayWnd::Notify(DWORD message, UINT flags, int index, const std::wstring& tip)
{
    return m_shell.NotifyIcon(
        message, MakeNotifyIconRecord(m_hWnd, flags, TrayCallbackMessage(), m_icons.Get(index), tip));
}

void CSysTrayWnd::SetIconAndTip(int index)
{
    std::wstring present = m_sTip;
    SetIconAndTip(index, present);
}

void CSysTrayWnd::SetIconAndTip(int index, const std::wstring& tip)
{
    if (index == m_nIconIndex && tip == m_sTip)
        return;
    // Checked before anything is stored, so that what is stored is always
    // what the shell shows.
    if (tip.size() >= kTrayTipCapacity)
        throw XVuk("System tray text is too big");
    m_nIconIndex = index;
    m_sTip = tip;
    Notify(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP, m_nIconIndex, m_sTip);
}

std::wstring CSysTrayWnd::StateText(uint32_t state) const
{
    return LineStateName(LoadResString(IDS_LINE_STATES), state, LoadResString(IDS_UNKNOWN));
}

void CSysTrayWnd::Poll(UINT_PTR)
{
    if (IsAsleep())
        return;
    // The blink keeps the tool-tip, which always fits: it is shown already.
    if (m_nLineState == kLineStateTraining)
        SetIconAndTip(m_nIconIndex == kTrayIconTraining ? kTrayIconOther : kTrayIconTraining);
    // The status is read on the first tick and then on every other one.
    if (AdvanceTrayTick() % 2 == 0)
        return;
    ReadStatus();
}

void CSysTrayWnd::ReadStatus()
{
    std::wstring tip;
    try {
        std::wstring separator = TipSeparator(IsWindowsNT());
        TrayLineReading reading = ReadTrayLine();
        m_nLineState = reading.lineState;
        AlertLineChange(reading);

        int index = kTrayIconOther;
        std::wstring text;
        switch (m_nLineState) {
        case kLineStateUnreadable:
            index = kTrayIconUnreadable;
            text = LoadResString(IDS_UNAVAILABLE);
            break;
        case kLineStateTraining:
            index = kTrayIconTraining;
            text = StateLineText(LoadResString(IDS_LABEL_STATE), StateText(m_nLineState));
            break;
        case kLineStateUp: {
            bool downstreamChanged = reading.downstreamCells != m_nDownstreamCells;
            bool upstreamChanged = reading.upstreamCells != m_nUpstreamCells;
            m_nDownstreamCells = reading.downstreamCells;
            m_nUpstreamCells = reading.upstreamCells;
            index = TrafficIconIndex(downstreamChanged, upstreamChanged);
            text = RatesText(LoadResString(IDS_RATE_UPSTREAM), reading.upstreamRate, separator,
                             LoadResString(IDS_RATE_DOWNSTREAM), reading.downstreamRate);
            break;
        }
        default:
            text = StateLineText(LoadResString(IDS_LABEL_STATE), StateText(m_nLineState));
            break;
        }
        tip = LoadResString(IDS_TITLE) + separator + text;
        SetIconAndTip(index, tip);
    } catch (const XVuk& error) {
        if (m_bStarting)
            throw;
        ReportPollFailure(error.GetMessageText(), tip);
        return;
    }
    m_bFailureReported = false;
}

void CSysTrayWnd::AlertLineChange(const TrayLineReading& reading)
{
    const LineCondition condition = TrayLineCondition(reading);
    const LineRates rates = {reading.downstreamRate, reading.upstreamRate};
    m_app.RecordLineRead(LineReader::TrayIcon, condition, rates);
    const std::optional<LineChange> change = m_lineWatch.Observe(condition, SleeplessTickCount(), rates);
    if (!change || !m_bIconAdded)
        return;
    const LineAlert alert = LineAlertFor(*change, [](unsigned id) { return LoadResString(id); });
    if (!alert.text.empty() && LineAlertsWanted())
        m_shell.NotifyIcon(NIM_MODIFY, MakeBalloonRecord(m_hWnd, LoadResString(IDS_TITLE), alert.text, alert.warning));
}

void CSysTrayWnd::ReportPollFailure(const std::string& message, const std::wstring& tip)
{
    if (m_bFailureReported && message == m_sFailedMessage && tip == m_sFailedTip)
        return;
    // Remembered before the box opens (or, while another box is open, the
    // failure waits for it): the box pumps messages, and the timer's polls
    // inside it must find this failure reported.
    m_bFailureReported = true;
    m_sFailedMessage = message;
    m_sFailedTip = tip;
    ReportError(XVuk("%s", message.c_str()));
}

void CSysTrayWnd::ShowMenu()
{
    UniqueMenu menu = BuildTrayMenu(m_app.HasOpenStatusWindow());
    if (menu)
        TrackTrayMenu(m_hWnd, std::move(menu));
}

LRESULT CSysTrayWnd::OnTimer(WPARAM wParam, LPARAM)
{
    Poll(wParam);
    return 0;
}

LRESULT CSysTrayWnd::OnClose(WPARAM wParam, LPARAM lParam)
{
    RemoveIcon();
    return Default(WM_CLOSE, wParam, lParam); // destroys the window
}

LRESULT CSysTrayWnd::OnDestroy(WPARAM, LPARAM)
{
    // Destroyed without WM_CLOSE (at the program's end): an icon left behind
    // would stay in the taskbar until the mouse passes over it.
    if (m_bIconAdded)
        RemoveIcon();
    return 0;
}

LRESULT CSysTrayWnd::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDBLCLK)
        m_app.ShowMainWindow();
    else if (lParam == WM_RBUTTONDOWN)
        ShowMenu();
    return 1;
}

LRESULT CSysTrayWnd::OnTaskbarCreated(WPARAM, LPARAM)
{
    // A new taskbar may come with a new scale (the display settings changed).
    const int size = TrayIconSize(Dpi::ForWindow(m_hWnd));
    if (size != m_icons.Size())
        m_icons = CTrayIcons(size);
    AddIcon();
    return 1;
}

LRESULT CSysTrayWnd::OnDpiChanged(WPARAM wParam, LPARAM)
{
    // The new DPI comes with the message: the window may not report it yet.
    UseDpi(LOWORD(wParam));
    return 0;
}

LRESULT CSysTrayWnd::OnSettingChange(WPARAM wParam, LPARAM lParam)
{
    UseDpi(Dpi::ForWindow(m_hWnd));
    return Default(WM_SETTINGCHANGE, wParam, lParam);
}

void CSysTrayWnd::UseDpi(unsigned dpi)
{
    const int size = TrayIconSize(dpi);
    if (size == m_icons.Size())
        return;
    m_icons = CTrayIcons(size); // all seven loaded before the old ones go
    if (m_bIconAdded)
        Notify(NIM_MODIFY, NIF_ICON, m_nIconIndex, m_sTip);
}

LRESULT CSysTrayWnd::OnOpenStatusWindow(WPARAM, LPARAM)
{
    m_app.ShowMainWindow();
    return 0;
}

LRESULT CSysTrayWnd::OnCloseStatusWindow(WPARAM, LPARAM)
{
    m_app.CloseStatusWindow();
    return 0;
}

LRESULT CSysTrayWnd::OnSettings(WPARAM, LPARAM)
{
    m_app.OpenSettings();
    return 0;
}

LRESULT CSysTrayWnd::OnExit(WPARAM, LPARAM)
{
    RemoveIcon();
    m_app.ExitApplication();
    return 0;
}
