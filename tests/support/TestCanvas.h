// Drawing targets for the Windows tests: a memory device context holding a
// top-down DIB section whose pixels the test reads directly (needs no
// display), a copy of what a window shows, and the test programs' icons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

class TestCanvas {
public:
    // 32 bits: one 0x00RRGGBB word a pixel; 16 bits: 5-6-5.
    TestCanvas(int width, int height, int bitsPerPixel = 32)
        : m_width(width), m_height(height), m_bitsPerPixel(bitsPerPixel)
    {
        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } info = {};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = WORD(bitsPerPixel);
        info.header.biCompression = bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~TestCanvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    bool IsReady() const { return m_bits != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(COLORREF color)
    {
        GdiFlush();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, color);
    }

    void Set(int x, int y, COLORREF color)
    {
        GdiFlush();
        if (m_bitsPerPixel == 32) {
            Row32(y)[x] = uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 | GetBValue(color);
        } else {
            Row16(y)[x] = uint16_t((GetRValue(color) >> 3) << 11 | (GetGValue(color) >> 2) << 5 | GetBValue(color) >> 3);
        }
    }

    // The pixel as red, green, blue (5-6-5 pixels widened the way GDI does).
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        if (m_bitsPerPixel == 32) {
            const uint32_t v = Row32(y)[x];
            return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        }
        const uint16_t v = Row16(y)[x];
        const int r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
        return RGB(r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2);
    }

    static std::string Text(COLORREF c)
    {
        char text[32];
        snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
        return text;
    }

private:
    size_t Stride() const { return (size_t(m_width) * m_bitsPerPixel + 31) / 32 * 4; }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(m_bits) + size_t(y) * Stride()); }
    uint16_t* Row16(int y) const { return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(m_bits) + size_t(y) * Stride()); }

    int m_width;
    int m_height;
    int m_bitsPerPixel;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

// Folder of the test data: the repository's tests/data, reached through
// Wine's Z: drive (or MODAVI_TESTDATA when set).
inline std::string TestDataDir()
{
    char fromEnvironment[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("MODAVI_TESTDATA", fromEnvironment, sizeof fromEnvironment);
    if (n > 0 && n < sizeof fromEnvironment)
        return fromEnvironment;
    std::string source = __FILE__; // .../tests/support/TestCanvas.h
    const size_t at = source.rfind("/tests/");
    std::string dir = (at == std::string::npos ? std::string(".") : source.substr(0, at)) + "/tests/data";
    if (!dir.empty() && dir[0] == '/')
        dir = "Z:" + dir;
    return dir;
}

// What a window shows on the screen, in client coordinates.
inline std::unique_ptr<TestCanvas> CaptureClient(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    auto canvas = std::make_unique<TestCanvas>(client.right, client.bottom);
    canvas->Fill(RGB(1, 2, 3));
    HDC dc = GetDC(window);
    BitBlt(canvas->Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas;
}

// The test programs' icons are plain colours whose red is (id - 1000) * 20:
// the id an icon was loaded from, or 0.
inline int TestIconId(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    int id = 0;
    BITMAP size = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof size, &size)) {
        TestCanvas canvas(size.bmWidth, size.bmHeight);
        HDC source = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(source, info.hbmColor);
        BitBlt(canvas.Dc(), 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
        id = 1000 + GetRValue(canvas.At(size.bmWidth / 2, size.bmHeight / 2)) / 20;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return id;
}
