#include "app/CplApp.h"

#include "app/CommandLine.h"
#include "app/RunningInstance.h"
#include "classic/ClassicDlg.h"
#include "framework/ErrorBox.h"
#include "framework/WindowClass.h"
#include "settings/IniFile.h"
#include "settings/ProgramIdentity.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"
#include "skin/SkinMainWnd.h"
#include "status/SleeplessClock.h"

#include <algorithm>

CCplApp::CCplApp(HINSTANCE instance) : CWinApp(instance), m_trayWnd(*this)
{
}

CCplApp::~CCplApp()
{
    m_pSettingsWnd.reset();
    StopDebugMode();
    m_trayWnd.DestroyWindow();
    m_pStatusWnd.reset();
}

bool CCplApp::InitInstance()
{
    try {
        std::vector<std::wstring> arguments = GetProgramArguments();
        bool iconArgument = FirstArgumentIsIcon(arguments);

        if (ReadIniInt(Settings::kShowSysTrayIcon) == 0 && iconArgument)
            return false;

        m_debugPlugin.Load();
        m_language.SelectLanguage();
        std::wstring title = LoadResString(IDS_TITLE);

        if (HWND running = FindRunningInstance(title)) {
            if (arguments.empty()) {
                // The running program may take the foreground this start was given.
                DWORD process = 0;
                GetWindowThreadProcessId(running, &process);
                AllowSetForegroundWindow(process);
                PostMessageW(running, WM_COMMAND, kCommandOpen, 0);
            }
            return false;
        }

        // After a restart for updates Windows starts the program again,
        // with the same arguments (not after a crash or a hang).
        RegisterApplicationRestart(ArgumentsAfterProgramName(GetCommandLineW()).c_str(),
                                   RESTART_NO_CRASH | RESTART_NO_HANG);
        RegisterWindowClass();
        StartDiary();

        if (ReadIniInt(Settings::kShowSysTrayIcon) != 0) {
            m_trayWnd.Create(nullptr);
            m_pMainWnd = &m_trayWnd;
        }
        if (!iconArgument)
            ShowMainWindow();
        return true;
    } catch (const XVuk& error) {
        ReportError(error);
        return false;
    }
}

int CCplApp::ExitInstance()
{
    m_diary.Stop(DiaryNow());
    return CWinApp::ExitInstance();
}

bool CCplApp::PreTranslateMessage(MSG& message)
{
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        bool f1 = GetKeyState(VK_F1) < 0;
        bool modifier = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
        if (f1 && modifier)
            ToggleDebugMode();
    }
    // Then the dialogs' own keyboard handling (the Settings window's, the classic dialog's).
    if (m_pSettingsWnd && m_pSettingsWnd->IsWindow() && m_pSettingsWnd->PreTranslateMessage(message))
        return true;
    return HasOpenStatusWindow() && m_pStatusWnd->PreTranslateMessage(message);
}

void CCplApp::RegisterWindowClass()
{
    RegisterNamedWindowClass(kProgramWindowClass);
}

void CCplApp::ShowMainWindow()
{
    // An open status window is only brought to the front: no setting is
    // read, so an edited or broken settings file changes nothing here.
    if (HasOpenStatusWindow()) {
        BringToFront(m_pStatusWnd->m_hWnd);
        return;
    }
    m_pStatusWnd.reset();
    m_bAlignTrayTimer = true;
    if (ReadIniInt(Settings::kClassicStyle) != 0)
        m_pStatusWnd = std::make_unique<CClassicDlg>(*this, nullptr);
    else
        m_pStatusWnd = std::make_unique<CSkinMainWnd>(*this);
    if (!m_pStatusWnd->IsWindow()) {
        // The classic dialog reported its failure already. Without the tray
        // icon nothing would be left to end the program with: end it now.
        if (ReadIniInt(Settings::kShowSysTrayIcon) == 0)
            PostQuitMessage(0);
        return;
    }
    BringToFront(m_pStatusWnd->m_hWnd);
    if (ReadIniInt(Settings::kShowSysTrayIcon) == 0)
        m_pMainWnd = m_pStatusWnd.get();
}

// Kept while KeepHistory is on; a missing key or file is off, without a box.
void CCplApp::StartDiary()
{
    if (ReadOptionalIniInt(Settings::kKeepHistory) == 0) {
        m_diary.Start(nullptr, 0, DiaryNow()); // stopped, if it was kept
        return;
    }
    const std::string folder = UserDiaryFolderPath();
    if (folder.empty()) {
        DiaryTrace("Modavi: no local application data folder; the line diary is not kept");
        return;
    }
    m_diary.Start(MakeDiaryFolder(folder), ReadOptionalIniInt(Settings::kHistoryDays), DiaryNow());
}

void CCplApp::RecordLineRead(LineReader reader, LineCondition condition, LineRates rates)
{
    // The first read of a new status window restarts the tray's timer, from
    // within that window's tick: from then on the tray's ticks fall while
    // the window's tick is handled, and each second wakes the program once
    // for both instead of twice. Periods and reads stay as they are.
    if (reader == LineReader::StatusWindow && m_bAlignTrayTimer) {
        m_bAlignTrayTimer = false;
        m_trayWnd.RestartPollTimer();
    }
    if (FollowsDiary(reader))
        m_diary.Observe(condition, rates, SleeplessTickCount(), DiaryNow());
}

void CCplApp::RecordPcEvent(LineReader reader, PcEvent event)
{
    if (event == PcEvent::SessionEnd)
        m_diary.Stop(DiaryNow()); // now: the program may be ended at any moment after
    else if (FollowsDiary(reader))
        event == PcEvent::Sleep ? m_diary.Sleep(DiaryNow()) : m_diary.Wake(DiaryNow());
}

bool CCplApp::FollowsDiary(LineReader reader) const
{
    return reader == LineReader::TrayIcon || !m_trayWnd.IsWindow();
}

void CCplApp::BringToFront(HWND window)
{
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void CCplApp::CloseStatusWindow()
{
    StopDebugMode();
    m_pStatusWnd.reset();
}

void CCplApp::ExitApplication()
{
    m_pSettingsWnd.reset();
    StopDebugMode();
    m_pStatusWnd.reset();
    m_trayWnd.DestroyWindow();
}

bool CCplApp::HasOpenStatusWindow() const
{
    return m_pStatusWnd && m_pStatusWnd->IsWindow();
}

std::string CCplApp::GetLanguageName() const
{
    return m_language.GetLanguageName();
}

HWND CCplApp::MainWindowHandle() const
{
    return m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
}

bool CCplApp::IsDebugModeStarted() const
{
    return m_debugPlugin.IsDebugModeStarted();
}

void CCplApp::StartDebugMode()
{
    m_debugPlugin.StartDebugMode(MainWindowHandle());
}

void CCplApp::StopDebugMode()
{
    m_debugPlugin.StopDebugMode();
}

void CCplApp::ToggleDebugMode()
{
    if (ReadIniInt(Settings::kEnableDebugMode) == 0)
        return;
    if (IsDebugModeStarted())
        StopDebugMode();
    else
        StartDebugMode();
}

void CCplApp::GenerateDebugLog()
{
    m_debugPlugin.GenerateDebugLog(MainWindowHandle());
}

void CCplApp::OpenSettings()
{
    if (m_pSettingsWnd && m_pSettingsWnd->IsWindow()) {
        BringToFront(m_pSettingsWnd->m_hWnd);
        return;
    }
    m_pSettingsWnd.reset();
    auto settings = std::make_unique<CSettingsDlg>(*this);
    settings->Open(); // a settings file that cannot be read is told in the "Error" box
    m_pSettingsWnd = std::move(settings);
}

void CCplApp::PreviewSkinColours(const SkinColours* colours)
{
    if (auto* skin = dynamic_cast<CSkinMainWnd*>(m_pStatusWnd.get()); skin && skin->IsWindow())
        skin->PreviewColours(colours);
}

void CCplApp::SettingsWritten(const std::vector<std::string>& keys)
{
    auto written = [&](const char* key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    if (written(Settings::kKeepHistory) || written(Settings::kHistoryDays))
        StartDiary();
    if (written(Settings::kShowSysTrayIcon))
        FollowTraySetting();
    if (written(Settings::kClassicStyle) && HasOpenStatusWindow())
        ReplaceStatusWindow();
    // The Settings window stays in front of what took effect behind it.
    if (m_pSettingsWnd && m_pSettingsWnd->IsWindow())
        BringToFront(m_pSettingsWnd->m_hWnd);
}

void CCplApp::FollowTraySetting()
{
    const bool wanted = ReadIniInt(Settings::kShowSysTrayIcon) != 0;
    if (wanted && !m_trayWnd.IsWindow()) {
        if (m_trayWnd.Create(nullptr))
            m_pMainWnd = &m_trayWnd;
    } else if (!wanted && m_trayWnd.IsWindow()) {
        // Without the icon the status window is the program: it opens, and
        // becomes the main window before the tray's going can end the loop.
        ShowMainWindow();
        if (!HasOpenStatusWindow())
            return; // it could not open (and said why): the icon stays
        m_pMainWnd = m_pStatusWnd.get();
        m_trayWnd.DestroyWindow();
    }
}

void CCplApp::ReplaceStatusWindow()
{
    // The old window's going must not end the program when it is the main window.
    if (m_pMainWnd == m_pStatusWnd.get())
        m_pMainWnd = nullptr;
    CloseStatusWindow();
    ShowMainWindow();
}
