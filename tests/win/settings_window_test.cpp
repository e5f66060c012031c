// The Settings window on the real Modavi.ini of the test program's folder:
// what it shows of the file, Cancel and Apply, the preview it asks for,
// and a standard user's write through one elevated run of the writer.
#include "framework/ErrorBox.h"
#include "settings/IniFile.h"
#include "settings/ProgramIdentity.h"
#include "settings/ResourceIds.h"
#include "settings/SettingsRequest.h"
#include "settings/SettingsWriteRequest.h"
#include "settings/WideText.h"
#include "settingswnd/SettingsDlg.h"
#include "../support/ScopedFile.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::string> g_boxes;
void RecordBox(const char* text) { g_boxes.push_back(text); }

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A standard user in Program Files: the file reads, nothing can be written.
struct DeniedFiles : ISettingsFiles {
    bool Read(const std::string& path, Content& content, Failure& failure) override
    {
        return PlatformSettingsFiles().Read(path, content, failure);
    }
    bool Create(const std::string&, const std::string&, Failure& failure) override
    {
        failure = {true, "Access is denied."};
        return false;
    }
    bool Replace(const std::string&, const std::string&, Failure& failure) override { return Create("", "", failure); }
    void Remove(const std::string& path) override { PlatformSettingsFiles().Remove(path); }
    bool NeedsRights(const std::string&) override { return true; }
};

// "runas" granted or refused; granted, the elevated writer runs in this process.
struct FakeElevation : ISettingsElevation {
    bool granted = true;
    int runs = 0;
    std::wstring requestPath;
    std::string request;
    bool Run(HWND, const std::wstring& path, DWORD& exitCode, std::string& reason) override
    {
        ++runs;
        requestPath = path;
        request = FileText(Utf8FromWide(path));
        reason = "administrator rights were not given";
        if (granted)
            exitCode = DWORD(RunSettingsWriteRequest({kSettingsWriteSwitch, path}));
        return granted;
    }
};

const std::string kFile = SettingsText("; kept\r\nClassicStyle=1\r\nShowSysTrayIcon=1 ; on\r\nHue=300\r\nHistoryDays=0\r\n"
                                       "LabelTextRGB=1,2,3\r\nOther=x\r\n");

class SettingsWindowTest : public ::testing::Test, public ISettingsHost {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        g_boxes.clear();
        m_previousShower = SetErrorBoxShower(RecordBox);
    }
    void TearDown() override { SetErrorBoxShower(m_previousShower); }

    void PreviewSkinColours(const SkinColours* colours) override { previews.push_back(colours ? colours->hue : -1); }
    void SettingsWritten(const std::vector<std::string>& keys) override { written = keys; }
    std::string GetLanguageName() const override { return "german"; }

    void Open(ISettingsFiles& files = PlatformSettingsFiles())
    {
        dialog = std::make_unique<CSettingsDlg>(*this, files, elevation);
        dialog->Open();
        window = dialog->m_hWnd;
    }
    std::string Text(int id) const
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(window, id, text, 64);
        return Utf8FromWide(text);
    }
    bool Checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
    void Click(int id) { SendDlgItemMessageW(window, id, BM_CLICK, 0, 0); }
    void Type(int id, const wchar_t* text) { SetDlgItemTextW(window, id, text); }
    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(window, IDC_SET_APPLY)); }

    ScopedFile ini{SettingsFilePath(), kFile};
    FakeElevation elevation;
    std::unique_ptr<CSettingsDlg> dialog;
    HWND window = nullptr;
    std::vector<int> previews; // the hue of each preview asked for, -1: back to the file's
    std::vector<std::string> written;
    ErrorBoxShower m_previousShower = nullptr;
};

TEST_F(SettingsWindowTest, ShowsTheFileAsTheProgramReadsItAndCancelWritesNothing)
{
    Open();
    EXPECT_EQ(std::vector<bool>({true, false, true, true, false}),
              std::vector<bool>({Checked(IDC_SET_CLASSIC), Checked(IDC_SET_SKINNED), Checked(IDC_SET_TRAY),
                                 Checked(IDC_SET_LANG_WINDOWS), Checked(IDC_SET_DIARY)}));
    EXPECT_EQ("44 90 1,2,3 0,0,0", Text(IDC_SET_HUE) + " " + Text(IDC_SET_DAYS) + " " + Text(IDC_SET_LABEL_SAMPLE) + " " +
                                       Text(IDC_SET_VALUE_SAMPLE)) << "Hue's low 8 bits, 90 days for 0, a missing colour black";
    EXPECT_FALSE(ApplyEnabled() || IsWindowEnabled(GetDlgItem(window, IDC_SET_DAYS)) ||
                 IsWindowEnabled(GetDlgItem(window, IDC_SET_LANG_LIST)));
    Type(IDC_SET_HUE, L"20");
    Click(IDC_SET_DIARY);
    Click(IDC_SET_LANG_ONE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_DAYS)) && IsWindowEnabled(GetDlgItem(window, IDC_SET_LANG_LIST)));
    EXPECT_EQ(4, SendDlgItemMessageW(window, IDC_SET_LANG_LIST, CB_GETCURSEL, 0, 0)) << "the running language first";
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(std::vector<int>({20}), previews) << "a colour shows at once, and once";
    Type(IDC_SET_HUE, L"44");
    EXPECT_EQ(std::vector<int>({20, -1}), previews) << "the file's colours again: the preview ends";
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(std::vector<int>({20, -1}), previews) << "not again at Cancel";
    EXPECT_EQ(kFile, FileText(SettingsFilePath())) << "not one byte";
    EXPECT_TRUE(written.empty() && g_boxes.empty());
}

TEST_F(SettingsWindowTest, ApplyWritesOnlyTheChangedKeysAndTellsTheApplication)
{
    Open();
    Click(IDC_SET_SKINNED);
    Click(IDC_SET_DIARY);
    Type(IDC_SET_DAYS, L"030");
    Click(IDC_SET_LANG_ONE);
    EXPECT_TRUE(dialog->Apply());
    EXPECT_EQ(SettingsText("; kept\r\nClassicStyle=0\r\nShowSysTrayIcon=1 ; on\r\nHue=300\r\nHistoryDays=30\r\n"
                           "LabelTextRGB=1,2,3\r\nOther=x\r\nSupportedLanguages=german\r\nKeepHistory=1\r\n"),
              FileText(SettingsFilePath()));
    EXPECT_EQ(std::vector<std::string>({"ClassicStyle", "SupportedLanguages", "KeepHistory", "HistoryDays"}), written);
    EXPECT_EQ(0, ReadIniInt("ClassicStyle"));
    EXPECT_TRUE(IsWindow(window) && !ApplyEnabled()) << "Apply keeps the window; nothing is left to apply";
    written.clear();
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(written.empty() && g_boxes.empty() && elevation.runs == 0) << "a writable folder never asks";
}

TEST_F(SettingsWindowTest, AStandardUserWritesThroughOneElevatedRunOrNothing)
{
    DeniedFiles denied;
    for (bool granted : {false, true}) {
        elevation.granted = granted;
        Open(denied);
        EXPECT_TRUE(dialog->NeedsRights()) << "the shield on OK and Apply";
        Click(IDC_SET_BALLOONS);
        EXPECT_EQ(granted, dialog->Apply());
        EXPECT_EQ(granted ? 2 : 1, elevation.runs) << "asked once for each Apply";
        EXPECT_EQ("[SystemInfo]\r\nNotifyLineChanges=1\r\n", elevation.request) << "only the changed key";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(elevation.requestPath.c_str())) << "the request removed";
        EXPECT_EQ(granted ? kFile + "NotifyLineChanges=1\r\n" : kFile, FileText(SettingsFilePath()));
        EXPECT_EQ(granted ? std::vector<std::string>() : std::vector<std::string>{"Can't write " + SettingsFilePath() +
                  " with administrator rights: administrator rights were not given"}, g_boxes);
        g_boxes.clear();
        dialog.reset();
    }
}

} // namespace
