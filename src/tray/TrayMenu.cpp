#include "tray/TrayMenu.h"

#include "settings/ProgramIdentity.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"

UniqueMenu BuildTrayMenu(bool statusWindowOpen)
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return menu;
    AppendMenuW(menu.get(), MF_STRING, kCommandOpen, LoadResString(IDS_MENU_OPEN).c_str());
    AppendMenuW(menu.get(), MF_STRING, kCommandClose, LoadResString(IDS_MENU_CLOSE).c_str());
    AppendMenuW(menu.get(), MF_STRING, kCommandSettings, LoadResString(IDS_MENU_SETTINGS).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kCommandExit, LoadResString(IDS_MENU_EXIT).c_str());
    EnableMenuItem(menu.get(), statusWindowOpen ? kCommandOpen : kCommandClose, MF_BYCOMMAND | MF_GRAYED);
    return menu;
}

void TrackTrayMenu(HWND owner, UniqueMenu menu)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, owner, nullptr);
    menu.reset();
    PostMessageW(owner, WM_NULL, 0, 0);
}
