// Finding a running instance of the program.
#pragma once

#include <windows.h>

#include <string>

// The running instance's window to hand over to: the tray window (which
// handles the open command) first, then any window of the program's class,
// then a dialog titled with the program's title.
HWND FindRunningInstance(const std::wstring& title);
