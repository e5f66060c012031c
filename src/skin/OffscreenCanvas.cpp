#include "skin/OffscreenCanvas.h"

COffscreenCanvas::~COffscreenCanvas()
{
    Release();
}

void COffscreenCanvas::Release()
{
    if (m_dc && m_previous)
        SelectObject(m_dc->get(), m_previous);
    m_previous = nullptr;
    m_dc.reset();
    m_bitmap.reset();
    m_nWidth = m_nHeight = 0;
}

bool COffscreenCanvas::Ensure(HDC reference, int width, int height)
{
    if (m_bitmap && m_dc && width == m_nWidth && height == m_nHeight)
        return true;
    Release();
    if (width <= 0 || height <= 0)
        return false;
    auto dc = std::make_unique<MemoryDC>(reference);
    UniqueBitmap bitmap(CreateCompatibleBitmap(reference, width, height));
    if (!*dc || !bitmap)
        return false;
    HGDIOBJ previous = SelectObject(dc->get(), bitmap.get());
    if (previous == nullptr || previous == HGDI_ERROR)
        return false;
    m_dc = std::move(dc);
    m_bitmap = std::move(bitmap);
    m_previous = previous;
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
