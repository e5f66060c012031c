// Where the pages of a tab control go: its client area without the row of
// tabs, 2 pixels inside, whether the tabs run along the top or the bottom.
#pragma once

#include <windows.h>

// From the tab control's client rectangle and the rectangle of its first
// tab: tabs in the upper half of the client run along the top (the pages
// start below them), otherwise along the bottom (the pages end above them).
RECT PageAreaFromRects(const RECT& client, const RECT& firstTab);

// The same for a live tab control (TCM_GETITEMRECT of item 0).
RECT TabPageArea(HWND tabControl);
