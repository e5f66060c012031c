// The tray window's texts, pictures and shell record, apart from the
// window; and its constructor in a program that has no tray icons.
#include <windows.h>

#include "framework/AppServices.h"
#include "settings/XVuk.h"
#include "tray/NotifyIconShell.h"
#include "tray/SysTrayWnd.h"
#include "tray/TrayIcons.h"
#include "tray/TrayText.h"

#include <gtest/gtest.h>

namespace {

std::string RaisedBy(void (*action)())
{
    try {
        action();
    } catch (const XVuk& error) {
        return error.GetMessageText();
    }
    return "(nothing raised)";
}

TEST(LineStateName, WalksThePairsPositionally)
{
    const std::wstring list = L"0,Idle,1,Training,2,Connected";
    EXPECT_EQ(L"Idle", LineStateName(list, 0, L"?"));
    EXPECT_EQ(L"Connected", LineStateName(list, 2, L"?"));
    EXPECT_EQ(L"?", LineStateName(list, 3, L"?"));

    // A name that begins with digits never counts as a value...
    EXPECT_EQ(L"Handshake", LineStateName(L"5,3 tries,3,Handshake", 3, L"?"));
    EXPECT_EQ(L"?", LineStateName(L"5,3 tries", 3, L"?"));
    // ...and the first matching pair wins.
    EXPECT_EQ(L"first", LineStateName(L"4,first,4,second", 4, L"?"));
}

TEST(LineStateName, ReadsValuesLikeAtoi)
{
    EXPECT_EQ(L"blank", LineStateName(L" 7,blank", 7, L"?"));
    EXPECT_EQ(L"trailing", LineStateName(L"8abc,trailing", 8, L"?"));
    EXPECT_EQ(L"zero", LineStateName(L"0x9,zero", 0, L"?")); // no hexadecimal here
    EXPECT_EQ(L"?", LineStateName(L"0x9,zero", 9, L"?"));
    EXPECT_EQ(L"minus one", LineStateName(L"-1,minus one", 0xFFFFFFFF, L"?"));
    EXPECT_EQ(L"nothing", LineStateName(L"none,nothing", 0, L"?"));
}

TEST(LineStateName, EmptyItemsVanishAndAnOddCountRaises)
{
    EXPECT_EQ(L"Up", LineStateName(L",2,,Up,", 2, L"?"));
    EXPECT_EQ(L"?", LineStateName(L"", 2, L"?"));
    EXPECT_EQ("State resource string must be even",
              RaisedBy([] { LineStateName(L"0,Idle,1", 5, L"?"); }));
    // Raised even when the state would be found before the odd end.
    EXPECT_EQ("State resource string must be even", RaisedBy([] { LineStateName(L"0,Idle,1", 0, L"?"); }));
    EXPECT_EQ("State resource string must be even", RaisedBy([] { LineStateName(L"0,,Idle,1", 0, L"?"); }));
}

TEST(LineStateName, KeepsNamesInAnyScript)
{
    EXPECT_EQ(L"\x63A5\x7D9A", LineStateName(L"1,\x8A13\x7DF4,2,\x63A5\x7D9A", 2, L"?"));
    EXPECT_EQ(L"\x0421\x0432\x044F\x0437\x044C", LineStateName(L"2,\x0421\x0432\x044F\x0437\x044C", 2, L"?"));
}

TEST(TipText, RatesAreSignedDecimalUpstreamFirst)
{
    EXPECT_EQ(L"Up: 1024 kbps\nDown: 8192 kbps", RatesText(L"Up", 1024, L"\n", L"Down", 8192));
    EXPECT_EQ(L"Up: -2147483648 kbps - Down: -1 kbps",
              RatesText(L"Up", 0x80000000, L" - ", L"Down", 0xFFFFFFFF));
    // A label is appended as it is, never read as a format.
    EXPECT_EQ(L"%s%n: 0 kbps\n%d: 2147483647 kbps", RatesText(L"%s%n", 0, L"\n", L"%d", 0x7FFFFFFF));
    EXPECT_EQ(L"\n", TipSeparator(true));
    EXPECT_EQ(L" - ", TipSeparator(false));
    EXPECT_EQ(L"State: %s", StateLineText(L"State:", L"%s"));
}

TEST(NotifyIconRecord, IsTheVersionOneRecordOfIconZero)
{
    HWND window = reinterpret_cast<HWND>(0x1234);
    HICON icon = reinterpret_cast<HICON>(0x5678);
    NOTIFYICONDATAW record = MakeNotifyIconRecord(window, NIF_MESSAGE | NIF_ICON | NIF_TIP, 0xC123, icon, L"tip");
    EXPECT_EQ(DWORD(NOTIFYICONDATAW_V1_SIZE), record.cbSize);
    EXPECT_EQ(window, record.hWnd);
    EXPECT_EQ(0u, record.uID);
    EXPECT_EQ(7u, record.uFlags);
    EXPECT_EQ(0xC123u, record.uCallbackMessage);
    EXPECT_EQ(icon, record.hIcon);
    EXPECT_STREQ(L"tip", record.szTip);

    // The field never overflows, whatever the caller passes.
    std::wstring tooLong(200, L'x');
    record = MakeNotifyIconRecord(window, 0, 0, icon, tooLong);
    EXPECT_EQ(std::wstring(63, L'x'), record.szTip);
}

TEST(TrayIcons, TrafficPicturesByCounter)
{
    EXPECT_EQ(0, TrafficIconIndex(false, false));
    EXPECT_EQ(1, TrafficIconIndex(true, true));
    EXPECT_EQ(3, TrafficIconIndex(true, false)); // only 0x0381: icon 1011
    EXPECT_EQ(2, TrafficIconIndex(false, true)); // only 0x0301: icon 1012
    EXPECT_EQ(1012, kTrayIconGroups[2]);
    EXPECT_EQ(1011, kTrayIconGroups[3]);
}

class NoApp : public IAppServices {
public:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void StopDebugMode() override {}
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return std::string(); }
};

TEST(TrayWindowConstructor, RaisesForTheFirstMissingIcon)
{
    // This test program carries no icon resources.
    EXPECT_EQ("Can't load icon resource 1009", RaisedBy([] {
                  NoApp app;
                  CSysTrayWnd tray(app);
              }));
}

} // namespace
