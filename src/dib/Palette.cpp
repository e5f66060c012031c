#include "dib/Palette.h"

#include "settings/XVuk.h"

CPalette::CPalette(const std::vector<PaletteEntry>& entries)
    : m_entries(entries), m_handle(CreatePlatformPalette(entries))
{
    if (m_handle == nullptr)
        throw XVuk("Can't create bitmap palette");
}

CPalette::~CPalette()
{
    DeletePlatformPalette(m_handle);
}
