// The tray window's texts, pictures and shell record, apart from the
// window; and its constructor in a program that has no tray icons.
#include <windows.h>

#include "framework/AppServices.h"
#include "settings/XVuk.h"
#include "tray/NotifyIconShell.h"
#include "tray/SysTrayWnd.h"
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

TEST(TipText, RatesAreSignedAndLabelsAreNeverFormats)
{
    EXPECT_EQ(L"Up: -2147483648 kbps - Down: -1 kbps",
              RatesText(L"Up", 0x80000000, TipSeparator(false), L"Down", 0xFFFFFFFF));
    EXPECT_EQ(L"%s%n: 0 kbps\n%d: 2147483647 kbps",
              RatesText(L"%s%n", 0, TipSeparator(true), L"%d", 0x7FFFFFFF));
    EXPECT_EQ(L"State: %s", StateLineText(L"State:", L"%s"));
}

TEST(NotifyIconRecord, NeverOverflowsTheTipField)
{
    NOTIFYICONDATAW record = MakeNotifyIconRecord(nullptr, NIF_TIP, 0, nullptr, std::wstring(200, L'x'));
    EXPECT_EQ(DWORD(NOTIFYICONDATAW_V1_SIZE), record.cbSize);
    EXPECT_EQ(std::wstring(63, L'x'), record.szTip);
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
