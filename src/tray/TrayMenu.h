// The notification-area icon's pop-up menu: open the status window, close
// it, the Settings window, end the program.
#pragma once

#include "framework/Handles.h"

// The four items (100, 101, 110, a separator, 102) with the texts of the
// language module; "open" is greyed while the status window exists, "close"
// while it does not. Null when the menu cannot be made.
UniqueMenu BuildTrayMenu(bool statusWindowOpen);

// Tracks the menu at the cursor with owner as its owner, so that a chosen
// item arrives there as WM_COMMAND, then destroys it. The owner is brought
// to the foreground first and posted WM_NULL afterwards: without both, the
// menu of a hidden window does not close when the user clicks elsewhere.
void TrackTrayMenu(HWND owner, UniqueMenu menu);
