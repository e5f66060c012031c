#include "dib/Dib.h"

#include "settings/XVuk.h"

void CDib::LoadFromResource(uint16_t id)
{
    // Always the program file: bitmaps are not part of the language modules.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (info == nullptr)
        throw XVuk("Can't find bmp resource #%d", int(id));
    HGLOBAL loaded = LoadResource(module, info);
    if (loaded == nullptr)
        throw XVuk("Can't load bmp resource #%d", int(id));
    const void* data = LockResource(loaded);
    if (data == nullptr)
        throw XVuk("Can't lock bmp resource #%d", int(id));
    // A bitmap resource is the packed image, without the file header.
    LoadPacked(data, SizeofResource(module, info));
}
