// Scoped owners for what Win32 hands out. Each type releases exactly what it
// created or selected, on every path, exceptions included:
//   Unique*       own a handle and close, delete or destroy it;
//   ClientDC      GetDC / ReleaseDC;  PaintDC  BeginPaint / EndPaint;
//   MemoryDC      CreateCompatibleDC / DeleteDC;
//   MemoryCanvas  a memory DC with an owned bitmap selected for its lifetime;
//   SelectObjectScope / SelectPaletteScope  put back what was selected before.
// Header only and free of window code: the drawing code uses it too.
// Members that merely borrow a handle say so where they are declared.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

template <class H, class Deleter>
class UniqueHandleT {
public:
    UniqueHandleT() = default;
    explicit UniqueHandleT(H handle) : m_handle(handle) {}
    ~UniqueHandleT() { reset(); }
    UniqueHandleT(UniqueHandleT&& other) noexcept : m_handle(other.release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;

    H get() const { return m_handle; }
    explicit operator bool() const { return m_handle != H(); }
    H release() { return std::exchange(m_handle, H()); }
    void reset(H handle = H())
    {
        H old = std::exchange(m_handle, handle);
        if (old != H())
            Deleter()(old);
    }

private:
    H m_handle = H();
};

struct GdiObjectDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct MenuDeleter { void operator()(HMENU h) const { DestroyMenu(h); } };
struct ModuleDeleter { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct KernelHandleDeleter {
    void operator()(HANDLE h) const { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};
struct MemoryDCDeleter { void operator()(HDC h) const { DeleteDC(h); } };

using UniqueBitmap = UniqueHandleT<HBITMAP, GdiObjectDeleter>;
using UniqueBrush = UniqueHandleT<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandleT<HPEN, GdiObjectDeleter>;
using UniqueFont = UniqueHandleT<HFONT, GdiObjectDeleter>;
using UniqueRegion = UniqueHandleT<HRGN, GdiObjectDeleter>;
using UniquePaletteHandle = UniqueHandleT<HPALETTE, GdiObjectDeleter>;
using UniqueIcon = UniqueHandleT<HICON, IconDeleter>;
using UniqueMenu = UniqueHandleT<HMENU, MenuDeleter>;
using UniqueModule = UniqueHandleT<HMODULE, ModuleDeleter>;
using UniqueHandle = UniqueHandleT<HANDLE, KernelHandleDeleter>;

// A memory device context compatible with another one (or the screen).
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    HDC get() const { return m_dc.get(); }
    explicit operator bool() const { return bool(m_dc); }

private:
    UniqueHandleT<HDC, MemoryDCDeleter> m_dc;
};

// The client-area device context of a window.
class ClientDC {
public:
    explicit ClientDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~ClientDC() { if (m_dc) ReleaseDC(m_window, m_dc); }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// The device context of one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~PaintDC() { EndPaint(m_window, &m_paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return m_dc; }
    const PAINTSTRUCT& paint() const { return m_paint; }

private:
    HWND m_window;
    HDC m_dc;
    PAINTSTRUCT m_paint;
};

// Selects an object into a DC and puts the previous one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectObjectScope() { if (selected()) SelectObject(m_dc, m_old); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    bool selected() const { return m_old != nullptr && m_old != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Selects a palette into a DC (foreground or background), realised when
// asked, and puts the old one back.
class SelectPaletteScope {
public:
    SelectPaletteScope(HDC dc, HPALETTE palette, bool background = false, bool realize = false)
        : m_dc(dc), m_old(palette ? SelectPalette(dc, palette, background) : nullptr)
    {
        if (m_old && realize)
            RealizePalette(dc);
    }
    ~SelectPaletteScope() { if (m_old) SelectPalette(m_dc, m_old, TRUE); }
    SelectPaletteScope(const SelectPaletteScope&) = delete;
    SelectPaletteScope& operator=(const SelectPaletteScope&) = delete;

private:
    HDC m_dc;
    HPALETTE m_old;
};

// A memory device context compatible with `reference`, holding `bitmap`
// (owned) for its lifetime. On destruction the context's own bitmap is
// selected back, then the context and the bitmap are deleted.
class MemoryCanvas {
public:
    MemoryCanvas(HDC reference, HBITMAP bitmap) : m_bitmap(bitmap), m_dc(reference)
    {
        if (m_bitmap && m_dc)
            m_select.emplace(m_dc.get(), m_bitmap.get());
    }
    bool IsReady() const { return m_select && m_select->selected(); }
    HDC Dc() const { return m_dc.get(); }

    // A bitmap of the reference's colour format, or a monochrome one.
    static HBITMAP ColorBitmap(HDC reference, int width, int height)
    {
        return CreateCompatibleBitmap(reference, width, height);
    }
    static HBITMAP MonochromeBitmap(int width, int height) { return CreateBitmap(width, height, 1, 1, nullptr); }

private:
    // Destroyed in reverse order: the selection is undone first, the bitmap deleted last.
    UniqueBitmap m_bitmap;
    MemoryDC m_dc;
    std::optional<SelectObjectScope> m_select;
};
