// The tray window against a recording shell and the scripted modem driver:
// the picture and tool-tip it gives the shell in each line state, its blink,
// its balloons, its menu, and the one error box of a tool-tip that does not
// fit; and the texts it builds. A soak through the real shell.
#include "driver/CommandCodes.h"
#include "support/FakeDeviceIo.h"
#include "framework/ErrorBox.h"
#include "settings/ProgramIdentity.h"
#include "framework/WindowClass.h"
#include "settings/IniFile.h"
#include "settings/ResourceIds.h"
#include "tray/SysTrayWnd.h"
#include "tray/TrayMenu.h"
#include "tray/TrayMessages.h"
#include "tray/TrayText.h"
#include "../support/ErrorText.h"
#include "../support/GdiObjects.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// This program's tray icon groups 1009..1015 are plain red, green, blue,
// yellow, magenta, cyan and grey: the group an icon given to the shell shows.
int Group(HICON icon)
{
    const COLORREF colours[] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),    RGB(255, 255, 0),
                                RGB(255, 0, 255), RGB(0, 255, 255), RGB(128, 128, 128)};
    TestCanvas canvas(32, 32);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    for (int i = 0; i < 7; ++i)
        if (canvas.At(16, 16) == colours[i])
            return IDI_TRAY_UP_QUIET + i;
    return 0;
}

using Record = std::tuple<DWORD, DWORD, HWND, UINT, UINT, UINT, int, std::wstring>;

// "Error" boxes are recorded instead of shown; g_whileBoxOpen stands for
// what the box's own message loop dispatches.
std::vector<std::string> g_boxes;
std::function<void()> g_whileBoxOpen;
void RecordBox(const char* text)
{
    g_boxes.push_back(text);
    if (g_whileBoxOpen)
        g_whileBoxOpen();
}

// The test is the application and the shell the tray window talks to.
class TrayWindow : public ::testing::Test, public IAppServices, public INotifyIconShell {
protected:
    void SetUp() override
    {
        RegisterNamedWindowClass(kProgramWindowClass);
        while (AdvanceTrayTick() % 2 != 0) { // the shared count even: the first poll reads
        }
        g_boxes.clear();
        m_previousShower = SetErrorBoxShower(RecordBox);
    }
    void TearDown() override
    {
        EXPECT_EQ(expectedBoxes, g_boxes.size());
        SetErrorBoxShower(m_previousShower);
        g_whileBoxOpen = nullptr;
    }

    bool NotifyIcon(DWORD message, const NOTIFYICONDATAW& r) override
    {
        if (r.uFlags & NIF_INFO) { // a balloon: the record that carries it, only that flag, the title
            EXPECT_EQ(std::make_tuple(DWORD(NIM_MODIFY), DWORD(NOTIFYICONDATAW_V2_SIZE), tray.m_hWnd, 0u, UINT(NIF_INFO), std::wstring(L"Modavi ADSL Monitor")),
                      std::make_tuple(message, r.cbSize, r.hWnd, r.uID, r.uFlags, std::wstring(r.szInfoTitle)));
            balloons.emplace_back(r.szInfo, r.dwInfoFlags);
        } else {
            records.emplace_back(message, r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage, Group(r.hIcon), r.szTip);
            ICONINFO info = {};
            BITMAP bitmap = {};
            if (r.hIcon && GetIconInfo(r.hIcon, &info)) {
                GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
            }
            iconSides.push_back(bitmap.bmWidth);
        }
        EXPECT_TRUE(!throughShell || PlatformNotifyIconShell().NotifyIcon(message, r)) << "the shell takes every record";
        return true;
    }
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void OpenSettings() override { ++settingsCalls; }
    void ExitApplication() override
    {
        recordsAtExit = records.size();
        tray.DestroyWindow(); // as the application does
    }
    void StopDebugMode() override {}
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return "english"; }
    void RecordLineRead(LineReader, LineCondition, LineRates) override {}
    void RecordPcEvent(LineReader reader, PcEvent event) override
    {
        EXPECT_EQ(LineReader::TrayIcon, reader);
        pcEvents.push_back(event);
    }

    // Creates the window (tick 1 reads the status) and stops its timer: the test drives Poll.
    void CreateTray()
    {
        ASSERT_TRUE(tray.Create(nullptr));
        KillTimer(tray.m_hWnd, 1);
    }
    // Ticks 2n and 2n+1: the next status read.
    void NextStatusRead()
    {
        tray.Poll(1);
        tray.Poll(1);
    }
    std::pair<int, std::wstring> Shown() const { return {std::get<6>(records.back()), std::get<7>(records.back())}; }
    static std::wstring Tip(const std::wstring& text) { return L"Modavi ADSL Monitor\n" + text; }
    Record Expected(DWORD message, UINT flags, int group, const std::wstring& tip) const
    {
        return {message, DWORD(NOTIFYICONDATAW_V1_SIZE), tray.m_hWnd, 0u, flags, TrayCallbackMessage(), group, tip};
    }
    size_t Deletes(HWND window) const
    {
        return std::count_if(records.begin(), records.end(),
                             [&](const Record& r) { return std::get<0>(r) == NIM_DELETE && std::get<2>(r) == window; });
    }

    ErrorBoxShower m_previousShower = nullptr;
    size_t expectedBoxes = 0;
    FakeDeviceIo device;
    ScopedDeviceIo useDevice{device};
    std::vector<Record> records;
    std::vector<int> iconSides; // of the picture each record gave, 0 for none
    std::vector<std::pair<std::wstring, DWORD>> balloons; // text, symbol
    bool throughShell = false; // records go on to the real shell too
    size_t recordsAtExit = 0;
    std::vector<PcEvent> pcEvents;
    int settingsCalls = 0;
    CSysTrayWnd tray{*this, *this};
};

TEST_F(TrayWindow, CreateAddsTheIconThenShowsTheFirstReadAndEachLineStateHasItsPictureAndTip)
{
    // The list is "0,Idle,1,Training,2,Connected,3,No signal,7,4th stage,4,Handshake".
    enum How { kAnswer, kFail, kBadStatus, kNoDevice };
    const struct { How how; uint32_t state; int group; const wchar_t* text; } cases[] = {
        {kAnswer, 3, IDI_TRAY_DOWN, L"State: No signal"}, {kAnswer, 4, IDI_TRAY_DOWN, L"State: Handshake"}, // not "4th stage"
        {kAnswer, 7, IDI_TRAY_DOWN, L"State: 4th stage"}, {kAnswer, 9, IDI_TRAY_DOWN, L"State: Unknown"},
        {kAnswer, 11, IDI_TRAY_UNREADABLE, L"Not available"}, {kFail, 0, IDI_TRAY_UNREADABLE, L"Not available"},
        {kBadStatus, 2, IDI_TRAY_UNREADABLE, L"Not available"}, {kNoDevice, 0, IDI_TRAY_UNREADABLE, L"Not available"},
        {kAnswer, 0, IDI_TRAY_DOWN, L"State: Idle"},
    };
    CreateTray();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(Expected(NIM_ADD, NIF_MESSAGE | NIF_ICON, IDI_TRAY_DOWN, L""), records[0]);
    EXPECT_EQ(Expected(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP, IDI_TRAY_DOWN, Tip(L"State: Idle")), records[1]);
    EXPECT_EQ(1, SendMessageW(tray.m_hWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
    EXPECT_EQ(Expected(NIM_ADD, NIF_MESSAGE | NIF_ICON, IDI_TRAY_DOWN, L""), records.back());
    NextStatusRead(); // the same state: the stored tip is told again only when it changes (the count below)
    for (const auto& c : cases) {
        device.setDevices(c.how != kNoDevice, false);
        if (c.how == kFail)
            device.failCall(Command::kLineState);
        else
            device.answerDword(Command::kLineState, c.state, c.how == kBadStatus ? 5 : 0);
        NextStatusRead();
        EXPECT_EQ(std::make_pair(c.group, Tip(c.text)), Shown()) << c.how << ", " << c.state;
    }
    EXPECT_EQ(9u, records.size()) << "an unchanged picture and tip are not told again";
    EXPECT_EQ(0u, device.callCount(Command::kDownstreamCells)) << "counters are read only with the line up";
}

// The pictures are the small-icon size of the taskbar's DPI: sent again, with
// the same picture and tip, when a change of DPI or settings changes that
// size, and added anew when the taskbar comes back.
TEST_F(TrayWindow, ThePicturesFollowTheTaskbarsDpi)
{
    CreateTray();
    EXPECT_EQ(16, iconSides.back());
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    const struct { UINT message; unsigned dpi; int side; DWORD sent; } steps[] = {
        {WM_DPICHANGED, 144, 24, NIM_MODIFY}, {WM_DPICHANGED, 192, 32, NIM_MODIFY}, {WM_DPICHANGED, 192, 0, 0},
        {WM_SETTINGCHANGE, 0, 16, NIM_MODIFY} /* the window's own DPI */, {WM_DPICHANGED, 120, 20, NIM_MODIFY},
        {taskbarCreated, 0, 16, NIM_ADD}}; // side 0: nothing sent
    for (const auto& step : steps) {
        const size_t before = records.size();
        RECT suggested = {0, 0, 0, 0};
        SendMessageW(tray.m_hWnd, step.message, MAKEWPARAM(step.dpi, step.dpi),
                     step.message == WM_DPICHANGED ? reinterpret_cast<LPARAM>(&suggested) : 0);
        ASSERT_EQ(before + (step.side ? 1 : 0), records.size()) << step.message << "/" << step.dpi;
        if (!step.side)
            continue;
        EXPECT_EQ(step.sent, std::get<0>(records.back()));
        EXPECT_EQ(IDI_TRAY_DOWN, std::get<6>(records.back()));
        EXPECT_EQ(step.side, iconSides.back()) << step.message << "/" << step.dpi;
    }
}

TEST_F(TrayWindow, LineUpShowsRatesAndThePictureOfWhichCounterMoved)
{
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kDownstreamRate, 0xFFFFFFFF); // signed
    device.failCall(Command::kUpstreamRate);               // a failed read gives 0
    device.answerDword(Command::kUpstreamCells, 9, 1); // so does a bad status
    CreateTray();
    EXPECT_EQ(std::make_pair(IDI_TRAY_UP_QUIET, Tip(L"Upstream: 0 kbps\nDownstream: -1 kbps")), Shown());

    device.answerDword(Command::kDownstreamRate, 8192), device.answerDword(Command::kUpstreamRate, 1024);
    device.answerDword(Command::kUpstreamCells, 0);
    const struct { uint32_t a, b; int group; } steps[] = {
        {0, 0, IDI_TRAY_UP_QUIET}, {5, 0, IDI_TRAY_UP_DOWN}, // only counter A (0x0381) moved
        {5, 7, IDI_TRAY_UP_UP},                              // only counter B (0x0301)
        {6, 8, IDI_TRAY_UP_BOTH},  {6, 8, IDI_TRAY_UP_QUIET},
        {0, 8, IDI_TRAY_UP_DOWN}, // a counter going back counts as moving
    };
    for (const auto& step : steps) {
        device.answerDword(Command::kDownstreamCells, step.a);
        device.answerDword(Command::kUpstreamCells, step.b);
        NextStatusRead();
        EXPECT_EQ(std::make_pair(step.group, Tip(L"Upstream: 1024 kbps\nDownstream: 8192 kbps")), Shown())
            << step.a << ", " << step.b;
    }
}

// All through the real shell too: a change that held for two reads is told in one balloon while
// NotifyLineChanges is on. Then the same reads a hundred times more: handles and GDI objects stay flat.
TEST_F(TrayWindow, AChangeThatHeldForTwoReadsIsToldInOneBalloonWhileTheSettingIsOn)
{
    throughShell = true;
    ScopedFile ini(SettingsFilePath(), nullptr);
    device.answerDword(Command::kDownstreamRate, 8128), device.answerDword(Command::kUpstreamRate, 864);
    // Line state per read (0: no device, 11: the call fails), NotifyLineChanges ("": not in the file, "-": no file), balloons so far.
    const struct Read { uint32_t state; std::string setting; size_t told; } reads[] = {
        {1, "1", 0}, {1, "1", 0}, {2, "1", 0}, {1, "1", 0}, {2, "1", 0}, {2, "1", 1}, {2, "1", 1}, {11, "1", 1},
        {11, "1", 2}, {0, "1", 2}, {0, "1", 3}, {3, "1", 3}, {3, "1", 4}, // up, down, gone, back
        {2, "0", 4}, {2, "0", 4}, {3, "", 4}, {3, "", 4}, {2, "-", 4}, {2, "-", 4}, {0, "1", 4}, {0, "1", 5},
    };
    auto apply = [&](const Read& read) {
        if (read.setting == "-")
            DeleteFileA(ini.path().c_str());
        else
            std::ofstream(ini.path()) << SettingsText(read.setting.empty() ? "Hue=1" : "NotifyLineChanges=" + read.setting);
        device.setDevices(read.state != 0, false);
        read.state == 11 ? device.failCall(Command::kLineState) : device.answerDword(Command::kLineState, read.state);
        tray.m_hWnd ? NextStatusRead() : CreateTray();
        device.clearRecords(); // the fake keeps every request otherwise
    };
    for (const Read& read : reads) {
        apply(read);
        ASSERT_EQ(read.told, balloons.size()) << &read - reads;
    }
    EXPECT_EQ((std::vector<std::pair<std::wstring, DWORD>>{{L"Up 8128/864", NIIF_INFO}, {L"Down after 0 s", NIIF_WARNING}, {L"No modem", NIIF_WARNING},
                                    {L"Modem back", NIIF_INFO}, {L"No modem", NIIF_WARNING}}), balloons);

    const auto gdiAndHandles = std::make_pair(CountLiveGdiObjects(), HandleCount());
    for (int round = 0; round < 100; ++round)
        std::for_each(std::begin(reads), std::end(reads), apply);
    EXPECT_EQ(gdiAndHandles, std::make_pair(CountLiveGdiObjects(), HandleCount()));
    EXPECT_EQ(5u + 100 * 6, balloons.size()) << "from no modem: back, up, down, gone, back and gone again";
}

// The PC's sleep as Windows tells it: no timer while asleep, a read at once at the wake (the
// second resume message is the same wake), no balloon for a line that trains again after it;
// the session's end is told, and closes the window when Restart Manager asks for it.
TEST_F(TrayWindow, SleepStopsTheReadsTheWakeReadsAtOnceAndAResyncGivesNoBalloon)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("NotifyLineChanges=1"));
    device.answerDword(Command::kLineState, 2);
    CreateTray();
    NextStatusRead(); // up, the first state confirmed
    auto pump = [&] {
        MSG message;
        while (PeekMessageW(&message, tray.m_hWnd, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    };
    auto power = [&](WPARAM event) { return SendMessageW(tray.m_hWnd, WM_POWERBROADCAST, event, 0); };
    SetTimer(tray.m_hWnd, 1, 500, nullptr);
    EXPECT_EQ(TRUE, power(PBT_APMSUSPEND));
    EXPECT_FALSE(KillTimer(tray.m_hWnd, 1)) << "no timer while asleep";
    device.answerDword(Command::kLineState, 3); // training again after the wake
    const size_t reads = device.callCount(Command::kLineState);
    NextStatusRead(); // ticks that came as the PC fell asleep
    EXPECT_EQ(reads, device.callCount(Command::kLineState)) << "no read while asleep";
    EXPECT_EQ(TRUE, power(PBT_APMRESUMEAUTOMATIC));
    EXPECT_EQ(TRUE, power(PBT_APMRESUMESUSPEND));
    pump();
    EXPECT_EQ(reads + 1, device.callCount(Command::kLineState)) << "a read at once";
    EXPECT_TRUE(KillTimer(tray.m_hWnd, 1)) << "the timer runs again";
    NextStatusRead(), NextStatusRead();
    device.answerDword(Command::kLineState, 2);
    NextStatusRead(), NextStatusRead();
    EXPECT_EQ(std::make_pair(IDI_TRAY_UP_QUIET, size_t(0)), std::make_pair(Shown().first, balloons.size()));

    EXPECT_EQ(TRUE, SendMessageW(tray.m_hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    const HWND window = tray.m_hWnd;
    SendMessageW(window, WM_ENDSESSION, FALSE, 0); // the end called off
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    pump();
    EXPECT_TRUE(IsWindow(window)) << "at log-off Windows ends the program";
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    pump();
    EXPECT_EQ((std::vector<PcEvent>{PcEvent::Sleep, PcEvent::Wake, PcEvent::SessionEnd, PcEvent::SessionEnd}), pcEvents);
    EXPECT_EQ(std::make_pair(false, size_t(1)), std::make_pair(bool(IsWindow(window)), Deletes(window)))
        << "asked to close: closed, the icon removed";
}

TEST_F(TrayWindow, TrainingBlinksEveryTickAndTheStatusIsReadEveryOther)
{
    device.answerDword(Command::kLineState, 1);
    CreateTray();
    EXPECT_EQ(std::make_pair(IDI_TRAY_TRAINING, Tip(L"State: Training")), Shown());
    std::vector<std::pair<int, size_t>> ticks; // picture shown, line states read
    for (int tick = 2; tick <= 5; ++tick) {
        tray.Poll(1);
        ticks.emplace_back(Shown().first, device.callCount(Command::kLineState));
    }
    // Odd ticks blink and then read, which shows the same picture without a second call.
    EXPECT_EQ((std::vector<std::pair<int, size_t>>{
                  {IDI_TRAY_DOWN, 1}, {IDI_TRAY_TRAINING, 2}, {IDI_TRAY_DOWN, 2}, {IDI_TRAY_TRAINING, 3}}), ticks);
    EXPECT_EQ(std::make_pair(size_t(6), Tip(L"State: Training")), std::make_pair(records.size(), Shown().second));

    tray.Poll(1); // tick 6 shows 1015; training ends
    device.answerDword(Command::kLineState, 3);
    tray.Poll(1);
    EXPECT_EQ(std::make_pair(IDI_TRAY_DOWN, Tip(L"State: No signal")), Shown());
    tray.Poll(1);
    EXPECT_EQ(9u, records.size()) << "no blink outside training";
}

TEST_F(TrayWindow, ATipOfSixtyFourCharactersRaisesToStartUpFirstAndIsReportedOnceAfter)
{
    // Title (19) + "\nUpstream: 12345 kbps" (21) + "\nDownstream: -67890 kbps" (24) = 64.
    device.answerDword(Command::kLineState, 2);
    device.answerDword(Command::kUpstreamRate, 12345);
    device.answerDword(Command::kDownstreamRate, uint32_t(-67890));
    EXPECT_EQ("System tray text is too big", ErrorText([&] { tray.Create(nullptr); })) << "without a box of its own";
    KillTimer(tray.m_hWnd, 1);
    device.answerDword(Command::kDownstreamRate, 67890);
    NextStatusRead();
    const std::wstring fits = Shown().second;
    ASSERT_EQ(63u, fits.size());

    device.answerDword(Command::kDownstreamRate, uint32_t(-67890)); // one character more
    device.answerCounter(Command::kDownstreamCells, 1, 1);      // and the picture keeps changing
    g_whileBoxOpen = [&] { NextStatusRead(); };              // the timer keeps polling in the box
    const size_t calls = records.size();
    for (int i = 0; i < 3; ++i)
        NextStatusRead();
    EXPECT_EQ((std::vector<std::string>{"System tray text is too big"}), g_boxes);
    EXPECT_EQ(calls, records.size()) << "nothing cut or half-shown";

    // Back to a fitting text, then too long again: a new failure, a new box.
    device.answerDword(Command::kDownstreamRate, 67890);
    NextStatusRead();
    EXPECT_EQ(fits, Shown().second);
    device.answerDword(Command::kDownstreamRate, uint32_t(-67890));
    NextStatusRead();
    expectedBoxes = 2;
}

TEST_F(TrayWindow, ExitRemovesTheIconFirstAndTheIconIsRemovedOnceHoweverTheWindowEnds)
{
    CreateTray();
    HWND window = tray.m_hWnd;
    const size_t calls = records.size();
    SendMessageW(window, WM_COMMAND, kCommandSettings, 0);
    EXPECT_EQ(1, settingsCalls) << "the menu's Settings item";
    SendMessageW(window, WM_COMMAND, kCommandExit, 0);
    EXPECT_EQ(calls + 1, recordsAtExit) << "removed before the application ends";
    EXPECT_EQ(1u, Deletes(window)) << "and not again when the application destroys the window";

    for (bool close : {true, false}) {
        auto other = std::make_unique<CSysTrayWnd>(*this, *this);
        ASSERT_TRUE(other->Create(nullptr));
        window = other->m_hWnd;
        if (close)
            SendMessageW(window, WM_CLOSE, 0, 0);
        other.reset(); // the object goes with its window, as at the program's end
        EXPECT_EQ(1u, Deletes(window)) << "closed: " << close;
    }
}

TEST(TrayMenu, GreysOpenWhileTheStatusWindowIsOpenAndCloseOtherwise)
{
    using Item = std::tuple<UINT, bool, std::wstring>;
    for (bool open : {true, false}) {
        UniqueMenu menu = BuildTrayMenu(open);
        std::vector<Item> items;
        for (int i = 0; i < GetMenuItemCount(menu.get()); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu.get(), UINT(i), text, 64, MF_BYPOSITION);
            const UINT state = GetMenuState(menu.get(), UINT(i), MF_BYPOSITION); // a separator counts as not grey
            items.emplace_back(GetMenuItemID(menu.get(), i), (state & (MF_GRAYED | MF_SEPARATOR)) == MF_GRAYED, text);
        }
        EXPECT_EQ((std::vector<Item>{{kCommandOpen, open, L"Open status window"}, {kCommandClose, !open, L"Close status window"},
                                     {kCommandSettings, false, L"&Settings..."}, {0, false, L""}, {kCommandExit, false, L"Exit"}}),
                  items) << "status window open: " << open;
    }
}

TEST(TrayText, EmptyItemsVanishAnOddListRaisesAndLabelsAreNeverFormats)
{
    EXPECT_EQ(L"Up", LineStateName(L",2,,Up,", 2, L"?"));
    for (const wchar_t* odd : {L"0,Idle,1", L"0,,Idle,1"}) // even when the state stands before the odd end
        EXPECT_EQ("State resource string must be even", ErrorText([&] { LineStateName(odd, 0, L"?"); }));
    EXPECT_EQ(L"%s: -2147483648 kbps - %d: 0 kbps", RatesText(L"%s", 0x80000000, TipSeparator(false), L"%d", 0));
    EXPECT_EQ(std::wstring(63, L'x'), MakeNotifyIconRecord(nullptr, NIF_TIP, 0, nullptr, std::wstring(200, L'x')).szTip)
        << "the record's tip field never overflows";
}

} // namespace
