#include "dib/Dib.h"
#include "dib/DibScaling.h"
#include "framework/Dpi.h"
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

namespace {

// The rule of LoadResourceForDpi for either kind of resource; `load` loads a
// resource id into a picture.
template <class Load>
void LoadArtForDpi(CDib& target, ArtResource art, unsigned dpi, Load load)
{
    if (dpi == Dpi::kStandard || dpi == 2 * Dpi::kStandard) {
        load(target, dpi == Dpi::kStandard ? art.standard : art.fine);
        return;
    }
    const bool fine = dpi > Dpi::kStandard;
    CDib source(target.m_bTransparent);
    source.m_bRecolor = target.m_bRecolor;
    source.m_nHue = target.m_nHue;
    source.m_nSat = target.m_nSat;
    load(source, fine ? art.fine : art.standard);
    const int width = fine ? source.m_nWidth / 2 : source.m_nWidth;
    const int height = fine ? source.m_nHeight / 2 : source.m_nHeight;
    LoadScaledCopy(target, source, Dpi::Scale(width, dpi), Dpi::Scale(height, dpi));
}

} // namespace

void LoadResourceForDpi(CDib& target, ArtResource art, unsigned dpi)
{
    LoadArtForDpi(target, art, dpi, [](CDib& picture, uint16_t id) { picture.LoadFromResource(id); });
}

void LoadFileResourceForDpi(CDib& target, ArtResource art, unsigned dpi)
{
    LoadArtForDpi(target, art, dpi, [](CDib& picture, uint16_t id) { picture.LoadFromFileResource(id); });
}
