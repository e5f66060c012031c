#include "dib/Dib.h"

#include "settings/XVuk.h"

namespace {

// A resource of the program file itself (never the language module): its
// bytes and their count, for as long as the program runs.
const void* LockProgramResource(uint16_t id, LPCWSTR type, size_t& size)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (info == nullptr)
        throw XVuk("Can't find bmp resource #%d", int(id));
    HGLOBAL loaded = LoadResource(module, info);
    if (loaded == nullptr)
        throw XVuk("Can't load bmp resource #%d", int(id));
    const void* data = LockResource(loaded);
    if (data == nullptr)
        throw XVuk("Can't lock bmp resource #%d", int(id));
    size = SizeofResource(module, info);
    return data;
}

} // namespace

void CDib::LoadFromResource(uint16_t id)
{
    size_t size = 0;
    const void* data = LockProgramResource(id, MAKEINTRESOURCEW(2) /* RT_BITMAP */, size);
    // A bitmap resource is the packed image, without the file header.
    LoadPacked(data, uint32_t(size));
}

void CDib::LoadFromFileResource(uint16_t id)
{
    size_t size = 0;
    const void* data = LockProgramResource(id, MAKEINTRESOURCEW(10) /* RT_RCDATA */, size);
    LoadFromFileImage(data, size);
}
