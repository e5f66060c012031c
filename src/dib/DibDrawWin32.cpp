#include "dib/Dib.h"

#include "framework/Handles.h"
#include "dib/Palette.h"

#include <climits>
#include <cstdint>

namespace {

// Palette-relative colour: matched to the selected palette on palette devices.
constexpr COLORREF kPaletteRelative = 0x02000000;

} // namespace

void CDib::Draw(HDC dc, int x, int y, int sx, int sy, int w, int h) const
{
    if (!m_bLoaded || !m_image || dc == nullptr)
        return;
    if (w == 0)
        w = m_nWidth;
    if (h == 0)
        h = m_nHeight;
    if (w < 0 || h < 0)
        return;
    // Rows are held bottom-up: the part's first storage row is
    // height - (sy + h); arguments that leave the int range draw nothing.
    const int64_t firstRow = int64_t(m_nHeight) - (int64_t(sy) + h);
    if (firstRow < INT_MIN || firstRow > INT_MAX)
        return;
    if (m_bTransparent)
        DrawTransparent(dc, x, y, sx, sy, w, h);
    else
        DrawPlain(dc, x, y, sx, sy, w, h);
}

void CDib::DrawPlain(HDC dc, int x, int y, int sx, int sy, int w, int h) const
{
    // The whole image is passed (start row 0, all rows) with its own header
    // and colour table; GDI picks the part.
    SetDIBitsToDevice(dc, x, y, DWORD(w), DWORD(h), sx, m_nHeight - (sy + h), 0, UINT(m_nHeight), GetBits(),
                      reinterpret_cast<const BITMAPINFO*>(GetData()), DIB_RGB_COLORS);
}

void CDib::DrawTransparent(HDC dc, int x, int y, int sx, int sy, int w, int h) const
{
    // The image part, mapped to the target's colours.
    MemoryCanvas image(dc, MemoryCanvas::ColorBitmap(dc, w, h));
    if (!image.IsReady())
        return;
    // The image's palette stays selected until the masks are made: on a
    // palette display the palette-relative key is matched through it.
    SelectPaletteScope palette(image.Dc(), m_pPalette != nullptr ? m_pPalette->GetHandle() : nullptr, false, true);
    DrawPlain(image.Dc(), 0, 0, sx, sy, w, h);
    const COLORREF key = GetPixel(image.Dc(), 0, 0);
    if (key == CLR_INVALID)
        return;

    // What the target shows there now.
    MemoryCanvas background(dc, MemoryCanvas::ColorBitmap(dc, w, h));
    // Mask: key pixels 1 (white), the others 0; the inverse the other way round.
    MemoryCanvas mask(dc, MemoryCanvas::MonochromeBitmap(w, h));
    MemoryCanvas inverse(dc, MemoryCanvas::MonochromeBitmap(w, h));
    if (!background.IsReady() || !mask.IsReady() || !inverse.IsReady())
        return;
    BitBlt(background.Dc(), 0, 0, w, h, dc, x, y, SRCCOPY);

    const COLORREF oldBack = SetBkColor(image.Dc(), key | kPaletteRelative);
    BitBlt(mask.Dc(), 0, 0, w, h, image.Dc(), 0, 0, SRCCOPY);
    BitBlt(inverse.Dc(), 0, 0, w, h, image.Dc(), 0, 0, NOTSRCCOPY);
    SetBkColor(image.Dc(), oldBack);

    // Monochrome white and black become the memory contexts' default white
    // background and black text colours.
    BitBlt(background.Dc(), 0, 0, w, h, mask.Dc(), 0, 0, SRCAND);  // target kept where the key was
    BitBlt(image.Dc(), 0, 0, w, h, inverse.Dc(), 0, 0, SRCAND);    // key pixels turn black
    BitBlt(background.Dc(), 0, 0, w, h, image.Dc(), 0, 0, SRCPAINT); // composed
    BitBlt(dc, x, y, w, h, background.Dc(), 0, 0, SRCCOPY);
}
