// The classic dialog built from the test program's own templates, strings
// and icons: its pages and tabs, its logo and its closing.
#include "classic/ClassicDlg.h"
#include "support/FakeDeviceIo.h"
#include "framework/ErrorBox.h"
#include "pages/ControlText.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "../support/BmpBuilder.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The test logo: 120 x 30, a key-coloured (magenta) band on the left, then red, then blue.
const COLORREF kKey = RGB(255, 0, 255), kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 200);
std::string LogoFile()
{
    bmptest::BmpLayout logo;
    logo.width = 120;
    logo.height = 30;
    logo.table = {{255, 0, 255}, {200, 0, 0}, {0, 0, 200}};
    logo.colorsUsed = 3;
    for (int i = 0; i < 120 * 30; ++i)
        logo.indexes.push_back(i % 120 < 20 ? 0 : i % 120 < 70 ? 1 : 2);
    const std::vector<uint8_t> bytes = bmptest::FileBitmap(logo);
    return std::string(bytes.begin(), bytes.end());
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

std::vector<std::string> g_boxes;
void RecordBox(const char* text) { g_boxes.push_back(text); }

// The test is the application the dialog tells when it closes.
class ClassicDialogTest : public ::testing::Test, public IAppServices {
protected:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void StopDebugMode() override { ++stopDebugCalls; }
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return "english"; }
    void RecordLineRead(LineReader, LineCondition, LineRates) override {}
    void RecordPcEvent(LineReader reader, PcEvent event) override
    {
        EXPECT_EQ(LineReader::StatusWindow, reader);
        pcEvents.push_back(event);
    }

    void SetUp() override
    {
        g_boxes.clear();
        m_previousShower = SetErrorBoxShower(RecordBox);
        device.answerDword(0x0004, 2);
    }
    void TearDown() override
    {
        dialog.reset();
        Pump();
        EXPECT_TRUE(g_boxes.empty());
        SetErrorBoxShower(m_previousShower);
    }

    void Open(const char* transparent = "0")
    {
        dialog.reset();
        ini.reset(); // put back what was there before writing anew
        ini = std::make_unique<ScopedFile>(GetProgramDir() + "Modavi.ini",
                                           SettingsText(std::string("TransparentBitmap=") + transparent));
        dialog = std::make_unique<CClassicDlg>(*this, nullptr);
        ASSERT_TRUE(dialog->IsWindow());
        UpdateWindow(dialog->m_hWnd);
    }
    HWND Tabs() const { return GetDlgItem(dialog->m_hWnd, IDC_TABS); }
    // The page on the tab control that holds a control.
    HWND Page(int control) const
    {
        HWND page = nullptr;
        while ((page = FindWindowExW(Tabs(), page, L"#32770", nullptr)) && !GetDlgItem(page, control)) {}
        return page;
    }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    ScopedFile logo{GetProgramDir() + "LogoClas.bmp", LogoFile()};
    std::unique_ptr<ScopedFile> ini;
    std::unique_ptr<CClassicDlg> dialog;
    int stopDebugCalls = 0;
    std::vector<PcEvent> pcEvents;
    ErrorBoxShower m_previousShower = nullptr;
};

TEST_F(ClassicDialogTest, ShowsTitleIconsAndThreeTabbedPagesBelowTheTabs)
{
    Open();
    HWND window = dialog->m_hWnd;
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(L"Test Monitor", text);
    EXPECT_EQ(L"Shut", GetControlText(window, IDC_CLOSE));
    EXPECT_EQ(IDI_PROGRAM, TestIconId(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0))));

    // Each tab's title and a control of its page.
    const std::pair<const wchar_t*, int> tabs[] = {
        {L"State tab", IDC_STATE_TEXT}, {L"Versions tab", IDC_DRIVER_VERSION}, {L"History tab", IDC_HISTORY_GRAPH}};
    EXPECT_EQ(nullptr, Page(IDC_HISTORY_GRAPH)) << "the history page is made when its tab is first chosen";
    RECT client, tab;
    GetClientRect(Tabs(), &client);
    for (int chosen : {1, 2, 0, 2}) {
        TCITEMW item = {TCIF_TEXT};
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(Tabs(), TCM_GETITEMW, chosen, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(tabs[chosen].first, text);
        SendMessageW(Tabs(), TCM_GETITEMRECT, WPARAM(chosen), reinterpret_cast<LPARAM>(&tab));
        const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageW(Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Tabs(), WM_LBUTTONUP, 0, at);
        // Choosing a tab shows its page, filling the area below the tabs, and hides the others.
        for (int page = 0; page < 3; ++page)
            EXPECT_EQ(page == chosen, IsWindowVisible(Page(tabs[page].second)) != 0) << "tab " << chosen;
        RECT page;
        GetWindowRect(Page(tabs[chosen].second), &page);
        MapWindowPoints(nullptr, Tabs(), reinterpret_cast<POINT*>(&page), 2);
        SendMessageW(Tabs(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        const RECT below = {2, tab.bottom + 3, client.right - 2, client.bottom - 2};
        EXPECT_TRUE(EqualRect(&below, &page)) << "page " << chosen << " fills the area below the tabs";
    }
}

TEST_F(ClassicDialogTest, CloseAndEscapeEndTheDialogEnterDoesNotAndANewOneCanFollow)
{
    for (bool escape : {false, true}) {
        Open();
        HWND window = dialog->m_hWnd, page = Page(IDC_STATE_TEXT);
        MSG enter = {window, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
        EXPECT_TRUE(dialog->PreTranslateMessage(enter));
        Pump();
        EXPECT_TRUE(IsWindowVisible(window)) << "Enter must not hide or end it";
        if (escape) {
            MSG key = {window, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
            dialog->PreTranslateMessage(key);
        } else {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CLOSE)));
        }
        EXPECT_TRUE(IsWindow(window)) << "WM_CLOSE is posted";
        Pump();
        EXPECT_FALSE(IsWindow(window) || IsWindow(page)) << "WM_CLOSE destroys, it does not hide";
        EXPECT_EQ(escape ? 2 : 1, stopDebugCalls);
    }
    CClassicDlg next(*this, nullptr); // built while the closed one's object still exists
    EXPECT_TRUE(next.IsWindow());
}

TEST_F(ClassicDialogTest, TheSleepStopsThePagesPollsTheWakeRestartsThemAtOnceAndTheSessionsEndCloses)
{
    Open();
    const HWND window = dialog->m_hWnd, pages[] = {Page(IDC_STATE_TEXT), Page(IDC_DRIVER_VERSION)};
    SendMessageW(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    for (HWND page : pages)
        EXPECT_FALSE(KillTimer(page, 1)) << "no polls while the PC sleeps";
    const auto reads = [&] { return std::make_pair(device.callCount(0x0004), device.callCount(0x0001)); };
    const auto before = reads();
    SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    Pump();
    EXPECT_EQ(std::make_pair(before.first + 1, before.second + 1), reads()) << "both pages poll at once at the wake";
    for (HWND page : pages)
        EXPECT_TRUE(KillTimer(page, 1)) << "and go on polling";
    EXPECT_EQ(TRUE, SendMessageW(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP); // closed for an update
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ((std::vector<PcEvent>{PcEvent::Sleep, PcEvent::Wake, PcEvent::SessionEnd}), pcEvents);
}

TEST_F(ClassicDialogTest, DrawsTheLogoOpaqueOrWithoutItsKeyColour)
{
    for (const char* transparent : {"0", "1", "2"}) { // only 1 is transparent
        SCOPED_TRACE(transparent);
        Open(transparent);
        HWND frame = GetDlgItem(dialog->m_hWnd, IDC_LOGO_FRAME);
        std::unique_ptr<TestCanvas> shown = CaptureClient(frame);
        EXPECT_EQ(*transparent == '1' ? GetSysColor(COLOR_BTNFACE) : kKey, shown->At(10, 15));
        EXPECT_EQ(kRed, shown->At(40, 15));
        EXPECT_EQ(kBlue, shown->At(100, 15));
        { // blackened; another program's palette change redraws the logo, our own does not
            ClientDC dc(frame);
            RECT all = {1, 1, 119, 29};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        SendMessageW(dialog->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(dialog->m_hWnd), 0);
        EXPECT_EQ(RGB(0, 0, 0), CaptureClient(frame)->At(40, 15));
        SendMessageW(dialog->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0);
        EXPECT_EQ(kRed, CaptureClient(frame)->At(40, 15));
    }
}

} // namespace
