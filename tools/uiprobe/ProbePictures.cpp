#include "ProbePictures.h"

#include "framework/Handles.h"

#include <cstdio>
#include <vector>

namespace {

bool WriteBmp(const wchar_t* path, HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(size_t(stride) * size_t(height));
    if (!GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                   DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    FILE* out = _wfopen(path, L"wb");
    if (!out)
        return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
              fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return fclose(out) == 0 && ok;
}

} // namespace

int CaptureWindow(HWND window, const wchar_t* path)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return 1;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return 1;
    ClientDC screen(nullptr);
    MemoryDC memory(screen.get());
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    {
        SelectObjectScope select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT);
    }
    return WriteBmp(path, memory.get(), bitmap.get(), width, height) ? 0 : 1;
}

int DrawRowText(const wchar_t* path, int width, int height, const std::wstring& face, int fontHeight,
                const std::wstring& colour, bool right, const std::wstring& text)
{
    int red = 0, green = 0, blue = 0;
    if (width <= 0 || height <= 0 || swscanf(colour.c_str(), L"%d,%d,%d", &red, &green, &blue) != 3)
        return 2;
    UniqueFont font(CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                face.c_str()));
    ClientDC screen(nullptr);
    MemoryDC memory(screen.get());
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    TEXTMETRICW metrics = {};
    {
        SelectObjectScope selectBitmap(memory.get(), bitmap.get());
        SelectObjectScope selectFont(memory.get(), font.get());
        RECT box = {0, 0, width, height};
        FillRect(memory.get(), &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), RGB(red, green, blue));
        GetTextMetricsW(memory.get(), &metrics);
        DrawTextW(memory.get(), text.c_str(), int(text.size()), &box,
                  right ? DT_RIGHT : DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    bool ok = WriteBmp(path, memory.get(), bitmap.get(), width, height);
    printf("%ld\n", metrics.tmHeight);
    return ok ? 0 : 1;
}
