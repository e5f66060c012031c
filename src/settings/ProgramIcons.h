// The program's own icons, taken from the program file's icon groups.
#pragma once

#include <windows.h>

// The icon group with this id, or null. The caller owns the icon (DestroyIcon).
HICON LoadProgramIcon(int id);

// Icon group 1001, large or small. The caller owns the icon. Raises XVuk
// "Can't load icon from PATH" when the group is missing.
HICON LoadWindowIcon(bool large);

inline constexpr int kWindowIconGroup = 1001;
