// Scoped GDI handles for the drawing code: each restores what it selected
// and deletes what it created, so no early return leaks a DC or a bitmap.
#pragma once

#include <windows.h>

// A memory device context compatible with `reference`, holding `bitmap`
// (owned) for its lifetime. On destruction the context's own bitmap is
// selected back, then the context and the bitmap are deleted.
class MemoryCanvas {
public:
    MemoryCanvas(HDC reference, HBITMAP bitmap) : m_bitmap(bitmap)
    {
        if (m_bitmap == nullptr)
            return;
        m_dc = CreateCompatibleDC(reference);
        if (m_dc != nullptr)
            m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryCanvas()
    {
        if (m_dc != nullptr) {
            if (m_previous != nullptr && m_previous != HGDI_ERROR)
                SelectObject(m_dc, m_previous);
            DeleteDC(m_dc);
        }
        if (m_bitmap != nullptr)
            DeleteObject(m_bitmap);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    bool IsReady() const { return m_dc != nullptr && m_previous != nullptr && m_previous != HGDI_ERROR; }
    HDC Dc() const { return m_dc; }

    // A canvas of the target's colour format, or a monochrome one.
    static HBITMAP ColorBitmap(HDC reference, int width, int height)
    {
        return CreateCompatibleBitmap(reference, width, height);
    }
    static HBITMAP MonochromeBitmap(int width, int height) { return CreateBitmap(width, height, 1, 1, nullptr); }

private:
    HBITMAP m_bitmap;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// A palette selected into a device context (and realised) for a scope.
class ScopedPaletteSelection {
public:
    ScopedPaletteSelection(HDC dc, HPALETTE palette) : m_dc(dc)
    {
        if (palette == nullptr)
            return;
        m_previous = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~ScopedPaletteSelection()
    {
        if (m_previous != nullptr)
            SelectPalette(m_dc, m_previous, FALSE);
    }
    ScopedPaletteSelection(const ScopedPaletteSelection&) = delete;
    ScopedPaletteSelection& operator=(const ScopedPaletteSelection&) = delete;

private:
    HDC m_dc;
    HPALETTE m_previous = nullptr;
};
