// Drawing targets for the Windows tests: a memory device context holding a
// top-down 32-bit (or 8-bit) DIB section whose pixels the test reads directly (needs no
// display), a copy of what a window shows, and the test programs' icons.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TestCanvas {
public:
    // 32 bits per pixel, or 8 with the given colour table (a palette display's picture).
    TestCanvas(int width, int height, std::vector<RGBQUAD> table = {})
        : m_width(width), m_height(height), m_table(std::move(table))
    {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info = {};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = m_table.empty() ? 32 : 8;
        info.header.biClrUsed = DWORD(m_table.size());
        std::copy(m_table.begin(), m_table.end(), info.colors);
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    reinterpret_cast<void**>(&m_bits), nullptr, 0);
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
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(COLORREF color)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, color);
    }
    void Set(int x, int y, COLORREF color)
    {
        GdiFlush();
        if (!m_table.empty()) { // the colour's entry, which the table must hold
            auto entry = std::find_if(m_table.begin(), m_table.end(), [&](const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == color; });
            Bytes()[size_t(y) * Stride() + x] = uint8_t(entry - m_table.begin());
            return;
        }
        m_bits[size_t(y) * m_width + x] = uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 | GetBValue(color);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        if (!m_table.empty()) {
            const RGBQUAD& q = m_table.at(Bytes()[size_t(y) * Stride() + x]);
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        const uint32_t v = m_bits[size_t(y) * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    static std::string Text(COLORREF c)
    {
        char text[32];
        snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
        return text;
    }

private:
    uint8_t* Bytes() const { return reinterpret_cast<uint8_t*>(m_bits); }
    size_t Stride() const { return (size_t(m_width) + 3) & ~size_t(3); }

    int m_width;
    int m_height;
    std::vector<RGBQUAD> m_table;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
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
