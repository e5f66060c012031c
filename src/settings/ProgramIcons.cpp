#include "settings/ProgramIcons.h"

#include "settings/ProgramPaths.h"
#include "settings/XVuk.h"

#include "settings/SystemFunction.h"

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

HICON LoadProgramIcon(int id, int size)
{
    // The common controls reduce from the next larger image; LoadImage, where
    // they cannot (before version 6), takes the nearest one.
    using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown =
        SystemFunction<LoadIconWithScaleDownFunction>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    const HINSTANCE program = GetModuleHandleW(nullptr);
    if (!scaleDown || FAILED(scaleDown(program, MAKEINTRESOURCEW(id), size, size, &icon)))
        icon = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    // A group without an image near that size still has a picture to show.
    return icon ? icon : LoadProgramIcon(id);
}

HICON LoadWindowIconOfSize(int size)
{
    if (HICON icon = LoadProgramIcon(kWindowIconGroup, size))
        return icon;
    throw XVuk("Can't load icon from %s", GetProgramPath().c_str());
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
