#include "skin/ActivityBars.h"

#include "dib/Dib.h"
#include "driver/Channel.h"
#include "skin/SkinDrawRecorder.h"
#include "skin/SkinLayout.h"
#include "status/ActivityLevel.h"

using namespace SkinLayout;

int32_t CActivityBars::s_nBlinkCounter = 0;

namespace {

struct ColourPair {
    COLORREF unlit;
    COLORREF lit;
};
const ColourPair kColours[3] = {
    {PALETTERGB(0, 64, 0), PALETTERGB(0, 128, 0)},
    {PALETTERGB(64, 64, 0), PALETTERGB(128, 128, 0)},
    {PALETTERGB(64, 0, 0), PALETTERGB(128, 0, 0)},
};

} // namespace

CActivityBars::CActivityBars()
{
    for (int i = 0; i < 3; ++i) {
        m_colours[i].unlit.reset(CreateSolidBrush(kColours[i].unlit));
        m_colours[i].lit.reset(CreateSolidBrush(kColours[i].lit));
    }
}

void CActivityBars::Update(const LinePoll& poll)
{
    if (!poll.stateReadable) {
        m_nUpstreamLevel = m_nDownstreamLevel = 0;
        m_nLightImage = kLightUnreadable;
        return;
    }
    if (poll.state == 2) {
        uint32_t upstreamCells = getUpstreamCellCount();
        uint32_t downstreamCells = getDownstreamCellCount();
        uint32_t upstreamDifference = upstreamCells - m_nUpstreamPrevious; // modulo 2^32: one wrap counts right
        uint32_t downstreamDifference = downstreamCells - m_nDownstreamPrevious;
        m_nUpstreamPrevious = upstreamCells;
        m_nDownstreamPrevious = downstreamCells;
        m_nUpstreamLevel = SkinActivityLoad(upstreamDifference, poll.upstreamRate);
        m_nDownstreamLevel = SkinActivityLoad(downstreamDifference, poll.downstreamRate);
        m_nLightImage = kLightConnected;
    } else if (poll.state == 1) {
        m_nUpstreamLevel = m_nDownstreamLevel = 0;
        m_nLightImage = s_nBlinkCounter % 2 != 0 ? kLightConnected : kLightDown;
        ++s_nBlinkCounter;
    } else {
        m_nUpstreamLevel = m_nDownstreamLevel = 0;
        m_nLightImage = kLightDown;
    }
}

int CActivityBars::PictureKey() const
{
    auto litSegments = [](int32_t level) { return level < 0 ? 0 : level >= 100 ? 10 : level / 10; };
    return (litSegments(m_nUpstreamLevel) * 11 + litSegments(m_nDownstreamLevel)) * 4 + (m_nLightImage + 1);
}

void CActivityBars::Draw(HDC dc, const CDib& lights, ISkinDrawRecorder* recorder) const
{
    if (recorder)
        recorder->OnDrawActivity(m_nUpstreamLevel, m_nDownstreamLevel, m_nLightImage);
    DrawBar(dc, kDownstreamBar, m_nDownstreamLevel);
    DrawBar(dc, kUpstreamBar, m_nUpstreamLevel);
    DrawLight(dc, lights);
}

void CActivityBars::DrawBar(HDC dc, int bar, int level) const
{
    DrawSegments(dc, bar, level, 0, 3, m_colours[0].unlit.get(), m_colours[0].lit.get());
    DrawSegments(dc, bar, level, 4, 6, m_colours[1].unlit.get(), m_colours[1].lit.get());
    DrawSegments(dc, bar, level, 7, 9, m_colours[2].unlit.get(), m_colours[2].lit.get());
}

void CActivityBars::DrawSegments(HDC dc, int bar, int level, int first, int last, HBRUSH unlit, HBRUSH lit) const
{
    int litSegments = level / 10;
    for (int i = first; i <= last; ++i) {
        const RECT segment = m_geometry.Segment(bar, i);
        FillRect(dc, &segment, litSegments > i ? lit : unlit);
    }
}

void CActivityBars::SetGeometry(const CSkinGeometry& geometry)
{
    m_geometry = geometry;
    m_composedLights.Release();
}

void CActivityBars::ComposeLights(HDC dc, const CDib& lights)
{
    const RECT light = m_geometry.Light();
    const int side = light.right - light.left;
    if (!m_composedLights.Ensure(dc, side, 3 * side))
        return;
    HDC canvas = m_composedLights.Dc();
    for (int n = 0; n < 3; ++n) {
        BitBlt(canvas, 0, n * side, side, side, dc, light.left, light.top, SRCCOPY);
        const POINT source = m_geometry.LightSource(n);
        lights.Draw(canvas, 0, n * side, source.x, source.y, side, side);
    }
}

void CActivityBars::DrawLight(HDC dc, const CDib& lights) const
{
    if (m_nLightImage == kLightNone)
        return;
    const RECT light = m_geometry.Light();
    const int side = light.right - light.left;
    if (m_composedLights) {
        BitBlt(dc, light.left, light.top, side, side, m_composedLights.Dc(), 0, m_nLightImage * side, SRCCOPY);
        return;
    }
    const POINT source = m_geometry.LightSource(m_nLightImage);
    lights.Draw(dc, light.left, light.top, source.x, source.y, side, side);
}
