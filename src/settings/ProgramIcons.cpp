#include "settings/ProgramIcons.h"

#include "settings/ProgramPaths.h"
#include "settings/XVuk.h"

#include <shellapi.h>

// The program file is found by its module name, not by the first word of the
// command line, which may be relative to another folder or unquoted.

HICON LoadProgramIcon(int id)
{
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), GetProgramPath().c_str(), UINT(-id));
    // ExtractIcon answers 1 for "not an executable"; neither that nor null is an icon.
    if (icon == reinterpret_cast<HICON>(1))
        return nullptr;
    return icon;
}

HICON LoadWindowIcon(bool large)
{
    std::string path = GetProgramPath();
    HICON big = nullptr;
    HICON small = nullptr;
    UINT count = ExtractIconExA(path.c_str(), -kWindowIconGroup, &big, &small, 1);
    if (count == 0 || (large ? big : small) == nullptr) {
        if (big) DestroyIcon(big);
        if (small) DestroyIcon(small);
        throw XVuk("Can't load icon from %s", path.c_str());
    }
    // Only one of the pair is handed out; the other would otherwise leak.
    if (large) {
        if (small) DestroyIcon(small);
        return big;
    }
    if (big) DestroyIcon(big);
    return small;
}
