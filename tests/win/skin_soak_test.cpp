// Ten minutes of the skinned window, accelerated: thousands of polls against
// a modem whose counters move and whose line comes and goes, with whole
// repaints, page changes and focus moves between them. The process's handle
// count and its live GDI objects must stay where they were after the first
// minute.
#include "skin/SkinMainWnd.h"

#include "../support/GdiObjects.h"
#include "skin_test_support.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace skintest;

namespace {

// Open kernel handles of this process. GetProcessHandleCount answers 0
// under Wine; the system's handle list (information class 64, the extended
// handle table) names each handle's process.
DWORD HandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0)
        return count;
    struct Entry {
        void* object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT backTrace;
        USHORT typeIndex;
        ULONG attributes;
        ULONG reserved;
    };
    struct Table {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(64, buffer.data(), ULONG(buffer.size()), &needed) == LONG(0xC0000004)) // too small
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    ULONG_PTR self = GetCurrentProcessId();
    for (ULONG_PTR i = 0; i < table->count; ++i)
        count += table->entries[i].processId == self;
    return count;
}

class SkinSoakTest : public SkinTest {
protected:
    void Tick(CSkinMainWnd& window, int tick)
    {
        // The line trains, comes up, drops now and then; rates and modes move.
        uint32_t state = tick % 97 < 5 ? 1 : tick % 97 < 8 ? 0 : 2;
        device.answerDword(0x0004, state);
        device.answerDword(0x0103, 8000 + uint32_t(tick % 13));
        device.answerDword(0x0113, tick % 2 ? 5 : 4);
        device.answerDword(0x0220, tick % 3 == 0 ? 1 : 0);
        if (tick % 211 == 0)
            device.failCall(0x0001);
        else
            device.answerText(0x0001, tick % 5 ? "Driver 7.1" : "Driver 7.2");
        SendMessageW(window.m_hWnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
        if (tick % 10 == 0)
            RedrawWindow(window.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (tick % 50 == 0)
            SendMessageW(window.m_hWnd, WM_COMMAND, window.GetPage() == 0 ? 104 : 103, 0);
        if (tick % 7 == 0) {
            SendMessageW(window.m_hWnd, WM_KEYDOWN, VK_TAB, 0);
            SendMessageW(window.m_hWnd, WM_KEYUP, VK_TAB, 0);
        }
        if (tick % 33 == 0) {
            HWND button = window.GetButton(2).m_hWnd;
            SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(40, 4));
        }
        PumpMessages();
        device.clearRecords(); // the fake keeps every request otherwise
    }
};

TEST_F(SkinSoakTest, HandlesAndGdiObjectsStayFlatOverTenMinutesOfPolls)
{
    device.answerCounter(0x0301, 4294000000u, 7919);
    device.answerCounter(0x0381, 0, 104729);
    auto window = std::make_unique<CSkinMainWnd>(app);

    const int minute = 60, tenMinutes = 600, runs = 6; // an hour of polls in all
    int tick = 0;
    for (; tick < minute; ++tick)
        Tick(*window, tick);
    int gdiAfterMinute = CountLiveGdiObjects();
    DWORD handlesAfterMinute = HandleCount();
    ASSERT_GT(gdiAfterMinute, 0);
    ASSERT_GT(handlesAfterMinute, 0u);

    for (int run = 0; run < runs; ++run)
        for (int i = 0; i < tenMinutes; ++i, ++tick)
            Tick(*window, tick);
    int gdiAtEnd = CountLiveGdiObjects();
    DWORD handlesAtEnd = HandleCount();
    std::printf("after %d polls: GDI objects %d (after the first minute %d), handles %lu (%lu)\n", tick, gdiAtEnd,
                gdiAfterMinute, static_cast<unsigned long>(handlesAtEnd),
                static_cast<unsigned long>(handlesAfterMinute));
    EXPECT_EQ(gdiAtEnd, gdiAfterMinute);
    EXPECT_EQ(handlesAtEnd, handlesAfterMinute);
    ASSERT_TRUE(window->IsWindow());

    // Closing the window gives back what it held.
    window.reset();
    EXPECT_LT(CountLiveGdiObjects(), gdiAfterMinute);
}

// The handle count sees one more handle (the GDI count's own check is in the bitmap drawing tests).
TEST_F(SkinSoakTest, TheHandleCountSeesALeak)
{
    const DWORD handles = HandleCount();
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(HandleCount(), handles + 1);
    CloseHandle(event);
    EXPECT_EQ(HandleCount(), handles);
}

} // namespace
