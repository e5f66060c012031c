#include "pages/ActivityMeter.h"

#include "framework/Handles.h"
#include "framework/MessageTable.h"
#include "pages/MeterDrawing.h"
#include "pages/PlaceholderChild.h"

bool CActivityMeter::Create(HWND placeholder)
{
    m_nUpstreamLevel = 0;
    m_bPainted = false;
    m_nDownstreamLevel = 0;
    return CreateOverPlaceholder(*this, placeholder);
}

void CActivityMeter::SetLevels(int32_t upstreamLevel, int32_t downstreamLevel)
{
    // The same lit cells are on the screen already: nothing to draw.
    const bool same = m_bPainted && MeterLitCells(upstreamLevel) == MeterLitCells(m_nUpstreamLevel) &&
                      MeterLitCells(downstreamLevel) == MeterLitCells(m_nDownstreamLevel);
    m_nUpstreamLevel = upstreamLevel;
    m_nDownstreamLevel = downstreamLevel;
    // Drawn at once, without a paint cycle; a hidden meter is painted when it is shown.
    if (!same && IsWindow() && IsWindowVisible(m_hWnd)) {
        ClientDC dc(m_hWnd);
        if (dc.get())
            Draw(dc.get());
    }
}

bool CActivityMeter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    static const MessageEntry<CActivityMeter> table[] = {
        {WM_PAINT, kAnyCode, kAnyId, &CActivityMeter::OnPaint},
        {WM_PRINTCLIENT, kAnyCode, kAnyId, &CActivityMeter::OnPrintClient},
        {WM_ERASEBKGND, kAnyCode, kAnyId, &CActivityMeter::OnEraseBackground},
    };
    return DispatchMessageTable(this, table, message, wParam, lParam, result) ||
           CWnd::OnMessage(message, wParam, lParam, result);
}

LRESULT CActivityMeter::OnPaint(WPARAM, LPARAM)
{
    PaintDC paint(m_hWnd);
    Draw(paint.get());
    return 0;
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

LRESULT CActivityMeter::OnPrintClient(WPARAM wParam, LPARAM)
{
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    PaintActivityMeter(reinterpret_cast<HDC>(wParam), client, m_nUpstreamLevel, m_nDownstreamLevel);
    return 0;
}

LRESULT CActivityMeter::OnEraseBackground(WPARAM, LPARAM)
{
    return 1; // painting covers the whole client area
}
