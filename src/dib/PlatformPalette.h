// The seam between a palette and the platform's palette object: GDI's
// CreatePalette on Windows, a stand-in that only counts on other systems.
#pragma once

#include "dib/PaletteEntry.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>
using PaletteHandle = HPALETTE;
#else
struct PlatformPaletteStandIn;
using PaletteHandle = PlatformPaletteStandIn*;
#endif

// Null when the platform refuses the palette.
PaletteHandle CreatePlatformPalette(const std::vector<PaletteEntry>& entries);
void DeletePlatformPalette(PaletteHandle handle);
// Platform palettes made through this seam and not yet deleted.
int CountLivePlatformPalettes();
