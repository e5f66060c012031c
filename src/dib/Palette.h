// A logical palette: the colours it was made from and the platform palette
// object made from them, which it owns and deletes (RAII).
#pragma once

#include "dib/PaletteEntry.h"
#include "dib/PlatformPalette.h"

#include <vector>

class CPalette {
public:
    // Creates the platform palette (version 0x300, one entry per colour,
    // flags as given). Raises XVuk "Can't create bitmap palette" when the
    // platform refuses it.
    explicit CPalette(const std::vector<PaletteEntry>& entries);
    ~CPalette();

    CPalette(const CPalette&) = delete;
    CPalette& operator=(const CPalette&) = delete;

    PaletteHandle GetHandle() const { return m_handle; }
    const std::vector<PaletteEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<PaletteEntry> m_entries;
    PaletteHandle m_handle;
};
