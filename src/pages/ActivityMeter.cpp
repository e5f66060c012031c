#include "pages/ActivityMeter.h"

#include "framework/Handles.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "status/ActivityLevel.h"

namespace {

bool SameCells(const MeterLevels& a, const MeterLevels& b)
{
    return MeterLitCells(a.upstream) == MeterLitCells(b.upstream) &&
           MeterLitCells(a.downstream) == MeterLitCells(b.downstream);
}

} // namespace

bool CActivityMeter::Create(HWND placeholder)
{
    m_levels = {};
    m_bPainted = false;
    m_name = LoadResString(IDS_GROUP_ACTIVITY);
    m_valuePattern = LoadResString(IDS_METER_VALUE);
    const bool created = CreateOver(placeholder);
    if (created)
        m_changes.Notify(m_hWnd, *this);
    return created;
}

AccessibleItem CActivityMeter::AccessibleSelf() const
{
    AccessibleItem item;
    item.role = ROLE_SYSTEM_PROGRESSBAR;
    item.name = m_name;
    // The upper bar shows what was received (downstream), the lower what was sent.
    item.value = ActivityWords(m_valuePattern, m_levels.downstream, m_levels.upstream);
    return item;
}

void CActivityMeter::SetLevels(int32_t upstreamLevel, int32_t downstreamLevel)
{
    m_levels = {upstreamLevel, downstreamLevel};
    // The same lit cells are on the screen already: nothing to draw, nothing to tell.
    if (!m_bPainted || !SameCells(m_levels, m_painted)) {
        DrawNow();
        if (IsWindow())
            m_changes.Notify(m_hWnd, *this);
    }
}

void CActivityMeter::Paint(HDC target, bool print)
{
    if (!print) {
        Draw(target, true);
        return;
    }
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    PaintActivityMeter(target, client, m_levels.upstream, m_levels.downstream, Dpi());
}

void CActivityMeter::OnDpiChanged()
{
    // Another size and other line widths: the picture is composed anew.
    m_picture.reset();
    m_bPainted = false;
}

void CActivityMeter::DrawChange(HDC own)
{
    Draw(own, false);
}

void CActivityMeter::Draw(HDC target, bool whole)
{
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    // Composed off screen and copied in one go, so no half-drawn state
    // shows. The picture is kept: a change of levels only refills the
    // cells that change, and a paint (an uncovering, a colour change)
    // draws it all anew.
    if (!m_picture) {
        m_picture = std::make_unique<MemoryCanvas>(
            target, MemoryCanvas::ColorBitmap(target, client.right, client.bottom));
        if (!m_picture->IsReady()) {
            m_picture.reset();
            m_bPainted = false;
            PaintActivityMeter(target, client, m_levels.upstream, m_levels.downstream, Dpi());
            return;
        }
        whole = true;
    }
    if (whole || !m_bPainted)
        PaintActivityMeter(m_picture->Dc(), client, m_levels.upstream, m_levels.downstream, Dpi());
    else
        RefillActivityMeter(m_picture->Dc(), client, m_painted, m_levels, Dpi());
    m_painted = m_levels;
    m_bPainted = true;
    BitBlt(target, 0, 0, client.right, client.bottom, m_picture->Dc(), 0, 0, SRCCOPY);
}
