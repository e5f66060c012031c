// Palettes without a platform: a counted token per palette, so that the
// portable tests can see palettes being made and released.
#include "dib/PlatformPalette.h"

#include <cstddef>

struct PlatformPaletteStandIn {
    size_t entries;
};

namespace {
int g_livePalettes = 0;
}

PaletteHandle CreatePlatformPalette(const std::vector<PaletteEntry>& entries)
{
    // A palette holds between 1 and 65535 entries (its count is 16-bit).
    if (entries.empty() || entries.size() > 0xFFFF)
        return nullptr;
    ++g_livePalettes;
    return new PlatformPaletteStandIn{entries.size()};
}

void DeletePlatformPalette(PaletteHandle handle)
{
    if (handle == nullptr)
        return;
    delete handle;
    --g_livePalettes;
}

int CountLivePlatformPalettes()
{
    return g_livePalettes;
}
