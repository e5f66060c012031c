// The classic dialog built from the test program's own templates, strings
// and icons: its pages and tabs, its logo and its closing.
#include "classic/ClassicDlg.h"
#include "pages/StatusPage.h"
#include "support/FakeDeviceIo.h"
#include "framework/Dpi.h"
#include "framework/ErrorBox.h"
#include "pages/ControlText.h"
#include "settings/ProgramIdentity.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "../support/Accessibility.h"
#include "../support/BmpBuilder.h"
#include "../support/GdiObjects.h"
#include "../support/NothingKept.h"
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
    void OpenSettings() override { ++settingsCalls; }
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
    int stopDebugCalls = 0, settingsCalls = 0;
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
        // The system menu's last item opens the Settings window.
        HMENU system = GetSystemMenu(window, FALSE);
        EXPECT_EQ(kSysCommandSettings, GetMenuItemID(system, GetMenuItemCount(system) - 1));
        SendMessageW(window, WM_SYSCOMMAND, kSysCommandSettings, 0);
        EXPECT_EQ(escape ? 2 : 1, settingsCalls);
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

// Moved to a monitor of another scale, the dialog takes the suggested
// rectangle and lays its controls and their fonts out at the new DPI, with
// the logo, the banner, the meter and the state icon drawn at it; back at 96
// it is exactly as it was, and a hundred moves keep no GDI object or handle.
TEST_F(ClassicDialogTest, FollowsTheDpiOfItsMonitor)
{
    Open();
    HWND window = dialog->m_hWnd, close = GetDlgItem(window, IDC_CLOSE);
    auto placeOf = [&](HWND control) {
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
        return place;
    };
    auto fontHeight = [](HWND control) {
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfHeight;
    };
    RECT frame96;
    GetWindowRect(window, &frame96);
    const RECT close96 = placeOf(close);
    const LONG font96 = fontHeight(close);
    auto moveTo = [&](unsigned dpi) {
        RECT suggested = {50, 60, 50 + Dpi::Scale(frame96.right - frame96.left, dpi),
                          60 + Dpi::Scale(frame96.bottom - frame96.top, dpi)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    };
    for (unsigned dpi : {144u, 192u, 120u, 96u}) {
        SCOPED_TRACE(dpi);
        const RECT suggested = moveTo(dpi);
        if (dpi == 192) { // the history page, made now, is laid out at the dialog's scale too
            RECT tab;
            SendMessageW(Tabs(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
            SendMessageW(Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.left + 2, tab.top + 2));
            SendMessageW(Tabs(), WM_LBUTTONUP, 0, MAKELPARAM(tab.left + 2, tab.top + 2));
            ASSERT_NE(nullptr, Page(IDC_HISTORY_GRAPH));
            SendMessageW(Tabs(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
            SendMessageW(Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.left + 2, tab.top + 2));
            SendMessageW(Tabs(), WM_LBUTTONUP, 0, MAKELPARAM(tab.left + 2, tab.top + 2));
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        RECT placed;
        GetWindowRect(window, &placed);
        EXPECT_TRUE(EqualRect(&suggested, &placed));
        const RECT expected = Dpi::Rescale(close96, 96, dpi), closePlace = placeOf(close);
        EXPECT_TRUE(EqualRect(&expected, &closePlace));
        EXPECT_EQ(Dpi::Rescale(font96, 96, dpi), fontHeight(close));
        EXPECT_EQ(Dpi::Rescale(font96, 96, dpi), fontHeight(GetDlgItem(Page(IDC_STATE_TEXT), IDC_STATE_TEXT)));
        if (HWND history = Page(IDC_HISTORY_GRAPH)) {
            EXPECT_EQ(Dpi::Rescale(font96, 96, dpi), fontHeight(GetDlgItem(history, IDC_HISTORY_EXPORT)));
        }
        // The logo (key, red, blue bands of 20, 50 and 50 pixels at 96) and the banner at the new scale.
        std::unique_ptr<TestCanvas> logo = CaptureClient(GetDlgItem(window, IDC_LOGO_FRAME));
        EXPECT_EQ(kKey, logo->At(Dpi::Scale(18, dpi), Dpi::Scale(15, dpi)));
        EXPECT_EQ(kRed, logo->At(Dpi::Scale(22, dpi), Dpi::Scale(15, dpi)));
        EXPECT_EQ(kBlue, logo->At(Dpi::Scale(118, dpi), Dpi::Scale(15, dpi)));
        RECT client;
        GetClientRect(window, &client);
        const POINT banner = dialog->GetBannerOrigin();
        EXPECT_EQ(Dpi::Scale(10, dpi), banner.x);
        EXPECT_EQ(client.bottom - Dpi::Scale(25, dpi) - Dpi::Scale(10, dpi), banner.y);
        // The meter and the state icon cover their places, the icon (plain
        // green 100, blue 50) at the DPI's icon size.
        HWND status = Page(IDC_STATE_TEXT);
        for (int place : {IDC_METER_PLACE, IDC_STATE_ICON_PLACE}) {
            RECT outer, inner;
            GetClientRect(GetDlgItem(status, place), &outer);
            GetClientRect(GetWindow(GetDlgItem(status, place), GW_CHILD), &inner);
            EXPECT_TRUE(EqualRect(&outer, &inner)) << place;
        }
        std::unique_ptr<TestCanvas> light = CaptureClient(GetWindow(GetDlgItem(status, IDC_STATE_ICON_PLACE), GW_CHILD));
        int iconPixels = 0;
        for (int y = 0; y < light->Height(); ++y)
            for (int x = 0; x < light->Width(); ++x)
                iconPixels += GetGValue(light->At(x, y)) == 100 && GetBValue(light->At(x, y)) == 50;
        EXPECT_EQ(Dpi::SystemMetric(SM_CXICON, dpi) * Dpi::SystemMetric(SM_CXICON, dpi), iconPixels);
    }
    ExpectNothingKept(102, [&](int n) { moveTo(n % 2 ? 144 : 96); });
}

// What a screen reader reads of the status page, in the test's strings and
// in Russian: the state light as a picture named by the line state, the
// meter as a progress bar whose value says what its cells show, and the
// banner by the program's name; a change of the line state is told once as
// the light's new name, a steady line not at all.
TEST_F(ClassicDialogTest, ReadsAsAScreenReaderWould)
{
    AccessibilityWatch watch;
    const std::string russian = GetProgramDir() + "..\\..\\dist\\CplRussian.dll";
    UniqueModule module(LoadLibraryA(russian.c_str()));
    ASSERT_TRUE(module) << russian;
    device.answerDword(0x0103, 1000);
    device.answerCounter(0x0381, 0, 1000); // 1000 cells a second against 1000 kbit/s: 42 %
    for (HMODULE strings : {GetModuleHandleW(nullptr), module.get()}) {
        SCOPED_TRACE(strings == module.get() ? "Russian" : "test strings");
        SetResourceModule(strings);
        device.answerDword(0x0004, 2);
        Open();
        HWND status = Page(IDC_STATE_TEXT);
        auto* page = static_cast<CStatusPage*>(CWnd::FromHandle(status));
        page->Refresh();
        page->Refresh();
        HWND light = GetWindow(GetDlgItem(status, IDC_STATE_ICON_PLACE), GW_CHILD);
        HWND meter = GetWindow(GetDlgItem(status, IDC_METER_PLACE), GW_CHILD);
        const std::wstring up = ListLabel(LoadResString(IDS_LINE_STATES), L"2");
        const Reading shown[] = {ReadAccessible(light, CHILDID_SELF), ReadAccessible(meter, CHILDID_SELF)};
        EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, shown[0].role);
        EXPECT_EQ(up, shown[0].name);
        EXPECT_EQ(ROLE_SYSTEM_PROGRESSBAR, shown[1].role);
        EXPECT_EQ(LoadResString(IDS_GROUP_ACTIVITY), shown[1].name);
        EXPECT_EQ(FillPlaceholders(LoadResString(IDS_METER_VALUE), L"40", L"0"), shown[1].value);
        HWND banner = FindWindowExW(dialog->m_hWnd, nullptr, L"Static", L"Modavi");
        EXPECT_EQ(L"Modavi", ReadAccessible(banner, CHILDID_SELF).name);
        Pump();
        g_told.clear();
        page->Refresh();
        device.answerDword(0x0004, 0);
        page->Refresh();
        Pump();
        EXPECT_EQ(1, NameChangesOf(light));
        EXPECT_EQ(ListLabel(LoadResString(IDS_LINE_STATES), L"0"), ReadAccessible(light, CHILDID_SELF).name);
    }
    SetResourceModule(GetModuleHandleW(nullptr));
}

} // namespace
