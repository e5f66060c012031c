// The application object: start-up, the single-instance rule, the status
// window's lifetime, the line diary, the debug hot key and the debug-mode
// plug-in.
#pragma once

#include "app/DebugPlugin.h"
#include "app/AppServices.h"
#include "diary/DiaryKeeper.h"
#include "framework/WinApp.h"
#include "settings/LanguageModule.h"
#include "settingswnd/SettingsDlg.h"
#include "tray/SysTrayWnd.h"

#include <memory>

class CCplApp : public CWinApp, public IAppServices, public ISettingsHost {
public:
    explicit CCplApp(HINSTANCE instance);
    ~CCplApp() override;

    bool InitInstance() override;
    bool PreTranslateMessage(MSG& message) override;
    // The end of every run that ends by itself: the line diary's "stop".
    int ExitInstance() override;

    void RegisterWindowClass();
    static void BringToFront(HWND window);

    // IAppServices
    void ShowMainWindow() override;
    void CloseStatusWindow() override;
    void ExitApplication() override;
    void OpenSettings() override;
    void StopDebugMode() override;
    void GenerateDebugLog() override;
    bool HasOpenStatusWindow() const override;
    std::string GetLanguageName() const override;
    void RecordLineRead(LineReader reader, LineCondition condition, LineRates rates) override;
    void RecordPcEvent(LineReader reader, PcEvent event) override;

    // ISettingsHost
    void PreviewSkinColours(const SkinColours* colours) override;
    void SettingsWritten(const std::vector<std::string>& keys) override;

    bool IsDebugModeStarted() const;
    void StartDebugMode();
    void ToggleDebugMode();

private:
    HWND MainWindowHandle() const;
    void StartDiary();
    // The diary follows the tray icon's reads while it exists, else the status window's.
    bool FollowsDiary(LineReader reader) const;
    // The tray icon as ShowSysTrayIcon says now: made, or gone with the
    // status window as the program's main window.
    void FollowTraySetting();
    // Another status window in the place of the open one, of the kind ClassicStyle says now.
    void ReplaceStatusWindow();

    std::unique_ptr<CWnd> m_pStatusWnd; // the classic dialog or the skinned window; may outlive its window
    CDebugPlugin m_debugPlugin;
    CLanguageModule m_language;
    bool m_bAlignTrayTimer = false; // the next status window read restarts the tray's timer
    CDiaryKeeper m_diary;
    CSysTrayWnd m_trayWnd;
    std::unique_ptr<CSettingsDlg> m_pSettingsWnd; // may outlive its window, as the status window
};
