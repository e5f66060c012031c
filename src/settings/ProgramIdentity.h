// The names by which the program is found: the window class of its own
// top-level windows (the tray window and the skinned window), which a second
// start looks for, the tray window's title, and the commands it takes.
#pragma once

#include <windows.h>

inline constexpr wchar_t kProgramWindowClass[] = L"KorvantisPelrix Control Panel";
// The program's name as its banner shows it (and screen readers read it).
inline constexpr wchar_t kProgramName[] = L"Modavi";
inline constexpr char kProgramWindowClassA[] = "KorvantisPelrix Control Panel";
// Title of the hidden tray window.
inline constexpr wchar_t kTrayWindowTitle[] = L"SysTrayWnd";
// Commands that the tray window handles. A second start posts kCommandOpen
// to the window it found, the tray window or the status window: both bring
// the status window to the front.
inline constexpr UINT kCommandOpen = 100;
inline constexpr UINT kCommandClose = 101;
inline constexpr UINT kCommandExit = 102;
