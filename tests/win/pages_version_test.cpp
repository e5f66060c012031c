// The version page: the program's own version at once, the driver's text
// (or the "unknown" string) from the first tick on.
#include "support/FakeDeviceIo.h"
#include "pages/ControlText.h"
#include "pages/VersionPage.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace {

class VersionPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        m_parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 640, 400, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
        page = std::make_unique<CVersionPage>();
        ASSERT_TRUE(page->Create(m_parent));
    }

    void TearDown() override
    {
        page.reset();
        DestroyWindow(m_parent);
    }

    std::wstring Text(int id) const { return GetControlText(page->m_hWnd, id); }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    std::unique_ptr<CVersionPage> page;

private:
    HWND m_parent = nullptr;
};

} // namespace

TEST_F(VersionPageTest, ShowsCaptionsAndTheProgramVersionBeforeAskingTheDriver)
{
    EXPECT_EQ(L"Driver caption", Text(IDC_CAPTION_DRIVER));
    EXPECT_EQ(L"Program caption", Text(IDC_CAPTION_PROGRAM));
    EXPECT_EQ(L"4.2.4", Text(IDC_PROGRAM_VERSION));
    EXPECT_EQ(L"", Text(IDC_DRIVER_VERSION));
    EXPECT_TRUE(device.calls().empty());
}

TEST_F(VersionPageTest, ATickShowsTheDriversText)
{
    device.answerText(0x0001, "Vuk ADSL driver 3.10.7 \xd0\x90");
    SendMessageW(page->m_hWnd, WM_TIMER, 5, 0);
    ASSERT_EQ(1u, device.calls().size());
    EXPECT_EQ(0x0001, device.calls()[0].command);
    EXPECT_EQ(L"Vuk ADSL driver 3.10.7 \x0410", Text(IDC_DRIVER_VERSION));
    EXPECT_EQ(L"4.2.4", Text(IDC_PROGRAM_VERSION));
}

TEST_F(VersionPageTest, AnEmptyTextIsShownAsEmptyAndFailuresAsUnknown)
{
    device.answerText(0x0001, "");
    page->Refresh();
    EXPECT_EQ(L"", Text(IDC_DRIVER_VERSION));

    device.failCall(0x0001);
    page->Refresh();
    EXPECT_EQ(L"no version", Text(IDC_DRIVER_VERSION));

    device.answerText(0x0001, "refused", 5);
    page->Refresh();
    EXPECT_EQ(L"no version", Text(IDC_DRIVER_VERSION));

    device.answerText(0x0001, "back");
    page->Refresh();
    device.setDevices(false, false);
    page->Refresh();
    EXPECT_EQ(L"no version", Text(IDC_DRIVER_VERSION));
}
