// The window class of the program's own top-level windows (the tray window
// and the skinned window). A second start of the program looks for it.
#pragma once

#include <windows.h>

inline constexpr wchar_t kProgramWindowClass[] = L"KorvantisPelrix Control Panel";
inline constexpr char kProgramWindowClassA[] = "KorvantisPelrix Control Panel";
// Title of the hidden tray window.
inline constexpr wchar_t kTrayWindowTitle[] = L"SysTrayWnd";
// Commands that the tray window handles (a second start posts kCommandOpen).
inline constexpr UINT kCommandOpen = 100;
inline constexpr UINT kCommandClose = 101;
inline constexpr UINT kCommandExit = 102;
