// The skinned window's two line-activity bars and its connection light.
//
// Each poll turns the increase of one 32-bit cell counter since the previous
// connected poll into bits (53-byte cells) and sets them against that
// direction's line rate: the upper bar shows counter 0x0301 against the rate
// of command 0x0107, the lower bar counter 0x0381 against the rate of 0x0103.
// The light shows connected, unreadable or not connected, and blinks while
// the line state is 1 (training), in step with one counter for the whole run.
//
// The brushes are made once; the three lights are composed over the window's
// background once per whole paint, so that a poll only fills and copies.
#pragma once

#include "framework/Handles.h"
#include "skin/OffscreenCanvas.h"
#include "skin/SkinGeometry.h"

#include <windows.h>

#include <cstdint>

class CDib;
class ISkinDrawRecorder;

// What one poll of the window knows about the line.
struct LinePoll {
    bool stateReadable = false; // the line state field holds a valid 4-byte answer
    uint32_t state = 0;         // 2 up, 1 training, anything else not up
    uint32_t upstreamRate = 0;   // kbit/s (0 when unreadable)
    uint32_t downstreamRate = 0; // kbit/s (0 when unreadable)
};

class CActivityBars {
public:
    enum LightImage { kLightConnected = 0, kLightUnreadable = 1, kLightDown = 2, kLightNone = -1 };

    CActivityBars();
    CActivityBars(const CActivityBars&) = delete;
    CActivityBars& operator=(const CActivityBars&) = delete;

    // One poll: new loads and light image. Reads the two cell counters from
    // the driver only while the line is up.
    void Update(const LinePoll& poll);

    // Where the bars and the light go (the window's DPI); drops the composed lights.
    void SetGeometry(const CSkinGeometry& geometry);

    // Draws both bars and the light (nothing of the light before the first
    // Update). `lights` is the lights bitmap, used when no composed copy exists.
    void Draw(HDC dc, const CDib& lights, ISkinDrawRecorder* recorder = nullptr) const;
    // Bar 0 (the lower) shows downstream, bar 1 (the upper) upstream traffic.
    void DrawBar(HDC dc, int bar, int level) const;
    void DrawSegments(HDC dc, int bar, int level, int first, int last, HBRUSH unlit, HBRUSH lit) const;
    void DrawLight(HDC dc, const CDib& lights) const;

    // Composes the three lights over the pixels that `dc` holds at the
    // light's place (the window's background), compatible with `dc`.
    void ComposeLights(HDC dc, const CDib& lights);

    // What the bars and light look like now: lit segments of each bar and the
    // light image. Two polls with the same picture draw the same pixels.
    int PictureKey() const;

    int32_t m_nUpstreamLevel = 0;
    int32_t m_nDownstreamLevel = 0;
    uint32_t m_nUpstreamPrevious = 0;
    uint32_t m_nDownstreamPrevious = 0;
    int m_nLightImage = kLightNone;

    // Polls with line state 1 so far in this run of the program.
    static int32_t s_nBlinkCounter;

private:
    struct SegmentColours {
        UniqueBrush unlit;
        UniqueBrush lit;
    };
    // Segments 0-3 green, 4-6 yellow, 7-9 red.
    SegmentColours m_colours[3];

    CSkinGeometry m_geometry;
    COffscreenCanvas m_composedLights; // the three lights stacked; empty until composed
};
