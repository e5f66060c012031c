// The skin button: its state table for mouse and keys, the capture rules,
// the command it posts, and its picture (state image with the key colour
// left out, dotted focus ring) pixel by pixel.
#include "skin/SkinButton.h"

#include "framework/WindowClass.h"
#include "settings/ResourceIds.h"
#include "settings/XVuk.h"

#include "skin_test_support.h"

#include <commctrl.h>

#include <functional>
#include <memory>

using namespace skintest;

namespace {

const COLORREF kRing = RGB(164, 164, 164);
const UINT kId = 105;

// A plain parent window that keeps the WM_COMMAND messages posted to it.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring className = RegisterAnonymousWindowClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent.CreateEx(0, className.c_str(), L"parent", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100,
                                    nullptr, 0));
        button = std::make_unique<CSkinButton>();
        RECT place = {20, 10, 37, 27}; // 17 x 17
        button->Create(parent, place, IDB_SKIN_BUTTONS, 60, kId, L"Close tip");
    }
    void TearDown() override
    {
        button.reset();
        ReleaseCapture();
    }

    // The WM_COMMAND messages that reached the parent's queue.
    int TakeCommands()
    {
        int count = 0;
        MSG message;
        while (PeekMessageW(&message, parent.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
            EXPECT_EQ(LOWORD(message.wParam), kId);
            EXPECT_EQ(HIWORD(message.wParam), 0);
            EXPECT_EQ(HWND(message.lParam), button->m_hWnd);
            ++count;
        }
        return count;
    }
    void Mouse(UINT message, int x, int y)
    {
        SendMessageW(button->m_hWnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }

    CWnd parent;
    std::unique_ptr<CSkinButton> button;
};

TEST_F(ButtonTest, PointerEnteringMakesItHotWithTheCaptureAndLeavingUndoesIt)
{
    Mouse(WM_MOUSEMOVE, 5, 5);
    EXPECT_TRUE(button->IsHot());
    EXPECT_EQ(GetCapture(), button->m_hWnd);
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImageHot);
    Mouse(WM_MOUSEMOVE, 40, 5);
    EXPECT_FALSE(button->IsHot());
    EXPECT_NE(GetCapture(), button->m_hWnd);
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImageNormal);
}

TEST_F(ButtonTest, PressLeaveReturnReleasePostsOnce)
{
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImagePressed);
    Mouse(WM_MOUSEMOVE, -8, 30); // outside: keeps capture and the pressed image
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(GetCapture(), button->m_hWnd);
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImagePressed);
    Mouse(WM_MOUSEMOVE, 6, 6);
    Mouse(WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(TakeCommands(), 1);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->IsHot());
    EXPECT_NE(GetCapture(), button->m_hWnd);
}

TEST_F(ButtonTest, PressLeaveReleaseOutsidePostsNothing)
{
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_MOUSEMOVE, 30, 5);
    Mouse(WM_LBUTTONUP, 30, 5);
    EXPECT_EQ(TakeCommands(), 0);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_NE(GetCapture(), button->m_hWnd);
    // The edge itself is outside: the client rectangle excludes its right and bottom.
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 17, 5);
    EXPECT_EQ(TakeCommands(), 0);
}

TEST_F(ButtonTest, ADisabledButtonIgnoresMouseAndKeys)
{
    button->SetEnabled(false);
    button->SetFocused(true);
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImageDisabled);
    Mouse(WM_MOUSEMOVE, 5, 5);
    EXPECT_FALSE(button->IsHot());
    EXPECT_NE(GetCapture(), button->m_hWnd);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImageDisabled);
    Mouse(WM_LBUTTONUP, 5, 5);
    button->KeyDown(VK_RETURN);
    EXPECT_FALSE(button->IsPressed());
    button->KeyUp(VK_RETURN);
    EXPECT_EQ(TakeCommands(), 0);

    button->SetEnabled(true);
    EXPECT_EQ(button->CurrentImage(), CSkinButton::kImageNormal);
}

TEST_F(ButtonTest, EnterOrSpaceOnTheFocusedButtonPosts)
{
    button->KeyDown(VK_RETURN);
    EXPECT_FALSE(button->IsPressed()); // not focused
    button->KeyUp(VK_RETURN);
    EXPECT_EQ(TakeCommands(), 0);

    button->SetFocused(true);
    for (UINT key : {UINT(VK_RETURN), UINT(VK_SPACE)}) {
        button->KeyDown(key);
        EXPECT_TRUE(button->IsPressed());
        button->KeyUp(key);
        EXPECT_FALSE(button->IsPressed());
        EXPECT_EQ(TakeCommands(), 1) << key;
    }
    // A key up without its key down posts nothing.
    button->KeyUp(VK_SPACE);
    EXPECT_EQ(TakeCommands(), 0);
}

TEST_F(ButtonTest, AnotherKeyClearsAPendingKeyPress)
{
    button->SetFocused(true);
    button->KeyDown(VK_RETURN);
    button->KeyDown(VK_TAB);
    EXPECT_FALSE(button->IsPressed());
    button->KeyUp(VK_RETURN);
    EXPECT_EQ(TakeCommands(), 0);
    // Other keys going up change nothing.
    button->KeyDown(VK_SPACE);
    button->KeyUp('A');
    EXPECT_TRUE(button->IsPressed());
}

TEST_F(ButtonTest, LosingTheCaptureEndsHotAndPressed)
{
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    SetCapture(parent.m_hWnd);
    EXPECT_FALSE(button->IsHot());
    EXPECT_FALSE(button->IsPressed());
    ReleaseCapture();
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(TakeCommands(), 0);
}

TEST_F(ButtonTest, HasOneToolTipToolCoveringItself)
{
    HWND tooltip = button->GetTooltip();
    ASSERT_TRUE(IsWindow(tooltip));
    EXPECT_TRUE(GetWindowLongW(tooltip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = parent.m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(button->m_hWnd);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Close tip");
}

// Each state shows the top-left 17 x 17 of its strip image (column 60, one
// image every 25 rows) with the image's key colour left out.
TEST_F(ButtonTest, ShowsTheTopLeftOfItsStateImageWithTheKeyLeftOut)
{
    const CDib& strip = button->m_strip;
    ASSERT_EQ(strip.m_nHeight, 100);
    const struct { const char* state; int image; std::function<void()> enter; } states[] = {
        {"normal", 0, [] {}},
        {"hot", 1, [&] { Mouse(WM_MOUSEMOVE, 5, 5); }},
        {"pressed", 3, [&] { Mouse(WM_LBUTTONDOWN, 5, 5); }},
        {"disabled", 2, [&] { Mouse(WM_LBUTTONUP, 30, 30); button->SetEnabled(false); }},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.state);
        s.enter();
        auto canvas = FilledCanvas(24, 24);
        button->PaintContent(canvas->Dc());
        const int top = s.image * 25;
        const COLORREF key = ImagePixel(strip, 60, top);
        int keyPixels = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                const COLORREF source = ImagePixel(strip, 60 + x, top + y);
                keyPixels += source == key;
                ASSERT_EQ(canvas->At(x, y), source == key ? kFill : source) << x << "," << y;
            }
        EXPECT_GT(keyPixels, 0);
        EXPECT_LT(keyPixels, 17 * 17);
        EXPECT_EQ(canvas->At(17, 5), kFill);
        EXPECT_EQ(canvas->At(5, 17), kFill);
    }
    TakeCommands();
}

TEST_F(ButtonTest, TheFocusRingIsADottedOutlineOfTheWholeButton)
{
    button->SetFocused(true);
    auto canvas = FilledCanvas(24, 24);
    button->PaintContent(canvas->Dc());
    // Dots on every side, gaps showing the image (background mode transparent).
    int ringPixels = 0, otherPixels = 0;
    for (int side = 0; side < 4; ++side) {
        int dots = 0;
        for (int i = 0; i < 17; ++i) {
            const POINT p = side == 0 ? POINT{i, 0} : side == 1 ? POINT{16, i} : side == 2 ? POINT{i, 16} : POINT{0, i};
            dots += canvas->At(p.x, p.y) == kRing;
            otherPixels += canvas->At(p.x, p.y) != kRing;
        }
        EXPECT_GT(dots, 0) << side;
        ringPixels += dots;
    }
    EXPECT_GT(ringPixels, 12);
    EXPECT_GT(otherPixels, 12);
    // Nothing is drawn inside or outside the outline.
    for (int y = 1; y < 16; ++y)
        for (int x = 1; x < 16; ++x)
            ASSERT_NE(canvas->At(x, y), kRing);
    EXPECT_EQ(canvas->At(17, 0), kFill);

    button->SetFocused(false);
    canvas->Fill(kFill);
    button->PaintContent(canvas->Dc());
    for (int i = 0; i < 17; ++i)
        ASSERT_NE(canvas->At(i, 0), kRing);
}

TEST_F(ButtonTest, MissingStripRaisesFromCreate)
{
    CSkinButton other;
    RECT place = {0, 0, 17, 17};
    EXPECT_THROW(other.Create(parent, place, 4242, 0, 1, L""), XVuk);
    EXPECT_FALSE(other.IsWindow());
}

} // namespace
