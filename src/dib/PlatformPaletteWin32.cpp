#include "dib/PlatformPalette.h"

#include <cstddef>
#include <vector>

namespace {
int g_livePalettes = 0;
}

PaletteHandle CreatePlatformPalette(const std::vector<PaletteEntry>& entries)
{
    if (entries.empty() || entries.size() > 0xFFFF)
        return nullptr;
    // LOGPALETTE ends in a one-entry array: room for the rest follows it.
    std::vector<unsigned char> record(offsetof(LOGPALETTE, palPalEntry) + entries.size() * sizeof(PALETTEENTRY));
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(record.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(entries.size());
    PALETTEENTRY* out = logical->palPalEntry;
    for (size_t i = 0; i < entries.size(); ++i)
        out[i] = PALETTEENTRY{entries[i].red, entries[i].green, entries[i].blue, entries[i].flags};
    HPALETTE palette = CreatePalette(logical);
    if (palette != nullptr)
        ++g_livePalettes;
    return palette;
}

void DeletePlatformPalette(PaletteHandle handle)
{
    if (handle != nullptr && DeleteObject(handle))
        --g_livePalettes;
}

int CountLivePlatformPalettes()
{
    return g_livePalettes;
}
