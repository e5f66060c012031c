// The skinned window against a scripted modem, seen through what it draws
// (the drawing recorder) and window messages: the rows of each page and
// which are redrawn, pages, keys, the buttons' state machine, the drag,
// and handles and GDI objects over an hour of accelerated polls.
#include "skin/PageIndicator.h"
#include "skin/SkinLayout.h"
#include "skin/SkinMainWnd.h"

#include "settings/ResourceIds.h"
#include "settings/XVuk.h"

#include "../support/GdiObjects.h"
#include "skin_test_support.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

using namespace skintest;
using namespace SkinLayout;

namespace {

class SkinWindowTest : public SkinTest {
protected:
    // Opens the window and reads the page it shows; the log starts empty.
    std::unique_ptr<CSkinMainWnd> Open()
    {
        auto window = std::make_unique<CSkinMainWnd>(app);
        window->SetDrawRecorder(&recorder);
        Look(*window);
        return window;
    }
    void Look(CSkinMainWnd& window)
    {
        TestCanvas canvas(388, 263);
        window.PaintContent(canvas.Dc());
        recorder.log.clear();
    }
    static void Key(CSkinMainWnd& window, UINT key)
    {
        SendMessageW(window.m_hWnd, WM_KEYDOWN, key, 0);
        SendMessageW(window.m_hWnd, WM_KEYUP, key, 0);
    }
    static void Command(CSkinMainWnd& window, UINT id) { SendMessageW(window.m_hWnd, WM_COMMAND, id, 0); }
    static int Focused(CSkinMainWnd& window)
    {
        int focused = -1;
        for (int i = 0; i < kButtonCount; ++i)
            if (Button(window.m_hWnd, kButtons[i].commandId).IsFocused())
                focused = focused == -1 ? i : -2;
        return focused;
    }
    std::vector<std::string> Values() const { return {recorder.values, recorder.values + 4}; }

    Recorder recorder;
};

TEST_F(SkinWindowTest, OpensAsRoundedPopupWithPageZeroAndFocusOnClose)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_VISIBLE);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    EXPECT_STREQ(L"Skin Test Monitor", text);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(hwnd, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 387, 262));
    EXPECT_TRUE(PtInRegion(region, 1, 131));
    DeleteObject(region);
    EXPECT_NE(0, SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));

    EXPECT_EQ(0, recorder.page);
    EXPECT_EQ(L"%s%n 1/2 %d 100%", recorder.indicator); // only %d and %% are filled
    EXPECT_EQ(L"Down label", recorder.labels[2]);
    EXPECT_EQ(kCloseButton, Focused(*window));
    EXPECT_TRUE(Button(hwnd, kPreviousPageCommand).IsDisabled());
    EXPECT_FALSE(Button(hwnd, kNextPageCommand).IsDisabled());
}

TEST_F(SkinWindowTest, PageZeroShowsStateModeAndRatesOnlyWhileUp)
{
    const struct {
        const char* what;
        std::vector<uint8_t> state; // empty: the request fails
        std::vector<std::string> rows;
        int light;
    } cases[] = {
        {"up", {2, 0, 0, 0}, {"Up", "ADSL2+", "8128 kbps", "864 kbps"}, CActivityBars::kLightConnected},
        {"no signal", {3, 0, 0, 0}, {"No signal", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightDown},
        {"unreadable", {}, {"n/a", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightUnreadable},
        {"eight bytes", {2, 0, 0, 0, 0, 0, 0, 0}, {"", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightUnreadable},
    };
    for (const auto& c : cases) {
        if (c.state.empty())
            device.failCall(0x0004);
        else
            device.answerBytes(0x0004, c.state);
        auto window = Open();
        EXPECT_NO_THROW(window->Refresh());
        for (int row = c.rows[0].empty() ? 1 : 0; row < 4; ++row)
            EXPECT_EQ(c.rows[row], recorder.values[row]) << c.what << ", row " << row;
        EXPECT_EQ(c.light, recorder.light) << c.what;
    }
    // Annex C (1) appends the bitmap mode; annex B (3) or an unreadable annex does not.
    device.answerDword(0x0004, 2);
    auto window = Open();
    const struct { uint32_t annex, dual; bool fail; const char* mode; } modes[] = {
        {1, 1, false, "ADSL2+ (DBM)"}, {1, 0, false, "ADSL2+ (FBM)"}, {3, 1, false, "ADSL2+"}, {1, 1, true, "ADSL2+"}};
    for (const auto& m : modes) {
        device.answerDword(0x0220, m.annex);
        device.answerDword(0x01F5, m.dual);
        if (m.fail)
            device.failCall(0x0220);
        window->Refresh();
        EXPECT_EQ(m.mode, recorder.values[1]) << m.annex << "/" << m.dual << "/" << m.fail;
    }
}

TEST_F(SkinWindowTest, APollRedrawsOnlyTheRowsWhoseTextChangedAndAlwaysTheActivity)
{
    device.answerDword(0x0107, 1000); // upstream rate, upper bar
    device.answerCounter(0x0301, 0, 1000); // 1000 cells a poll: 424 kbit against 1000 kbit/s
    auto window = Open();
    window->Refresh();
    EXPECT_EQ("A", recorder.log);
    EXPECT_EQ(42, recorder.upper);
    EXPECT_EQ(0, recorder.lower);
    device.answerDword(0x0103, 7000);
    recorder.log.clear();
    window->Refresh();
    EXPECT_EQ("2A", recorder.log);
    EXPECT_EQ("7000 kbps", recorder.values[2]);
    device.answerDword(0x0004, 0); // the line drops: state, both rates and the mode change
    recorder.log.clear();
    window->Refresh();
    EXPECT_EQ("0321A", recorder.log);
}

TEST_F(SkinWindowTest, PagesTurnOnlyWhereThereIsAPageAndPollTheirOwnFields)
{
    auto window = Open();
    size_t calls = device.calls().size();
    Command(*window, kPreviousPageCommand);
    EXPECT_EQ("", recorder.log);
    EXPECT_EQ(calls, device.calls().size());

    device.clearRecords();
    Command(*window, kNextPageCommand);
    EXPECT_EQ("TLLLL0123013A", recorder.log); // the whole page, then what the poll changed
    EXPECT_EQ(1, recorder.page);
    EXPECT_EQ(L"%s%n 2/2 %d 100%", recorder.indicator);
    EXPECT_EQ((std::vector<std::string>{"Pkg 2.5.1", "Driver 7.1", "4.2.4", "FW 3.33"}), Values());
    EXPECT_EQ(L"Package label", recorder.labels[0]);
    EXPECT_FALSE(Button(window->m_hWnd, kPreviousPageCommand).IsDisabled());
    EXPECT_TRUE(Button(window->m_hWnd, kNextPageCommand).IsDisabled());
    // Page 1 polls its own fields besides the line state and the two rates.
    EXPECT_EQ(0u, device.callCount(0x0113));
    EXPECT_EQ(1u, device.callCount(0x0004));
    EXPECT_EQ(1u, device.callCount(0x0001));

    recorder.log.clear();
    calls = device.calls().size();
    Command(*window, kNextPageCommand);
    EXPECT_EQ("", recorder.log);
    EXPECT_EQ(calls, device.calls().size());
    device.answerDword(0x0103, 1);
    window->Refresh(); // page 0's rows are not drawn while page 1 shows
    Command(*window, kPreviousPageCommand);
    EXPECT_EQ(0, recorder.page);
    EXPECT_EQ("1 kbps", recorder.values[2]);
}

TEST_F(SkinWindowTest, KeysMoveTheFocusPressTheFocusedButtonAndClose)
{
    auto window = Open();
    const size_t polls = device.callCount(0x0004);
    Key(*window, VK_TAB);
    EXPECT_EQ(kPreviousButton, Focused(*window));
    EXPECT_NE(std::string::npos, recorder.log.find('A')) << "a focus move polls";
    EXPECT_EQ(polls + 1, device.callCount(0x0004));
    // Shift+Tab goes back and wraps; Enter on the disabled previous button does nothing.
    BYTE keys[256], shifted[256];
    GetKeyboardState(keys);
    std::copy(keys, keys + 256, shifted);
    shifted[VK_SHIFT] = 0x80;
    SetKeyboardState(shifted);
    Key(*window, VK_TAB);
    EXPECT_EQ(kCloseButton, Focused(*window));
    Key(*window, 'L'); // Shift+L alone asks for nothing
    shifted[VK_CONTROL] = 0x80;
    SetKeyboardState(shifted);
    Key(*window, 'L');
    SetKeyboardState(keys);
    EXPECT_EQ(1, app.debugLogCalls);
    Key(*window, VK_TAB);
    Key(*window, VK_RETURN);
    PumpMessages();
    EXPECT_EQ(0, recorder.page);
    Key(*window, VK_TAB);
    Key(*window, VK_SPACE);
    PumpMessages();
    EXPECT_EQ(1, recorder.page);

    // Enter, Space or Escape right after the start close the window.
    for (UINT key : {UINT(VK_RETURN), UINT(VK_SPACE), UINT(VK_ESCAPE)}) {
        app.stopDebugCalls = 0;
        auto other = Open();
        HWND hwnd = other->m_hWnd;
        Key(*other, key);
        PumpMessages();
        EXPECT_FALSE(IsWindow(hwnd)) << key;
        EXPECT_EQ(1, app.stopDebugCalls) << key;
    }
}

TEST_F(SkinWindowTest, MinimiseDragTimerAndTeardown)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    PumpMessages();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 230));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(WPARAM(HTCAPTION), message.wParam);
    EXPECT_EQ(230, GET_Y_LPARAM(message.lParam));

    Command(*window, kMinimiseCommand);
    EXPECT_TRUE(IsIconic(hwnd));
    const size_t before = device.callCount(0x0004);
    SendMessageW(hwnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
    SendMessageW(hwnd, WM_TIMER, 77, 0);
    EXPECT_EQ(before + 1, device.callCount(0x0004));

    HWND button = GetDlgItem(hwnd, kMinimiseCommand);
    HWND tooltip = Button(hwnd, kMinimiseCommand).GetTooltip();
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd) || IsWindow(button) || IsWindow(tooltip));

    std::remove(ProgramFile("LogoSkin.bmp").c_str());
    EXPECT_THROW(CSkinMainWnd failed(app), XVuk);
    WriteLogo();
    std::remove(ProgramFile("Modavi.ini").c_str());
    EXPECT_THROW(CSkinMainWnd failed(app), XVuk);
    EXPECT_EQ(nullptr, FindWindowW(kProgramWindowClass, L"Skin Test Monitor"));
}

TEST(PageIndicator, FillsOnlyTwoDecimalConversionsAndPercentSigns)
{
    const struct { const wchar_t *format, *text; } cases[] = {
        {L"Page %d of %d", L"Page 1 of 2"}, {L"100%% %d", L"100% 1"}, {L"%s %n %x %d %d %d", L"%s %n %x 1 2 %d"},
        {L"end %", L"end %"}, {L"%5d|%-d", L"%5d|%-d"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.text, FormatPageIndicator(c.format, 1, 2)) << c.format;
}

// ---- The button's state machine, on a plain parent -------------------------

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        std::wstring className = RegisterAnonymousWindowClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent.CreateEx(0, className.c_str(), L"parent", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, 0));
        RECT place = {20, 10, 37, 27};
        button.Create(parent, place, IDB_SKIN_BUTTONS, 60, 105, L"Close tip");
    }
    void TearDown() override { ReleaseCapture(); }

    // WM_COMMAND messages from the button that reached the parent's queue.
    int Commands()
    {
        int count = 0;
        MSG message;
        while (PeekMessageW(&message, parent.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            count += message.wParam == 105 && HWND(message.lParam) == button.m_hWnd;
        return count;
    }
    void Mouse(UINT message, int x, int y)
    {
        SendMessageW(button.m_hWnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }

    CWnd parent;
    CSkinButton button;
};

TEST_F(ButtonTest, MouseStatesAndCapture)
{
    const struct {
        const char* step;
        UINT message;
        int x, y;
        CSkinButton::Image image;
        bool capture;
        int commands;
    } steps[] = {
        {"enter", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"leave", WM_MOUSEMOVE, 40, 5, CSkinButton::kImageNormal, false, 0},
        {"enter again", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"press", WM_LBUTTONDOWN, 5, 5, CSkinButton::kImagePressed, true, 0},
        {"leave pressed", WM_MOUSEMOVE, -8, 30, CSkinButton::kImagePressed, true, 0},
        {"return", WM_MOUSEMOVE, 6, 6, CSkinButton::kImagePressed, true, 0},
        {"release inside", WM_LBUTTONUP, 6, 6, CSkinButton::kImageNormal, false, 1},
        {"enter", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"press", WM_LBUTTONDOWN, 5, 5, CSkinButton::kImagePressed, true, 0},
        {"release on the right edge", WM_LBUTTONUP, 17, 5, CSkinButton::kImageNormal, false, 0},
    };
    for (const auto& s : steps) {
        Mouse(s.message, s.x, s.y);
        EXPECT_EQ(s.image, button.CurrentImage()) << s.step;
        EXPECT_EQ(s.capture, GetCapture() == button.m_hWnd) << s.step;
        EXPECT_EQ(s.commands, Commands()) << s.step;
    }
    // Losing the capture ends hot and pressed.
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    SetCapture(parent.m_hWnd);
    EXPECT_EQ(CSkinButton::kImageNormal, button.CurrentImage());
    ReleaseCapture();
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(0, Commands());
}

TEST_F(ButtonTest, KeysPressOnlyTheFocusedEnabledButton)
{
    const struct {
        bool focused, enabled;
        UINT down, up;
        int commands;
    } cases[] = {
        {false, true, VK_RETURN, VK_RETURN, 0}, {true, true, VK_RETURN, VK_RETURN, 1}, {true, true, VK_SPACE, VK_SPACE, 1},
        {true, true, 0, VK_SPACE, 0}, {true, true, VK_RETURN, 'A', 0}, {true, false, VK_RETURN, VK_RETURN, 0}};
    for (const auto& c : cases) {
        button.SetFocused(c.focused);
        button.SetEnabled(c.enabled);
        if (c.down)
            button.KeyDown(c.down);
        EXPECT_EQ(c.commands == 1 || c.up == 'A', button.IsPressed()) << c.down;
        button.KeyUp(c.up);
        EXPECT_EQ(c.commands, Commands()) << c.down << "/" << c.up;
        button.KeyDown(VK_TAB); // another key clears a pending press
        EXPECT_FALSE(button.IsPressed());
    }
    Mouse(WM_MOUSEMOVE, 5, 5); // disabled: no hover, no capture
    EXPECT_EQ(CSkinButton::kImageDisabled, button.CurrentImage());
    EXPECT_NE(button.m_hWnd, GetCapture());
}

// ---- Soak ------------------------------------------------------------------

// Open kernel handles of this process. GetProcessHandleCount answers 0 under
// Wine; the system's extended handle list (class 64) names each handle's process.
DWORD HandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0)
        return count;
    struct Entry {
        void* object;
        ULONG_PTR processId, handle;
        ULONG access;
        USHORT backTrace, typeIndex;
        ULONG attributes, reserved;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(64, buffer.data(), ULONG(buffer.size()), &needed) == LONG(0xC0000004)) // too small
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    const ULONG_PTR entries = *reinterpret_cast<const ULONG_PTR*>(buffer.data());
    const Entry* entry = reinterpret_cast<const Entry*>(buffer.data() + 2 * sizeof(ULONG_PTR));
    for (ULONG_PTR i = 0; i < entries; ++i)
        count += entry[i].processId == GetCurrentProcessId();
    return count;
}

// Thousands of polls against a modem whose counters move and whose line comes
// and goes, with repaints, page turns, focus moves and hovers between them.
TEST_F(SkinWindowTest, HandlesAndGdiObjectsStayFlatOverAnHourOfPolls)
{
    device.answerCounter(0x0301, 4294000000u, 7919);
    device.answerCounter(0x0381, 0, 104729);
    auto window = std::make_unique<CSkinMainWnd>(app);
    HWND hwnd = window->m_hWnd;
    auto tick = [&](int n) {
        device.answerDword(0x0004, n % 97 < 5 ? 1 : n % 97 < 8 ? 0 : 2);
        device.answerDword(0x0103, 8000 + uint32_t(n % 13));
        device.answerDword(0x0220, n % 3 == 0 ? 1 : 0);
        if (n % 211 == 0)
            device.failCall(0x0001);
        else
            device.answerText(0x0001, n % 5 ? "Driver 7.1" : "Driver 7.2");
        SendMessageW(hwnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
        if (n % 10 == 0)
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (n % 50 == 0)
            Command(*window, n % 100 ? kPreviousPageCommand : kNextPageCommand);
        if (n % 7 == 0)
            Key(*window, VK_TAB);
        if (n % 33 == 0) {
            SendMessageW(GetDlgItem(hwnd, kMinimiseCommand), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            SendMessageW(GetDlgItem(hwnd, kMinimiseCommand), WM_MOUSEMOVE, 0, MAKELPARAM(40, 4));
        }
        PumpMessages();
        device.clearRecords(); // the fake keeps every request otherwise
    };
    int n = 0;
    for (; n < 60; ++n)
        tick(n);
    const int gdi = CountLiveGdiObjects();
    const DWORD handles = HandleCount();
    ASSERT_GT(gdi, 0);
    for (; n < 3660; ++n)
        tick(n);
    EXPECT_EQ(gdi, CountLiveGdiObjects());
    EXPECT_EQ(handles, HandleCount());
    window.reset();
    EXPECT_LT(CountLiveGdiObjects(), gdi);
    // The handle count sees one more handle.
    const DWORD now = HandleCount();
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(now + 1, HandleCount());
    CloseHandle(event);
}

} // namespace
