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
// Opens the Settings window: the tray menu's item, and the skinned window's menu.
inline constexpr UINT kCommandSettings = 110;
// The same in the classic dialog's system menu (system commands keep their low four bits clear).
inline constexpr UINT kSysCommandSettings = 0x0110;
// The private argument of the elevated settings writer (SettingsWriteRequest.h).
inline constexpr wchar_t kSettingsWriteSwitch[] = L"--write-settings";
