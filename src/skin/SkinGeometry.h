// The skinned window's places at one DPI: the layout of SkinLayout (given at
// 96 DPI) scaled as a whole, so that the window at 150 % is the window at
// 100 % half as large again. At 96 DPI every place is the layout's own.
#pragma once

#include "framework/Dpi.h"
#include "skin/SkinLayout.h"

#include <windows.h>

class CSkinGeometry {
public:
    explicit CSkinGeometry(unsigned dpi = Dpi::kStandard) : m_nDpi(dpi) {}

    unsigned GetDpi() const { return m_nDpi; }
    int Scale(int length) const { return Dpi::Scale(length, m_nDpi); }
    RECT Scale(const RECT& rect) const { return Dpi::Scale(rect, m_nDpi); }

    int CornerEllipse() const { return Scale(SkinLayout::kCornerEllipse); }
    // The logo sits left in the band above the panel, centred in its height.
    POINT LogoOrigin(int logoHeight) const;
    RECT Panel() const { return Scale(SkinLayout::kPanel); }
    // The title's text inside a title bar of that size at the panel's top-left corner.
    RECT TitleText(int titleBarWidth, int titleBarHeight) const;
    // Row r of labels or values, under a title bar of that height, in a font
    // whose lines are lineHeight high: top = panel top + T + L + 3rL/2.
    RECT LabelRow(int row, int titleBarHeight, int lineHeight) const;
    RECT ValueRow(int row, int titleBarHeight, int lineHeight) const;
    // The rows' font height: 8 pixels (Japanese: 14) at 96 DPI.
    int FontHeight(bool japanese) const { return Scale(japanese ? 14 : 8); }

    RECT Button(int index) const;
    int ButtonStripColumn(int index) const { return Scale(SkinLayout::kButtons[index].stripColumn); }

    // Segment i of a bar: every segment as wide as the layout's scaled, each
    // starting where the layout's starts scaled.
    RECT Segment(int bar, int segment) const;
    RECT Light() const;
    // The top-left corner of light image n in the lights bitmap at this DPI.
    POINT LightSource(int image) const;
    // The rectangle that holds both bars and the light: what a poll redraws.
    RECT ActivityArea() const;

private:
    unsigned m_nDpi;
};
