// The live GDI object count read from the process's handle table.
#include "../support/GdiObjects.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GdiObjects, CountsObjectsAsTheyAreMadeAndDeleted)
{
    WarmUpGdi();
    const int before = CountLiveGdiObjects();
    ASSERT_GT(before, 0) << "the stock objects at least are live";

    std::vector<HGDIOBJ> made;
    for (int i = 0; i < 5; ++i)
        made.push_back(CreateSolidBrush(RGB(i, 2, 3)));
    made.push_back(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    made.push_back(CreateBitmap(4, 4, 1, 1, nullptr));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(before + 8, CountLiveGdiObjects());

    for (HGDIOBJ object : made)
        DeleteObject(object);
    DeleteDC(dc);
    EXPECT_EQ(before, CountLiveGdiObjects());
}

TEST(GdiObjects, StockObjectsDoNotChangeTheCount)
{
    const int before = CountLiveGdiObjects();
    GetStockObject(BLACK_BRUSH);
    GetStockObject(DEFAULT_PALETTE);
    EXPECT_EQ(before, CountLiveGdiObjects());
}
