// The classic dialog built from the test program's own templates, strings
// and icons: its pictures, pages, tabs, palette messages and closing, and
// the failures that leave no window behind.
#include "classic/ClassicDlg.h"
#include "classic/TabPageArea.h"
#include "support/FakeDeviceIo.h"
#include "framework/ErrorBox.h"
#include "framework/Handles.h"
#include "pages/ControlText.h"
#include "pages/StatusPage.h"
#include "pages/VersionPage.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "../support/BmpBuilder.h"
#include "../support/GdiObjects.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The test logo: 120 x 30, a key-coloured (magenta) band on the left, then red, then blue.
const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kBlue = RGB(0, 0, 200);
std::string LogoFile(uint16_t bits)
{
    bmptest::BmpLayout logo;
    logo.width = 120;
    logo.height = 30;
    logo.bpp = bits;
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
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// ---- the application and the error box -------------------------------------------

class FakeApp : public IAppServices {
public:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void StopDebugMode() override { ++stopDebugCalls; }
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return "english"; }

    int stopDebugCalls = 0;
};

std::vector<std::string> g_boxes;
void RecordBox(const char* text) { g_boxes.push_back(text); }

class ClassicDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        g_boxes.clear();
        m_previousShower = SetErrorBoxShower(RecordBox);
        device.answerDword(0x0004, 2);
        device.answerDword(0x0113, 5);
        device.answerDword(0x0107, 1024);
        device.answerDword(0x0103, 8000);
        device.answerText(0x0001, "driver 1.0");
    }
    void TearDown() override
    {
        dialog.reset();
        Pump();
        SetErrorBoxShower(m_previousShower);
        SetResourceModule(GetModuleHandleW(nullptr));
    }

    void Open(const std::string& settings = "TransparentBitmap=0\r\n", int logoBits = 8)
    {
        std::string ini = SettingsText(settings);
        std::string logo = LogoFile(uint16_t(logoBits));
        dialog.reset();
        m_logo.reset(); // put back what was there before writing anew
        m_ini.reset();
        m_ini = std::make_unique<ScopedFile>(GetProgramDir() + "Modavi.ini", &ini);
        m_logo = std::make_unique<ScopedFile>(GetProgramDir() + "LogoClas.bmp", &logo);
        dialog = std::make_unique<CClassicDlg>(app, nullptr);
    }

    HWND Tabs() const { return GetDlgItem(dialog->m_hWnd, IDC_TABS); }
    HWND PageWindow(size_t i) const { return dialog->GetPage(i)->m_hWnd; }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    FakeApp app;
    std::unique_ptr<CClassicDlg> dialog;
    std::unique_ptr<ScopedFile> m_ini;
    std::unique_ptr<ScopedFile> m_logo;

private:
    ErrorBoxShower m_previousShower = nullptr;
};

} // namespace

TEST_F(ClassicDialogTest, ShowsTitleButtonIconsAndTwoPagesFillingTheTabArea)
{
    Open();
    ASSERT_TRUE(dialog->IsWindow());
    EXPECT_TRUE(g_boxes.empty());
    HWND window = dialog->m_hWnd;
    EXPECT_TRUE(IsWindowVisible(window));
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(L"Test Monitor", text);
    GetClassNameW(window, text, 64);
    EXPECT_STREQ(L"#32770", text) << "a second start looks for a dialog of this class and title";
    EXPECT_EQ(L"Shut", GetControlText(window, IDC_CLOSE));
    EXPECT_EQ(L"", GetControlText(window, IDC_LOGO_FRAME));
    EXPECT_EQ(IDI_PROGRAM, TestIconId(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0))));
    EXPECT_EQ(IDI_PROGRAM, TestIconId(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0))));

    ASSERT_EQ(2u, dialog->GetPageCount());
    EXPECT_NE(nullptr, dynamic_cast<CStatusPage*>(dialog->GetPage(0)));
    EXPECT_NE(nullptr, dynamic_cast<CVersionPage*>(dialog->GetPage(1)));
    ASSERT_EQ(2, SendMessageW(Tabs(), TCM_GETITEMCOUNT, 0, 0));
    EXPECT_TRUE(IsWindowVisible(PageWindow(0)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(1)));
    EXPECT_EQ(0, SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0));
    RECT client, firstTab, secondTab;
    GetClientRect(Tabs(), &client);
    SendMessageW(Tabs(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    SendMessageW(Tabs(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&secondTab));
    const wchar_t* titles[] = {L"State tab", L"Versions tab"};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        wchar_t title[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        SendMessageW(Tabs(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(titles[i], title);
        EXPECT_EQ(Tabs(), GetParent(PageWindow(i)));
        // The page fills the tab area below the tabs.
        RECT page, overlap;
        GetWindowRect(PageWindow(i), &page);
        MapWindowPoints(nullptr, Tabs(), reinterpret_cast<POINT*>(&page), 2);
        EXPECT_EQ(std::make_tuple(2L, firstTab.bottom + 3, client.right - 2, client.bottom - 2),
                  std::make_tuple(page.left, page.top, page.right, page.bottom));
        EXPECT_FALSE(IntersectRect(&overlap, &page, &secondTab));
    }
}

TEST_F(ClassicDialogTest, ChoosingATabShowsItsPageAndHidesTheOther)
{
    Open();
    ASSERT_TRUE(dialog->IsWindow());
    auto click = [&](int index) {
        RECT tab;
        SendMessageW(Tabs(), TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&tab));
        LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageW(Tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Tabs(), WM_LBUTTONUP, 0, at);
    };
    click(1);
    EXPECT_EQ(1, SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(PageWindow(0)));
    EXPECT_TRUE(IsWindowVisible(PageWindow(1)));
    click(0);
    EXPECT_TRUE(IsWindowVisible(PageWindow(0)));
    EXPECT_FALSE(IsWindowVisible(PageWindow(1)));
}

TEST_F(ClassicDialogTest, OnlyTheCloseButtonEndsTheDialogAndANewOneCanFollow)
{
    Open();
    ASSERT_TRUE(dialog->IsWindow());
    HWND window = dialog->m_hWnd;
    HWND page = PageWindow(0);
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    MSG escape = {window, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
    IsDialogMessageW(window, &escape);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window)) << "OK, Cancel and Escape must not hide or end it";
    EXPECT_EQ(0, app.stopDebugCalls);

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CLOSE)));
    EXPECT_TRUE(::IsWindow(window)) << "the button posts WM_CLOSE";
    Pump();
    EXPECT_FALSE(::IsWindow(window)) << "WM_CLOSE destroys, it does not hide";
    EXPECT_FALSE(::IsWindow(page));
    EXPECT_FALSE(dialog->IsWindow());
    EXPECT_EQ(1, app.stopDebugCalls);
    EXPECT_EQ(2u, dialog->GetPageCount()) << "the objects live until the application deletes the dialog";

    dialog = std::make_unique<CClassicDlg>(app, nullptr); // built while the closed one still exists
    EXPECT_TRUE(dialog->IsWindow());
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ClassicDialogTest, LogoAndBannerShareOnePalette)
{
    Open("TransparentBitmap=2\r\n");
    ASSERT_TRUE(dialog->IsWindow());
    ASSERT_NE(nullptr, dialog->GetPalette());
    EXPECT_EQ(dialog->GetPalette(), dialog->GetLogo().m_pPalette);
    EXPECT_EQ(dialog->GetPalette(), dialog->GetBanner().m_pPalette);
    EXPECT_TRUE(dialog->GetLogo().m_bBorrowedPalette);
    EXPECT_TRUE(dialog->GetBanner().m_bBorrowedPalette);
    EXPECT_EQ(180, dialog->GetBanner().m_nWidth);
    EXPECT_EQ(25, dialog->GetBanner().m_nHeight);
    EXPECT_TRUE(dialog->GetBanner().m_bTransparent);
    EXPECT_FALSE(dialog->GetLogo().m_bTransparent) << "only TransparentBitmap=1 makes the logo transparent";
    EXPECT_EQ(TRUE, SendMessageW(dialog->m_hWnd, WM_QUERYNEWPALETTE, 0, 0));
}

TEST_F(ClassicDialogTest, TheLogoIsDrawnInItsFrameOpaqueOrWithoutTheKeyColour)
{
    for (int transparent : {0, 1}) {
        SCOPED_TRACE(transparent ? "TransparentBitmap=1" : "TransparentBitmap=0");
        Open(transparent ? "TransparentBitmap=1\r\n" : "TransparentBitmap=0\r\n");
        ASSERT_TRUE(dialog->IsWindow());
        EXPECT_EQ(transparent == 1, dialog->GetLogo().m_bTransparent);
        UpdateWindow(dialog->m_hWnd);
        HWND frame = GetDlgItem(dialog->m_hWnd, IDC_LOGO_FRAME);
        std::unique_ptr<TestCanvas> shown = CaptureClient(frame);
        EXPECT_EQ(transparent ? GetSysColor(COLOR_BTNFACE) : kKey, shown->At(10, 15));
        EXPECT_EQ(kRed, shown->At(40, 15));
        EXPECT_EQ(kBlue, shown->At(100, 15));

        // Another program's palette change redraws the logo; our own does not.
        {
            ClientDC dc(frame);
            RECT all = {1, 1, 119, 29};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        SendMessageW(dialog->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(dialog->m_hWnd), 0);
        EXPECT_EQ(RGB(0, 0, 0), CaptureClient(frame)->At(40, 15));
        SendMessageW(dialog->m_hWnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0);
        EXPECT_EQ(kRed, CaptureClient(frame)->At(40, 15));
        dialog.reset();
    }
}

TEST_F(ClassicDialogTest, TheBannerSitsTenPixelsFromTheLeftAndBottomWhateverTheSize)
{
    Open();
    ASSERT_TRUE(dialog->IsWindow());
    const CDib& banner = dialog->GetBanner();
    TestCanvas expected(banner.m_nWidth, banner.m_nHeight);
    expected.Fill(GetSysColor(COLOR_BTNFACE));
    banner.Draw(expected.Dc(), 0, 0);

    for (int grow : {0, 57}) {
        RECT outer;
        GetWindowRect(dialog->m_hWnd, &outer);
        SetWindowPos(dialog->m_hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + grow,
                     SWP_NOMOVE | SWP_NOZORDER);
        InvalidateRect(dialog->m_hWnd, nullptr, TRUE);
        UpdateWindow(dialog->m_hWnd);
        RECT client;
        GetClientRect(dialog->m_hWnd, &client);
        POINT origin = dialog->GetBannerOrigin();
        EXPECT_EQ(10, origin.x);
        EXPECT_EQ(client.bottom - 25 - 10, origin.y);
        std::unique_ptr<TestCanvas> shown = CaptureClient(dialog->m_hWnd);
        int wrong = 0;
        for (int y = 0; y < banner.m_nHeight; ++y)
            for (int x = 0; x < banner.m_nWidth; ++x)
                wrong += shown->At(origin.x + x, origin.y + y) != expected.At(x, y);
        EXPECT_EQ(0, wrong) << "pixels of the banner that differ, grown by " << grow;
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shown->At(origin.x + 5, client.bottom - 5));
    }
}

TEST_F(ClassicDialogTest, EachFailureIsReportedOnceAndNoWindowIsMade)
{
    const struct {
        const char* name;
        int logoBits;        // 0: no logo file
        bool settingsFile;
        bool templates;      // false: a resource module without dialog templates
        std::string message; // for a missing logo, the path follows
    } cases[] = {
        {"no logo", 0, true, true, "Can't open bitmap "},
        {"16-bit logo", 16, true, true, "Bitmap depth is unsupported"},
        {"4-bit logo (no shared palette)", 4, true, true, "CreateOctalPalette only supports 8 and 24 bit bmps"},
        {"no settings file", 8, false, true, "Can't read from ini file: TransparentBitmap"},
        {"no dialog template", 8, true, false, "Can't create dialog 1001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_boxes.clear();
        SetResourceModule(c.templates ? GetModuleHandleW(nullptr) : GetModuleHandleW(L"ntdll.dll"));
        std::string ini = SettingsText("TransparentBitmap=1\r\n");
        std::string logo = c.logoBits ? LogoFile(uint16_t(c.logoBits)) : "";
        ScopedFile settings(GetProgramDir() + "Modavi.ini", c.settingsFile ? &ini : nullptr);
        ScopedFile logoFile(GetProgramDir() + "LogoClas.bmp", c.logoBits ? &logo : nullptr);
        CClassicDlg failed(app, nullptr);
        EXPECT_FALSE(failed.IsWindow());
        EXPECT_EQ(nullptr, failed.m_hWnd);
        EXPECT_EQ((std::vector<std::string>{c.message + (c.logoBits ? "" : logoFile.path())}), g_boxes);
        EXPECT_EQ(nullptr, FindWindowW(L"#32770", L"Test Monitor"));
    }
}

TEST_F(ClassicDialogTest, BuildingPaintingPollingAndClosingLeaveNoGdiObjectBehind)
{
    WarmUpGdi();
    auto cycle = [&] {
        Open("TransparentBitmap=1\r\n");
        ASSERT_TRUE(dialog->IsWindow());
        UpdateWindow(dialog->m_hWnd);
        auto* status = static_cast<CStatusPage*>(dialog->GetPage(0));
        for (int tick = 0; tick < 4; ++tick)
            status->Refresh();
        static_cast<CVersionPage*>(dialog->GetPage(1))->Refresh();
        SendMessageW(dialog->m_hWnd, WM_CLOSE, 0, 0);
        dialog.reset();
        Pump();
    };
    cycle(); // the first dialog brings the font and caches that stay
    int before = CountLiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 5; ++i)
        cycle();
    EXPECT_EQ(before, CountLiveGdiObjects());
}

TEST(TabPageArea, PagesGoBelowTabsAtTheTopAndAboveTabsAtTheBottom)
{
    const RECT client = {0, 0, 400, 200};
    auto area = [&](RECT firstTab) {
        RECT r = PageAreaFromRects(client, firstTab);
        return std::make_tuple(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(std::make_tuple(2L, 25L, 398L, 198L), area({2, 2, 60, 22}));
    EXPECT_EQ(std::make_tuple(2L, 2L, 398L, 175L), area({2, 178, 60, 198}));
    // A first tab starting exactly at half the height counts as at the bottom.
    EXPECT_EQ(std::make_tuple(2L, 2L, 398L, 97L), area({2, 100, 60, 120}));
    EXPECT_EQ(std::make_tuple(2L, 123L, 398L, 198L), area({2, 99, 60, 120}));
}
