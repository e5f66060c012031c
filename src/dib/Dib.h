// CDib: the program's in-memory image. It holds a checked private copy of an
// uncompressed bitmap (DibImage), can colourise the colour table while
// loading, and owns or borrows the palette it is drawn with.
//
// Ownership: the object owns its image and, while m_bBorrowedPalette is
// false, the palette m_pPalette points to. A palette given with SetPalette
// belongs to the caller, which must keep it alive as long as any image
// borrows it.
//
// Failures raise XVuk. A load refused before the image itself is looked at
// (file or resource not available, short read, type not "BM") leaves the
// object as it was; any later refusal leaves it empty, without an owned
// palette.
#pragma once

#include "dib/DibImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

class CPalette;

class CDib {
public:
    explicit CDib(bool transparent);
    ~CDib();

    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // A .bmp file. Raises "Can't open bitmap %s", "Can't get info about
    // bitmap %s", "Out of memory", "Can't read bitmap %s", or what
    // LoadFromFileImage raises.
    void LoadFromFile(const std::string& path);
#ifdef _WIN32
    // A bitmap resource of the program file itself (never the language
    // module). Raises "Can't find bmp resource #%d", "Can't load bmp resource
    // #%d", "Can't lock bmp resource #%d", or what LoadPacked raises.
    void LoadFromResource(uint16_t id);
    // A whole .bmp file image carried by the program file as a raw data
    // resource. Raises the resource errors above, or what LoadFromFileImage
    // raises.
    void LoadFromFileResource(uint16_t id);
#endif
    // A whole .bmp file image of `available` bytes. Raises "Bitmap is wrong
    // format" when it does not start with "BM", "Bitmap is in wrong format"
    // when its file-size field claims more than `available`, or what
    // LoadPacked raises.
    void LoadFromFileImage(const void* image, size_t available);
    // A whole .bmp file image whose own file-size field gives its length:
    // only for images the program carries in its constant data.
    void LoadFromFileImage(const void* image);
    // A packed image (info header, colour table, pixel rows) of `length`
    // bytes. Raises "Out of memory", "Bitmap depth is unsupported", "Bitmap
    // is in wrong format", "Can't create bitmap palette".
    void LoadPacked(const void* packed, uint32_t length);

    // Draws with `palette`, which the caller owns; an owned palette is deleted.
    void SetPalette(CPalette* palette);
    // Releases the image and an owned palette; a borrowed one stays as it is.
    void Free();
    // Exchanges everything two pictures hold: images, flags and palettes.
    void Swap(CDib& other) noexcept;

#ifdef _WIN32
    // Draws the part (sx, sy, w, h) of the image, counted from its top-left
    // corner, at (x, y); 0 for w or h means the image's width or height. With
    // m_bTransparent set, every pixel whose device colour equals that of the
    // part's top-left pixel is left out. Draws nothing when not loaded.
    void Draw(HDC dc, int x, int y, int sx = 0, int sy = 0, int w = 0, int h = 0) const;
#endif

    // The image held; null when none is loaded.
    const DibImage* GetImage() const { return m_image ? &*m_image : nullptr; }
    // The packed copy (m_pData) and its first pixel row (m_pBits); null when none.
    const uint8_t* GetData() const { return m_image ? m_image->Data() : nullptr; }
    const uint8_t* GetBits() const { return m_image ? m_image->Bits() : nullptr; }
    // 0 when none is loaded.
    int GetBitsPerPixel() const { return m_image ? m_image->BitsPerPixel() : 0; }
    uint32_t GetColorCount() const { return m_image ? m_image->ColorCount() : 0; }
    // ColorCount() entries of blue, green, red, reserved; null when none.
    const uint8_t* GetColorTable() const { return m_image ? m_image->ColorTable() : nullptr; }

    bool m_bTransparent;      // draw with the key colour left out
    bool m_bLoaded = false;   // an image is held
    bool m_bRecolor = false;  // colourise the colour table at the next load
    uint8_t m_nHue = 0;       // 0..252, used while m_bRecolor is set
    uint8_t m_nSat = 0;       // 0..252 (larger values count as 252)
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;    // rows are held bottom-up whatever the source had
    CPalette* m_pPalette = nullptr;  // drawing palette; null when none
    bool m_bBorrowedPalette = false; // m_pPalette belongs to someone else

private:
    void LoadPackedBytes(const void* packed, size_t length);
    void CreatePaletteFromColorTable(const DibImage& image);
#ifdef _WIN32
    void DrawPlain(HDC dc, int x, int y, int sx, int sy, int w, int h) const;
    void DrawTransparent(HDC dc, int x, int y, int sx, int sy, int w, int h) const;
#endif

    std::optional<DibImage> m_image;
    std::unique_ptr<CPalette> m_ownedPalette; // what m_pPalette points to unless borrowed
};
