// Pictures the probe writes as 24-bit BMP files: a window's pixels on
// screen, and a row of text drawn the way the skinned window draws it.
#pragma once

#include <windows.h>

#include <string>

// 0 when the file was written, 1 otherwise.
int CaptureWindow(HWND window, const wchar_t* path);

// TEXT in font FACE (empty: the system's) at fontHeight, on black, in a
// width x height box, left-aligned (a value) or right-aligned (a label).
// Prints the font's line height. 2 on bad arguments.
int DrawRowText(const wchar_t* path, int width, int height, const std::wstring& face, int fontHeight,
                const std::wstring& colour, bool right, const std::wstring& text);
