// The window layer: message tables, the exception boundary of window and
// dialog procedures, the single error box, the main window ending the loop.
#include "framework/Dialog.h"
#include "framework/ErrorBox.h"
#include "framework/MessageTable.h"
#include "framework/WinApp.h"
#include "framework/WindowClass.h"
#include "framework/Wnd.h"
#include "settings/XVuk.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const wchar_t kTestClass[] = L"ModaviFrameworkTest";
constexpr UINT WM_APP_THROW = WM_APP + 1;
constexpr UINT WM_APP_OK = WM_APP + 2;

std::vector<std::string> g_shown;
ErrorBoxShower g_previousShower = nullptr;

void RecordBox(const char* text)
{
    g_shown.push_back(text);
}

class ErrorBoxRecorder {
public:
    ErrorBoxRecorder() { g_shown.clear(); g_previousShower = SetErrorBoxShower(RecordBox); }
    ~ErrorBoxRecorder() { SetErrorBoxShower(g_previousShower); }
};

class CTestWnd : public CWnd {
public:
    std::vector<std::string> calls;

    bool Create()
    {
        RegisterNamedWindowClass(kTestClass);
        return CreateEx(0, kTestClass, L"test", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
    }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        static const MessageEntry<CTestWnd> table[] = {
            {WM_COMMAND, BN_CLICKED, 7, &CTestWnd::OnSeven},
            {WM_COMMAND, kAnyCode, kAnyId, &CTestWnd::OnOtherCommand},
            {WM_NOTIFY, TCN_SELCHANGE, 9, &CTestWnd::OnTabChange},
            {WM_APP_THROW, 0, 0, &CTestWnd::OnThrow},
            {WM_APP_OK, 0, 0, &CTestWnd::OnOk},
        };
        return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
               CWnd::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnSeven(WPARAM, LPARAM) { calls.push_back("seven"); return 7; }
    LRESULT OnOtherCommand(WPARAM w, LPARAM) { calls.push_back("command " + std::to_string(LOWORD(w))); return 1; }
    LRESULT OnTabChange(WPARAM, LPARAM) { calls.push_back("tab"); return 9; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw XVuk("Command 0x%x not valid", 0x10006); }
    LRESULT OnOk(WPARAM, LPARAM) { calls.push_back("ok"); return 42; }
};

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(GetModuleHandleW(nullptr)) {}
    bool InitInstance() override { return true; }
};

bool QuitPosted()
{
    MSG message;
    bool quit = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        quit = quit || message.message == WM_QUIT;
    return quit;
}

} // namespace

TEST(MessageTable, MatchesCommandsByCodeAndIdInTableOrder)
{
    CTestWnd window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(7, SendMessageW(window.m_hWnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0));
    EXPECT_EQ(1, SendMessageW(window.m_hWnd, WM_COMMAND, MAKEWPARAM(7, BN_DOUBLECLICKED), 0));
    EXPECT_EQ(1, SendMessageW(window.m_hWnd, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0));
    NMHDR header = {nullptr, 9, UINT(TCN_SELCHANGE)};
    EXPECT_EQ(9, SendMessageW(window.m_hWnd, WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)));
    header.idFrom = 10;
    EXPECT_EQ(0, SendMessageW(window.m_hWnd, WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ((std::vector<std::string>{"seven", "command 7", "command 8", "tab"}), window.calls);
}

TEST(WindowProcedure, AnExceptionBecomesOneErrorBoxAndTheWindowLivesOn)
{
    ErrorBoxRecorder boxes;
    CTestWnd window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(0, SendMessageW(window.m_hWnd, WM_APP_THROW, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"Command 0x10006 not valid"}), g_shown);
    EXPECT_EQ(42, SendMessageW(window.m_hWnd, WM_APP_OK, 0, 0));
}

namespace {
CTestWnd* g_nested = nullptr;
void BoxThatPumpsAFailingTimer(const char* text)
{
    g_shown.push_back(text);
    // While the box is open a failing timer raises again: no second box.
    SendMessageW(g_nested->m_hWnd, WM_APP_THROW, 0, 0);
    SendMessageW(g_nested->m_hWnd, WM_APP_THROW, 0, 0);
}
} // namespace

TEST(ErrorBox, NeverStacksASecondBox)
{
    ErrorBoxRecorder boxes;
    CTestWnd window;
    ASSERT_TRUE(window.Create());
    g_nested = &window;
    SetErrorBoxShower(BoxThatPumpsAFailingTimer);
    SendMessageW(window.m_hWnd, WM_APP_THROW, 0, 0);
    EXPECT_EQ(1u, g_shown.size());
    EXPECT_FALSE(IsErrorBoxOpen());
    // After the box is closed, a new error gets a box again.
    SendMessageW(window.m_hWnd, WM_APP_THROW, 0, 0);
    EXPECT_EQ(2u, g_shown.size());
}

TEST(MainWindow, DestroyingItEndsTheLoopOthersDoNot)
{
    CTestApp app;
    QuitPosted();
    CTestWnd other;
    ASSERT_TRUE(other.Create());
    other.DestroyWindow();
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(nullptr, other.m_hWnd);

    CTestWnd main;
    ASSERT_TRUE(main.Create());
    app.m_pMainWnd = &main;
    main.DestroyWindow();
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(WindowObject, DeletingTheObjectDestroysItsWindow)
{
    HWND handle = nullptr;
    {
        CTestWnd window;
        ASSERT_TRUE(window.Create());
        handle = window.m_hWnd;
        EXPECT_EQ(&window, CWnd::FromHandle(handle));
    }
    EXPECT_FALSE(IsWindow(handle));
}

namespace {

class CTestDialog : public CDialog {
public:
    CTestDialog(UINT id) : CDialog(id) {}
    int initCount = 0;
    int clicks = 0;
    bool throwOnInit = false;

protected:
    BOOL OnInitDialog() override
    {
        ++initCount;
        if (throwOnInit)
            throw XVuk("Can't open %s", "CplEng.dll");
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        static const MessageEntry<CTestDialog> table[] = {
            {WM_COMMAND, BN_CLICKED, 1001, &CTestDialog::OnPress},
        };
        return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
               CDialog::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnPress(WPARAM, LPARAM) { ++clicks; return 0; }
};

} // namespace

TEST(Dialog, CreatedFromATemplateOfTheResourceModule)
{
    CTestDialog dialog(77);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(1, dialog.initCount);
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    EXPECT_EQ(1, dialog.clicks);
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(Dialog, MissingTemplateGivesNoWindow)
{
    CTestDialog dialog(4242);
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(Dialog, AnExceptionInInitialisationIsReported)
{
    ErrorBoxRecorder boxes;
    CTestDialog dialog(77);
    dialog.throwOnInit = true;
    EXPECT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ((std::vector<std::string>{"Can't open CplEng.dll"}), g_shown);
}
