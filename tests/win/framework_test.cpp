// The window layer: the exception boundary of window and dialog procedures
// and the single error box.
#include "framework/Dialog.h"
#include "framework/ErrorBox.h"
#include "framework/MessageTable.h"
#include "framework/WindowClass.h"
#include "settings/XVuk.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// "Error" boxes are recorded; g_whileBoxOpen stands for what the box's own loop dispatches.
std::vector<std::string> g_shown;
std::function<void()> g_whileBoxOpen;
void RecordBox(const char* text)
{
    g_shown.push_back(text);
    if (g_whileBoxOpen)
        g_whileBoxOpen();
}

// Raises at WM_APP: the failure of a command, or with wParam 1 of a file.
class CTestWnd : public CWnd {
public:
    bool Create()
    {
        RegisterNamedWindowClass(L"ModaviFrameworkTest");
        return CreateEx(0, L"ModaviFrameworkTest", L"test", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
    }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        static const MessageEntry<CTestWnd> table[] = {
            {WM_APP, kAnyCode, kAnyId, &CTestWnd::OnThrow},
        };
        return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
               CWnd::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnThrow(WPARAM file, LPARAM)
    {
        if (file)
            throw XVuk("Can't write %s", "C:\\history.csv");
        throw XVuk("Command 0x%x not valid", 0x10006);
    }
};

// Template 77 of this program; raises in its initialisation.
class CFailingDialog : public CDialog {
public:
    CFailingDialog() : CDialog(77) {}

protected:
    BOOL OnInitDialog() override { throw XVuk("Can't open %s", "CplEng.dll"); }
};

TEST(Framework, AnExceptionBecomesOneErrorBoxNeverStackedNeverLostAndTheWindowLivesOn)
{
    g_shown.clear();
    const ErrorBoxShower previous = SetErrorBoxShower(RecordBox);
    CTestWnd window;
    ASSERT_TRUE(window.Create());
    // While the first box is open a failing timer raises again and again, and another failure comes
    // twice: no box on a box; once it is closed, the other failure's box, once.
    g_whileBoxOpen = [&] {
        if (g_shown.size() == 1)
            for (WPARAM file : {0, 1, 0, 1})
                SendMessageW(window.m_hWnd, WM_APP, file, 0);
    };
    EXPECT_EQ(0, SendMessageW(window.m_hWnd, WM_APP, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"Command 0x10006 not valid", "Can't write C:\\history.csv"}), g_shown);
    SendMessageW(window.m_hWnd, WM_APP, 0, 0); // the window lives on, and a new error gets a box again
    EXPECT_EQ(3u, g_shown.size());

    CFailingDialog dialog;
    EXPECT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ("Can't open CplEng.dll", g_shown.back());
    g_whileBoxOpen = nullptr;
    SetErrorBoxShower(previous);
}

} // namespace
