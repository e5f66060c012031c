// The program's own icons, taken from the program file's icon groups.
#pragma once

#include <windows.h>

// The icon group with this id, or null. The caller owns the icon (DestroyIcon).
HICON LoadProgramIcon(int id);
// The same at `size` pixels square: the group's image of that size, or its
// next larger one reduced. Null when there is no such group.
HICON LoadProgramIcon(int id, int size);

// Icon group 1001, large or small. The caller owns the icon. Raises XVuk
// "Can't load icon from PATH" when the group is missing.
HICON LoadWindowIcon(bool large);
// The same at `size` pixels square (a window's icon sizes at its DPI).
HICON LoadWindowIconOfSize(int size);

inline constexpr int kWindowIconGroup = 1001;
