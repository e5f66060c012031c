#include "skin/OffscreenCanvas.h"

COffscreenCanvas::~COffscreenCanvas()
{
    Release();
}

void COffscreenCanvas::Release()
{
    m_canvas.reset();
    m_nWidth = m_nHeight = 0;
}

bool COffscreenCanvas::Ensure(HDC reference, int width, int height)
{
    if (m_canvas && width == m_nWidth && height == m_nHeight)
        return true;
    Release();
    if (width <= 0 || height <= 0)
        return false;
    auto canvas = std::make_unique<MemoryCanvas>(reference, CreateCompatibleBitmap(reference, width, height));
    if (!canvas->IsReady())
        return false;
    m_canvas = std::move(canvas);
    m_nWidth = width;
    m_nHeight = height;
    m_bCreated = true;
    return true;
}

bool COffscreenCanvas::WasCreated()
{
    bool created = m_bCreated;
    m_bCreated = false;
    return created;
}
