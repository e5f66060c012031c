#include "dib/Dib.h"

#include "dib/FileBytes.h"
#include "dib/HlsColor.h"
#include "dib/Palette.h"
#include "settings/XVuk.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

CDib::CDib(bool transparent) : m_bTransparent(transparent)
{
}

CDib::~CDib()
{
    Free();
}

void CDib::LoadFromFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, bytes)) {
    case FileReadResult::Ok:
        break;
    case FileReadResult::CantOpen:
        throw XVuk("Can't open bitmap %s", path.c_str());
    case FileReadResult::CantGetInfo:
        throw XVuk("Can't get info about bitmap %s", path.c_str());
    case FileReadResult::OutOfMemory:
        throw XVuk("Out of memory");
    case FileReadResult::ShortRead:
        throw XVuk("Can't read bitmap %s", path.c_str());
    }
    LoadFromFileImage(bytes.data(), bytes.size());
}

void CDib::LoadFromFileImage(const void* image, size_t available)
{
    if (!DibImage::HasFileType(image, available))
        throw XVuk("Bitmap is wrong format");
    // From here on a refusal leaves the object empty, as a refused packed image does.
    Free();
    const uint8_t* packed = nullptr;
    size_t length = 0;
    DibImage::LocatePackedInFile(image, available, packed, length);
    LoadPackedBytes(packed, length);
}

void CDib::LoadFromFileImage(const void* image)
{
    if (!DibImage::HasFileType(image, 2))
        throw XVuk("Bitmap is wrong format");
    const uint8_t* bytes = static_cast<const uint8_t*>(image);
    const uint32_t fileSize =
        uint32_t(bytes[2]) | uint32_t(bytes[3]) << 8 | uint32_t(bytes[4]) << 16 | uint32_t(bytes[5]) << 24;
    LoadFromFileImage(image, fileSize);
}

void CDib::LoadPacked(const void* packed, uint32_t length)
{
    LoadPackedBytes(packed, length);
}

void CDib::LoadPackedBytes(const void* packed, size_t length)
{
    // Whatever was held before is gone, whether or not this load succeeds.
    Free();
    try {
        DibImage image = DibImage::FromPacked(packed, length);
        if (m_bRecolor)
            ColorizeTable(image.ColorTable(), image.ColorCount(), m_nHue, m_nSat);
        if (image.BitsPerPixel() <= 8)
            CreatePaletteFromColorTable(image);
        m_nWidth = image.Width();
        m_nHeight = image.Height();
        m_image.emplace(std::move(image));
    } catch (const std::bad_alloc&) {
        Free();
        throw XVuk("Out of memory");
    }
    m_bLoaded = true;
}

void CDib::CreatePaletteFromColorTable(const DibImage& image)
{
    std::vector<PaletteEntry> entries(image.ColorCount());
    for (uint32_t i = 0; i < image.ColorCount(); ++i) {
        const RgbColor color = image.TableColor(i);
        entries[i] = PaletteEntry{color.red, color.green, color.blue, 0};
    }
    m_bBorrowedPalette = false;
    m_pPalette = nullptr;
    m_ownedPalette.reset();
    m_ownedPalette = std::make_unique<CPalette>(entries); // raises when the platform refuses it
    m_pPalette = m_ownedPalette.get();
}

void CDib::SetPalette(CPalette* palette)
{
    m_ownedPalette.reset();
    m_pPalette = palette;
    m_bBorrowedPalette = true;
}

void CDib::Free()
{
    m_image.reset();
    if (!m_bBorrowedPalette) {
        m_ownedPalette.reset();
        m_pPalette = nullptr;
    }
    m_nWidth = 0;
    m_nHeight = 0;
    m_bLoaded = false;
}

void CDib::Swap(CDib& other) noexcept
{
    std::swap(m_bTransparent, other.m_bTransparent);
    std::swap(m_bLoaded, other.m_bLoaded);
    std::swap(m_bRecolor, other.m_bRecolor);
    std::swap(m_nHue, other.m_nHue);
    std::swap(m_nSat, other.m_nSat);
    std::swap(m_nWidth, other.m_nWidth);
    std::swap(m_nHeight, other.m_nHeight);
    // An owned palette goes with its pointer; a borrowed pointer with its flag.
    std::swap(m_pPalette, other.m_pPalette);
    std::swap(m_bBorrowedPalette, other.m_bBorrowedPalette);
    m_image.swap(other.m_image);
    m_ownedPalette.swap(other.m_ownedPalette);
}
