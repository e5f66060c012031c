#include "pages/ActivityMeter.h"

#include "framework/Handles.h"
#include "pages/MeterDrawing.h"

bool CActivityMeter::Create(HWND placeholder)
{
    m_nUpstreamLevel = 0;
    m_bPainted = false;
    m_nDownstreamLevel = 0;
    return CreateOver(placeholder);
}

void CActivityMeter::SetLevels(int32_t upstreamLevel, int32_t downstreamLevel)
{
    // The same lit cells are on the screen already: nothing to draw.
    const bool same = m_bPainted && MeterLitCells(upstreamLevel) == MeterLitCells(m_nUpstreamLevel) &&
                      MeterLitCells(downstreamLevel) == MeterLitCells(m_nDownstreamLevel);
    m_nUpstreamLevel = upstreamLevel;
    m_nDownstreamLevel = downstreamLevel;
    if (!same)
        DrawNow();
}

void CActivityMeter::Paint(HDC target, bool print)
{
    if (!print) {
        Draw(target);
        return;
    }
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    PaintActivityMeter(target, client, m_nUpstreamLevel, m_nDownstreamLevel);
}

void CActivityMeter::Draw(HDC target)
{
    m_bPainted = true;
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    // Composed off screen and copied in one go, so no half-drawn state
    // shows; the picture is made once and kept for the next time.
    if (!m_picture) {
        m_picture = std::make_unique<MemoryCanvas>(
            target, MemoryCanvas::ColorBitmap(target, client.right, client.bottom));
        if (!m_picture->IsReady()) {
            m_picture.reset();
            PaintActivityMeter(target, client, m_nUpstreamLevel, m_nDownstreamLevel);
            return;
        }
    }
    PaintActivityMeter(m_picture->Dc(), client, m_nUpstreamLevel, m_nDownstreamLevel);
    BitBlt(target, 0, 0, client.right, client.bottom, m_picture->Dc(), 0, 0, SRCCOPY);
}
