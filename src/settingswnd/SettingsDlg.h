// The Settings window: a modeless dialog that shows what Modavi.ini says
// (as the program reads it) and writes what the user changes, only that,
// through the settings writer: OK and Apply write, Cancel changes nothing.
// Colours show at once on an open skinned window and go back on Cancel.
// Where a standard user may not write the file (an installed copy), OK and
// Apply carry the shield and the write goes through the elevated writer.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "settings/EditableSettings.h"
#include "settings/SettingsElevation.h"
#include "settings/SettingsFiles.h"
#include "settingswnd/SettingsHost.h"

#include <array>
#include <optional>
#include <string>

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(ISettingsHost& host, ISettingsFiles& files = PlatformSettingsFiles(),
                          ISettingsElevation& elevation = PlatformSettingsElevation());
    ~CSettingsDlg() override;

    // Reads the settings and opens the window. Raises XVuk when the settings
    // file cannot be read or the window cannot be made.
    void Open();

    // Writes what differs from the file (the Apply button); false when
    // nothing could be written, which has been said.
    bool Apply();
    // Whether OK and Apply carry the shield.
    bool NeedsRights() const { return m_bNeedsRights; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The file, the values it holds, the entries that start Modavi with Windows.
    void Load();
    void ShowValues(const SettingsValues& values);
    SettingsValues ValuesShown() const;
    bool UserStartupShown() const;
    // After any change of a control: Apply, the fields that depend on a box, the preview.
    void Changed();
    void Preview(const SettingsValues& values);
    void EndPreview();
    bool WriteChanges(const SettingChanges& changes);
    void Reload();
    void ChooseColour(int button);
    void OpenDiaryFolder();
    void ShowSample(int sample, const std::string& colour);
    bool ColourSample(HDC dc, HWND control, LRESULT& result);

    LRESULT OnOk(WPARAM, LPARAM);
    LRESULT OnCancel(WPARAM, LPARAM);
    LRESULT OnApply(WPARAM, LPARAM);
    LRESULT OnClicked(WPARAM, LPARAM);
    LRESULT OnChanged(WPARAM, LPARAM);

    ISettingsHost& m_host;
    ISettingsFiles& m_files;          // not owned
    ISettingsElevation& m_elevation;  // not owned
    std::string m_path;               // Modavi.ini, UTF-8
    std::string m_fileText;           // the file as read or as last written
    SettingsValues m_initial;         // what the file says, as the window shows it
    bool m_bUserStartup = false;      // the user's entry, as read
    bool m_bMachineStartup = false;   // the installer's entry for every user
    bool m_bNeedsRights = false;
    bool m_bShowing = false;          // controls being filled: their notifications are not changes
    std::optional<SkinColours> m_preview; // what an open skinned window shows instead of the file's colours
    std::array<UniqueBrush, 3> m_sampleBrushes;
    std::array<COLORREF, 16> m_customColours = {};
    UniqueIcon m_hIconBig;
    UniqueIcon m_hIconSmall;
};
