// Where the skinned window puts things, in client pixels at 96 DPI (the
// window has no caption and no border, so the client area is the whole
// window); CSkinGeometry scales them to the window's DPI. The numbers fit
// the shipped bitmaps: background 388 x 263, title bar 331 x 20, button strip
// 120 x 100, lights 18 x 75.
#pragma once

#include <windows.h>

#include <cstdint>

namespace SkinLayout {

// Window position at creation (screen) and the rounding of its corners.
inline constexpr int kWindowLeft = 200;
inline constexpr int kWindowTop = 200;
inline constexpr int kCornerEllipse = 30;

// The logo sits left in the band above the text panel.
inline constexpr int kLogoLeft = 18;
inline constexpr int kLogoBand = 53;

// The black text panel; the title bar lies on its top edge.
inline constexpr RECT kPanel = {27, 53, 359, 189};
inline constexpr int kPanelCentre = (kPanel.left + kPanel.right) / 2; // 193
inline constexpr int kTitleInset = 5;  // text inset of the title bar, both sides
inline constexpr int kColumnGap = 5;   // labels end and values start this far from the centre

// The four buttons, created in this order; each is square.
struct ButtonPlace {
    int x;
    int y;
    int side;
    int stripColumn;
    UINT commandId;
    UINT tooltipId;
};
inline constexpr int kButtonCount = 4;
inline constexpr int kPreviousButton = 0;
inline constexpr int kNextButton = 1;
inline constexpr int kMinimiseButton = 2;
inline constexpr int kCloseButton = 3;

inline constexpr UINT kPreviousPageCommand = 103;
inline constexpr UINT kNextPageCommand = 104;
inline constexpr UINT kCloseWindowCommand = 105;
inline constexpr UINT kMinimiseCommand = 106;

inline constexpr ButtonPlace kButtons[kButtonCount] = {
    {25, 200, 18, 30, kPreviousPageCommand, 14},
    {54, 200, 18, 0, kNextPageCommand, 15},
    {332, 19, 17, 90, kMinimiseCommand, 16},
    {352, 19, 17, 60, kCloseWindowCommand, 17},
};

// The two activity bars: ten segments each.
struct BarPlace {
    int x;
    int y;
    int segmentWidth;
    int segmentHeight;
    int gap;
    int segments;
};
inline constexpr int kDownstreamBar = 0;
inline constexpr int kUpstreamBar = 1;
inline constexpr BarPlace kBars[2] = {
    {275, 224, 5, 15, 4, 10},
    {275, 204, 5, 15, 4, 10},
};

// The connection light: image n is the 11 x 11 block at (1, 25 n) of the
// lights bitmap; it is drawn at (247, 205).
inline constexpr int kLightX = 247;
inline constexpr int kLightY = 205;
inline constexpr int kLightSide = 11;
inline constexpr int kLightSourceX = 1;
inline constexpr int kLightSourceStep = 25;

} // namespace SkinLayout
