// The seven pictures of the notification-area icon, loaded from the
// program file's icon groups and owned for the object's lifetime.
#pragma once

#include "framework/Handles.h"

#include <array>

// Icon indexes and what each shows.
enum TrayIconIndex : int {
    kTrayIconQuiet = 0,       // line up, neither counter moved
    kTrayIconBoth = 1,        // line up, both counters moved
    kTrayIconUpstream = 2,    // line up, only counter 0x0301 moved
    kTrayIconDownstream = 3,  // line up, only counter 0x0381 moved
    kTrayIconUnreadable = 4,  // the line state could not be read
    kTrayIconTraining = 5,    // line state 1, alternating with kTrayIconOther
    kTrayIconOther = 6,       // any other state; the first picture
};
inline constexpr int kTrayIconCount = 7;

// Icon group of each index. Index 2 holds 1012 and index 3 holds 1011.
extern const std::array<int, kTrayIconCount> kTrayIconGroups;

// The picture of a line that is up, from which cell counters moved since the last read.
int TrafficIconIndex(bool downstreamChanged, bool upstreamChanged);

class CTrayIcons {
public:
    // Loads all seven at `size` pixels, the small-icon size of the
    // taskbar's DPI; raises XVuk "Can't load icon resource %d" with the
    // first group that is missing (the ones loaded so far are released).
    explicit CTrayIcons(int size);

    // The icon of an index, or null for an index out of range.
    HICON Get(int index) const;
    int Size() const { return m_nSize; }

private:
    std::array<UniqueIcon, kTrayIconCount> m_icons;
    int m_nSize;
};
