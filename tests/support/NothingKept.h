// A leak check for Windows tests: steps that must keep no GDI object and no handle.
#pragma once

#include "GdiObjects.h"

#include <gtest/gtest.h>

#include <functional>

// Runs step(0) to step(times - 1) and expects as many live GDI objects and
// handles after the last as after the second: nothing kept of the steps.
inline void ExpectNothingKept(int times, const std::function<void(int)>& step)
{
    int gdi = 0;
    DWORD handles = 0;
    for (int n = 0; n < times; ++n) {
        step(n);
        if (n == 1)
            gdi = CountLiveGdiObjects(), handles = HandleCount();
    }
    EXPECT_EQ(gdi, CountLiveGdiObjects());
    EXPECT_EQ(handles, HandleCount());
}
