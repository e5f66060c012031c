#include "classic/TabPageArea.h"

#include <commctrl.h>

RECT PageAreaFromRects(const RECT& client, const RECT& firstTab)
{
    RECT area = client;
    if (firstTab.top < client.bottom / 2)
        area.top = firstTab.bottom + 1;
    else
        area.bottom = firstTab.top - 1;
    InflateRect(&area, -2, -2);
    return area;
}

RECT TabPageArea(HWND tabControl)
{
    RECT client = {};
    RECT firstTab = {};
    GetClientRect(tabControl, &client);
    SendMessageW(tabControl, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    return PageAreaFromRects(client, firstTab);
}
