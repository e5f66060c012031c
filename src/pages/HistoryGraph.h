// The history page's graph of the last 24 hours, drawn into any device
// context: outages shaded red, the PC asleep lavender, time no record
// covers grey, the downstream (blue) and upstream (green) rates as lines on
// one scale, and the time axis in local time every six hours.
#pragma once

#include "diary/LineDiary.h"

#include <windows.h>

#include <vector>

// `wakeGrace`: as the figures take it (DiaryTimeline). Its font, lines and
// margins are those of 96 DPI scaled to `dpi`.
void DrawHistoryGraph(HDC dc, const RECT& area, const std::vector<DiaryRecord>& records, DiaryTime now,
                      int64_t wakeGrace, unsigned dpi = 96);
// The legend's sample of the asleep shade, framed.
void DrawAsleepSample(HDC dc, const RECT& area);
