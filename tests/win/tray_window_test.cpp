// The tray window against a recording shell and the scripted modem driver:
// what it shows in each line state, when it calls the shell, its blink, its
// menu, its commands and how it reports a tool-tip that does not fit.
#include <windows.h>

#include "driver/CommandCodes.h"
#include "support/FakeDeviceIo.h"
#include "framework/AppServices.h"
#include "framework/ErrorBox.h"
#include "framework/ProgramClass.h"
#include "framework/WindowClass.h"
#include "tray/SysTrayWnd.h"
#include "tray/TrayMenu.h"
#include "tray/TrayMessages.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct ShellRecord {
    DWORD message;
    DWORD size;
    HWND window;
    UINT id;
    UINT flags;
    UINT callback;
    HICON icon;
    std::wstring tip;
};

// All fields of a record, for one comparison that prints them all.
auto Fields(const ShellRecord& r) { return std::make_tuple(r.message, r.size, r.window, r.id, r.flags, r.callback, r.icon, r.tip); }

class RecordingShell : public INotifyIconShell {
public:
    bool NotifyIcon(DWORD message, const NOTIFYICONDATAW& record) override
    {
        records.push_back({message, record.cbSize, record.hWnd, record.uID, record.uFlags,
                           record.uCallbackMessage, record.hIcon, record.szTip});
        return true;
    }
    std::vector<ShellRecord> records;
};

class FakeApp : public IAppServices {
public:
    void ShowMainWindow() override { ++showCalls; }
    void CloseStatusWindow() override { ++closeCalls; }
    void ExitApplication() override
    {
        ++exitCalls;
        recordsAtExit = shell ? shell->records.size() : 0;
        if (tray) // as the application does: the tray window goes
            tray->DestroyWindow();
    }
    void StopDebugMode() override {}
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return statusWindowOpen; }
    std::string GetLanguageName() const override { return "english"; }

    int showCalls = 0, closeCalls = 0, exitCalls = 0;
    size_t recordsAtExit = 0;
    bool statusWindowOpen = false;
    const RecordingShell* shell = nullptr;
    CWnd* tray = nullptr;
};

// Dispatches this thread's messages until done() or 10 s have passed.
void PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (!done() && GetTickCount() - start < 10000) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// "Error" boxes are recorded instead of shown; g_whileBoxOpen stands for the
// box's own message loop.
std::vector<std::string> g_boxes;
std::function<void()> g_whileBoxOpen;
void RecordBox(const char* text)
{
    g_boxes.push_back(text);
    if (g_whileBoxOpen)
        g_whileBoxOpen();
}

const wchar_t kTitle[] = L"Modavi ADSL Monitor"; // string 1 of this program's resources

COLORREF IconCentreColour(HICON icon)
{
    TestCanvas canvas(32, 32);
    canvas.Fill(RGB(1, 2, 3));
    DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    return canvas.At(16, 16);
}

class TrayWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterNamedWindowClass(kProgramWindowClass);
        ResetTrayTicks();
        g_boxes.clear();
        m_previousShower = SetErrorBoxShower(RecordBox);
        app.shell = &shell;
        app.tray = &tray;
    }
    void TearDown() override
    {
        if (!expectErrorBoxes) {
            EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
        }
        SetErrorBoxShower(m_previousShower);
        g_whileBoxOpen = nullptr;
    }

    // Creates the window and stops its timer, so that the test drives Poll alone.
    void CreateTray()
    {
        ASSERT_TRUE(tray.Create(nullptr));
        KillTimer(tray.m_hWnd, 1);
    }
    // Two ticks: the next status read.
    void NextStatusRead()
    {
        tray.Poll(1);
        tray.Poll(1);
    }
    const ShellRecord& Last() const { return shell.records.back(); }
    size_t Calls() const { return shell.records.size(); }
    std::wstring Tip(const std::wstring& text) const { return std::wstring(kTitle) + L"\n" + text; }
    void ExpectShown(int index, const std::wstring& tip)
    {
        EXPECT_EQ(index, tray.GetIconIndex());
        EXPECT_EQ(tray.GetIcon(index), Last().icon);
        EXPECT_EQ(tip, Last().tip);
    }

    ErrorBoxShower m_previousShower = nullptr;
    bool expectErrorBoxes = false; // otherwise any "Error" box fails the test
    FakeDeviceIo device;
    ScopedDeviceIo useDevice{device};
    RecordingShell shell;
    FakeApp app;
    CSysTrayWnd tray{app, shell};
};

TEST_F(TrayWindow, LoadsTheSevenIconGroupsInItsOrder)
{
    // Groups 1009..1015 of this program are red, green, blue, yellow, magenta, cyan, grey:
    // index 2 holds 1012 (yellow) and index 3 holds 1011 (blue).
    const COLORREF expected[] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),  RGB(0, 0, 255),
                                 RGB(255, 0, 255), RGB(0, 255, 255), RGB(128, 128, 128)};
    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(expected[index], IconCentreColour(tray.GetIcon(index))) << "index " << index;
    EXPECT_EQ(nullptr, tray.GetIcon(7));
}

TEST_F(TrayWindow, CreateAddsTheIconAndSetsTheTipAtOnce)
{
    device.answerDword(Command::kLineState, 0);
    CreateTray();

    EXPECT_EQ(0, GetWindowLongW(tray.m_hWnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(0, GetWindowLongW(tray.m_hWnd, GWL_STYLE) & WS_POPUP);
    wchar_t title[32] = {}, className[64] = {};
    GetWindowTextW(tray.m_hWnd, title, 32);
    GetClassNameW(tray.m_hWnd, className, 64);
    EXPECT_STREQ(L"SysTrayWnd", title);
    EXPECT_STREQ(kProgramWindowClass, className);

    ASSERT_EQ(2u, Calls());
    const DWORD size = NOTIFYICONDATAW_V1_SIZE;
    const UINT callback = RegisterWindowMessageW(L"VukSystrayIcon"), flags = NIF_MESSAGE | NIF_ICON;
    EXPECT_EQ(std::make_tuple(DWORD(NIM_ADD), size, tray.m_hWnd, 0u, flags, callback, tray.GetIcon(6), std::wstring()),
              Fields(shell.records[0]));
    // Tick 1 read the status: same picture, the tip set at once.
    EXPECT_EQ(std::make_tuple(DWORD(NIM_MODIFY), size, tray.m_hWnd, 0u, flags | NIF_TIP, callback, tray.GetIcon(6),
                              Tip(L"State: Idle")),
              Fields(shell.records[1]));
    EXPECT_EQ(6, tray.GetIconIndex());
    EXPECT_EQ(1u, device.callCount(Command::kLineState));
}

TEST_F(TrayWindow, ReadsTheStatusEveryOtherTickAndBlinksEveryTickInTraining)
{
    device.answerDword(Command::kLineState, 1);
    CreateTray();
    std::wstring tip = Tip(L"State: Training");
    ExpectShown(5, tip);

    std::vector<int> shown;
    std::vector<size_t> reads;
    for (int tick = 2; tick <= 7; ++tick) {
        size_t before = Calls();
        tray.Poll(1);
        EXPECT_EQ(before + 1, Calls()) << "tick " << tick;
        shown.push_back(tray.GetIconIndex());
        reads.push_back(device.callCount(Command::kLineState));
        EXPECT_EQ(tip, Last().tip);
    }
    // Even ticks blink to 6; odd ticks blink to 5 and then read the status,
    // which sets 5 again without a second shell call.
    EXPECT_EQ((std::vector<int>{6, 5, 6, 5, 6, 5}), shown);
    EXPECT_EQ((std::vector<size_t>{1, 2, 2, 3, 3, 4}), reads);

    // Training ends while picture 6 is shown: the next read shows the new state.
    tray.Poll(1); // tick 8: blink to 6
    device.answerDword(Command::kLineState, 3);
    tray.Poll(1); // tick 9: blink to 5, read state 3
    ExpectShown(6, Tip(L"State: No signal"));
    tray.Poll(1);
    EXPECT_EQ(6, tray.GetIconIndex()); // no blink outside training
}

TEST_F(TrayWindow, LineUpPicksThePictureByWhichCounterMoved)
{
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kCellCount381, 0);
    device.answerDword(Command::kCellCount301, 0);
    device.answerDword(Command::kRate103, 8192);
    device.answerDword(Command::kRate107, 1024);
    CreateTray();
    std::wstring tip = Tip(L"Upstream: 1024 kbps\nDownstream: 8192 kbps");
    ExpectShown(0, tip);

    // The reads of one status read, in their order.
    device.clearRecords();
    NextStatusRead();
    std::vector<uint16_t> commands;
    for (const FakeDeviceIo::Call& call : device.calls())
        commands.push_back(call.command);
    EXPECT_EQ((std::vector<uint16_t>{0x0004, 0x0381, 0x0301, 0x0103, 0x0107}), commands);

    struct Step { uint32_t a, b; int index; } steps[] = {
        {5, 0, 3},  // only counter A (0x0381): picture 1011
        {5, 7, 2},  // only counter B (0x0301): picture 1012
        {6, 8, 1},  // both
        {6, 8, 0},  // neither
        {0, 8, 3},  // a counter going back counts as moving
    };
    for (const Step& step : steps) {
        device.answerDword(Command::kCellCount381, step.a);
        device.answerDword(Command::kCellCount301, step.b);
        NextStatusRead();
        ExpectShown(step.index, tip);
    }
}

TEST_F(TrayWindow, UnchangedPictureAndTipDoNotCallTheShell)
{
    device.answerDword(Command::kLineState, 2);
    device.answerCounter(Command::kCellCount381, 100, 0);
    device.answerDword(Command::kRate103, 8000);
    CreateTray(); // first read: from 0 to 100, picture 3
    EXPECT_EQ(3, tray.GetIconIndex());
    NextStatusRead(); // quiet
    EXPECT_EQ(0, tray.GetIconIndex());
    size_t calls = Calls();
    NextStatusRead(); // quiet again: nothing to tell the shell
    NextStatusRead();
    EXPECT_EQ(calls, Calls());

    device.answerDword(Command::kRate103, 8001); // only the text changes
    NextStatusRead();
    EXPECT_EQ(calls + 1, Calls());
    ExpectShown(0, Tip(L"Upstream: 0 kbps\nDownstream: 8001 kbps"));
}

TEST_F(TrayWindow, RatesAreSignedAndAFailedReadGivesZero)
{
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kRate103, 0xFFFFFFFF);
    device.failCall(Command::kRate107);
    device.answerDword(Command::kCellCount301, 9, 1); // bad status: read as 0
    CreateTray();
    ExpectShown(0, Tip(L"Upstream: 0 kbps\nDownstream: -1 kbps"));

    device.answerDword(Command::kRate107, 0xFFFFFFFE);
    device.answerDword(Command::kCellCount301, 9);
    NextStatusRead();
    ExpectShown(2, Tip(L"Upstream: -2 kbps\nDownstream: -1 kbps"));
}

TEST_F(TrayWindow, AnAnswerOfElevenLooksExactlyLikeAFailedRead)
{
    auto recordsFor = [&](auto script) {
        RecordingShell ownShell;
        FakeApp ownApp;
        CSysTrayWnd ownTray(ownApp, ownShell);
        ResetTrayTicks();
        device.answerDword(Command::kLineState, 0);
        EXPECT_TRUE(ownTray.Create(nullptr));
        KillTimer(ownTray.m_hWnd, 1);
        script();
        ownTray.Poll(1);
        ownTray.Poll(1);
        EXPECT_EQ(11u, ownTray.GetLineState());
        EXPECT_EQ(4, ownTray.GetIconIndex());
        EXPECT_EQ(ownTray.GetIcon(4), ownShell.records.back().icon);
        std::vector<std::pair<int, std::wstring>> seen;
        for (const ShellRecord& record : ownShell.records) {
            int index = -1;
            for (int i = 0; i < 7; ++i)
                if (ownTray.GetIcon(i) == record.icon) index = i;
            seen.emplace_back(index, record.tip);
        }
        return seen;
    };
    auto answered = recordsFor([&] { device.answerDword(Command::kLineState, 11); });
    auto failed = recordsFor([&] { device.failCall(Command::kLineState); });
    auto badStatus = recordsFor([&] { device.answerDword(Command::kLineState, 2, 5); });
    auto noDevice = recordsFor([&] { device.setDevices(false, false); });

    EXPECT_EQ(Tip(L"Not available"), answered.back().second);
    EXPECT_EQ(answered, failed);
    EXPECT_EQ(answered, badStatus);
    EXPECT_EQ(answered, noDevice);
    // Only the state is asked for: no counter or rate read of an unreadable line.
    EXPECT_EQ(0u, device.callCount(Command::kCellCount381));
}

TEST_F(TrayWindow, NamesStatesFromTheListAndUnlistedOnesWithStringSix)
{
    CreateTray();
    // The list is "0,Idle,1,Training,2,Connected,3,No signal,7,4th stage,4,Handshake".
    EXPECT_EQ(L"Handshake", tray.StateText(4)); // the name "4th stage" is not a value
    EXPECT_EQ(L"4th stage", tray.StateText(7));
    EXPECT_EQ(L"Unknown", tray.StateText(9));

    device.answerDword(Command::kLineState, 9);
    NextStatusRead();
    ExpectShown(6, Tip(L"State: Unknown"));
    device.answerDword(Command::kLineState, 4);
    NextStatusRead();
    ExpectShown(6, Tip(L"State: Handshake"));
}

TEST_F(TrayWindow, ATipOfSixtyFourCharactersIsReportedOnceAndNotShown)
{
    // Title (19) + 1 + "Upstream: 12345 kbps" (20) + 1 + "Downstream: 67890 kbps" (22) = 63.
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kRate107, 12345);
    device.answerDword(Command::kRate103, 67890);
    expectErrorBoxes = true;
    CreateTray();
    std::wstring fits = Tip(L"Upstream: 12345 kbps\nDownstream: 67890 kbps");
    ASSERT_EQ(63u, fits.size());
    ExpectShown(0, fits);
    EXPECT_TRUE(g_boxes.empty());

    device.answerDword(Command::kRate103, uint32_t(-67890)); // one character more: 64
    device.answerCounter(Command::kCellCount381, 1, 1);      // and the picture keeps changing
    size_t calls = Calls();
    for (int i = 0; i < 5; ++i)
        NextStatusRead();
    EXPECT_EQ((std::vector<std::string>{"System tray text is too big"}), g_boxes);
    EXPECT_EQ(calls, Calls()); // nothing cut or half-shown
    EXPECT_EQ(0, tray.GetIconIndex());
    EXPECT_EQ(fits, tray.GetTip());

    // Back to a fitting text, then too long again: a new failure, a new box.
    device.answerDword(Command::kRate103, 67890);
    NextStatusRead();
    EXPECT_EQ(fits, Last().tip);
    device.answerDword(Command::kRate103, uint32_t(-67890));
    NextStatusRead();
    NextStatusRead();
    EXPECT_EQ(2u, g_boxes.size());
}

TEST_F(TrayWindow, TheTimerKeepsPollingWhileATooLongTipIsReportedOnce)
{
    auto reads = [&] { return device.callCount(Command::kLineState); };
    size_t readsInBox = 0;
    g_whileBoxOpen = [&] {
        const size_t before = reads();
        PumpUntil([&] { return reads() > before; });
        readsInBox = reads() - before;
    };
    device.answerDword(Command::kLineState, 1);
    device.answerDword(Command::kRate103, uint32_t(-67890));
    expectErrorBoxes = true;
    ASSERT_TRUE(tray.Create(nullptr)); // the real 500 ms timer runs
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kRate107, 12345);
    PumpUntil([&] { return reads() >= 4; });
    EXPECT_GE(reads(), 4u);
    EXPECT_GE(readsInBox, 1u) << "the timer stopped while the box was open";
    EXPECT_EQ(1u, g_boxes.size());
    EXPECT_EQ(Tip(L"State: Training"), tray.GetTip()); // the too-long tip was never shown
}

TEST_F(TrayWindow, TaskbarCreatedAddsTheCurrentPictureWithoutATip)
{
    device.answerDword(Command::kLineState, 3);
    CreateTray();
    EXPECT_EQ(1, SendMessageW(tray.m_hWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
    EXPECT_EQ(std::make_tuple(DWORD(NIM_ADD), DWORD(NOTIFYICONDATAW_V1_SIZE), tray.m_hWnd, 0u, UINT(NIF_MESSAGE | NIF_ICON),
                              RegisterWindowMessageW(L"VukSystrayIcon"), tray.GetIcon(6), std::wstring()),
              Fields(Last()));

    // The stored tip still equals the next one: shown again only on a change.
    size_t calls = Calls();
    NextStatusRead();
    EXPECT_EQ(calls, Calls());
    device.answerDword(Command::kLineState, 0);
    NextStatusRead();
    ExpectShown(6, Tip(L"State: Idle"));
}

// While the menu is tracked, reads its items (id, greyed, text) and ends it.
constexpr UINT kSeparator = UINT(-1);
using MenuItem = std::tuple<UINT, bool, std::wstring>;
std::vector<MenuItem> g_trackedItems;
void CALLBACK ReadTrackedMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
        UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
        const bool separator = state & MF_SEPARATOR; // greyed too while tracked
        g_trackedItems.emplace_back(separator ? kSeparator : GetMenuItemID(menu, i), !separator && (state & MF_GRAYED), text);
    }
    EndMenu();
}

TEST_F(TrayWindow, RightButtonOnTheIconTracksTheMenuGreyingOpenOrClose)
{
    CreateTray();
    UINT callback = RegisterWindowMessageW(L"VukSystrayIcon");
    for (bool open : {true, false}) {
        app.statusWindowOpen = open;
        g_trackedItems.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadTrackedMenu);
        EXPECT_EQ(1, SendMessageW(tray.m_hWnd, callback, 0, WM_RBUTTONDOWN));
        KillTimer(nullptr, timer);
        const std::vector<MenuItem> expected = {
            {100, open, L"Open status window"}, {101, !open, L"Close status window"}, {kSeparator, false, L""}, {102, false, L"Exit"}};
        EXPECT_EQ(expected, g_trackedItems) << "status window open: " << open;
    }
    bool nullPosted = false; // afterwards WM_NULL is posted to the window
    MSG message;
    while (PeekMessageW(&message, tray.m_hWnd, 0, 0, PM_REMOVE))
        nullPosted = nullPosted || message.message == WM_NULL;
    EXPECT_TRUE(nullPosted);
    EXPECT_EQ(0, app.showCalls + app.closeCalls + app.exitCalls);
}

TEST_F(TrayWindow, DoubleClickAndCommandsReachTheAppAndExitRemovesTheIconFirst)
{
    CreateTray();
    UINT callback = RegisterWindowMessageW(L"VukSystrayIcon");
    size_t calls = Calls();
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})
        EXPECT_EQ(1, SendMessageW(tray.m_hWnd, callback, 0, mouse));
    EXPECT_EQ(1, app.showCalls); // only the double click opens
    SendMessageW(tray.m_hWnd, WM_COMMAND, 100, 0);
    EXPECT_EQ(2, app.showCalls);
    SendMessageW(tray.m_hWnd, WM_COMMAND, 101, 0);
    EXPECT_EQ(1, app.closeCalls);
    ASSERT_EQ(calls, Calls());

    SendMessageW(tray.m_hWnd, WM_COMMAND, 102, 0);
    EXPECT_EQ(1, app.exitCalls);
    ASSERT_EQ(calls + 1, app.recordsAtExit); // removed before the application ends
    EXPECT_EQ(DWORD(NIM_DELETE), shell.records[calls].message);
    EXPECT_EQ(0u, shell.records[calls].id);
    EXPECT_FALSE(tray.IsWindow()); // the application destroyed it; no second removal
    EXPECT_EQ(calls + 1, Calls());
}

TEST_F(TrayWindow, TheIconIsRemovedOnceWhetherClosedOrDestroyedWithTheObject)
{
    CreateTray();
    HWND window = tray.m_hWnd;
    size_t calls = Calls();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(calls + 1, Calls());
    EXPECT_EQ(DWORD(NIM_DELETE), Last().message);
    EXPECT_EQ(window, Last().window);

    RecordingShell ownShell;
    {
        CSysTrayWnd ownTray(app, ownShell);
        ASSERT_TRUE(ownTray.Create(nullptr));
    } // the object goes with its window, as at the program's end
    ASSERT_FALSE(ownShell.records.empty());
    EXPECT_EQ(DWORD(NIM_DELETE), ownShell.records.back().message);
    size_t deletes = 0;
    for (const ShellRecord& record : ownShell.records)
        deletes += record.message == NIM_DELETE;
    EXPECT_EQ(1u, deletes);
}

TEST_F(TrayWindow, TheTickCounterIsSharedByEveryPoll)
{
    device.answerDword(Command::kLineState, 0);
    CreateTray();                           // tick 1
    RecordingShell otherShell;
    CSysTrayWnd other(app, otherShell);
    ASSERT_TRUE(other.Create(nullptr));     // tick 2: no status read
    KillTimer(other.m_hWnd, 1);
    EXPECT_EQ(1u, device.callCount(Command::kLineState));
    tray.Poll(1);                           // tick 3
    EXPECT_EQ(2u, device.callCount(Command::kLineState));
}

} // namespace
