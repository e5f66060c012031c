#include "skin/SkinGeometry.h"

using namespace SkinLayout;

POINT CSkinGeometry::LogoOrigin(int logoHeight) const
{
    return {Scale(kLogoLeft), (Scale(kLogoBand) - logoHeight) / 2};
}

RECT CSkinGeometry::TitleText(int titleBarWidth, int titleBarHeight) const
{
    const RECT panel = Panel();
    return {panel.left + Scale(kTitleInset), panel.top, panel.left + titleBarWidth - Scale(kTitleInset),
            panel.top + titleBarHeight};
}

RECT CSkinGeometry::LabelRow(int row, int titleBarHeight, int lineHeight) const
{
    const RECT panel = Panel();
    const int top = panel.top + titleBarHeight + lineHeight + (3 * row * lineHeight) / 2;
    return {panel.left, top, Scale(kPanelCentre) - Scale(kColumnGap), top + lineHeight};
}

RECT CSkinGeometry::ValueRow(int row, int titleBarHeight, int lineHeight) const
{
    RECT rect = LabelRow(row, titleBarHeight, lineHeight);
    rect.left = Scale(kPanelCentre) + Scale(kColumnGap);
    rect.right = Panel().right;
    return rect;
}

RECT CSkinGeometry::Button(int index) const
{
    const ButtonPlace& place = kButtons[index];
    const int left = Scale(place.x), top = Scale(place.y), side = Scale(place.side);
    return {left, top, left + side, top + side};
}

RECT CSkinGeometry::Segment(int bar, int segment) const
{
    const BarPlace& place = kBars[bar];
    const int left = Scale(place.x + segment * (place.segmentWidth + place.gap));
    const int top = Scale(place.y);
    return {left, top, left + Scale(place.segmentWidth), top + Scale(place.segmentHeight)};
}

RECT CSkinGeometry::Light() const
{
    const int left = Scale(kLightX), top = Scale(kLightY), side = Scale(kLightSide);
    return {left, top, left + side, top + side};
}

POINT CSkinGeometry::LightSource(int image) const
{
    return {Scale(kLightSourceX), Scale(image * kLightSourceStep)};
}

RECT CSkinGeometry::ActivityArea() const
{
    const RECT light = Light();
    const RECT upperFirst = Segment(kUpstreamBar, 0);
    const RECT lowerLast = Segment(kDownstreamBar, kBars[kDownstreamBar].segments - 1);
    return {light.left, upperFirst.top, lowerLast.right, lowerLast.bottom};
}
