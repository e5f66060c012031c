// A drawing surface kept off screen: a memory device context with a bitmap
// compatible with some target selected into it for as long as the canvas
// lives. Made once and reused, so that repeated drawing allocates nothing.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <memory>

class COffscreenCanvas {
public:
    COffscreenCanvas() = default;
    ~COffscreenCanvas();
    COffscreenCanvas(const COffscreenCanvas&) = delete;
    COffscreenCanvas& operator=(const COffscreenCanvas&) = delete;

    // Makes the canvas width x height, compatible with `reference`, unless it
    // is that size already. True when it is ready (then its pixels are
    // undefined if it was made now: see WasCreated).
    bool Ensure(HDC reference, int width, int height);
    // True once after Ensure made a new bitmap.
    bool WasCreated();
    void Release();

    HDC Dc() const { return m_canvas ? m_canvas->Dc() : nullptr; }
    explicit operator bool() const { return m_canvas != nullptr; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

private:
    std::unique_ptr<MemoryCanvas> m_canvas;
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bCreated = false;
};
