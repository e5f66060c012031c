#include "pages/HistoryGraph.h"

#include "diary/DiaryFigures.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"

#include <algorithm>

namespace {

constexpr int64_t kDay = 86400;
constexpr int kAxisHeight = 14; // the hour labels under the plot, at 96 DPI

const COLORREF kUnknown = RGB(224, 224, 224), kOutage = RGB(255, 196, 196), kAsleep = RGB(214, 206, 250),
               kGrid = RGB(200, 200, 200), kDownstream = RGB(0, 70, 200), kUpstream = RGB(0, 150, 60);

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

// The local time of a moment as the user's locale writes hours and minutes:
// the thread's locale, the one the program's language was chosen by, in its
// standard form (an hour mark needs no personal time format).
std::wstring LocalClock(int64_t localSeconds)
{
    SYSTEMTIME time = {};
    time.wYear = 2000; // any valid date: only the clock is shown
    time.wMonth = 1;
    time.wDay = 1;
    const int64_t ofDay = ((localSeconds % kDay) + kDay) % kDay;
    time.wHour = WORD(ofDay / 3600);
    time.wMinute = WORD(ofDay % 3600 / 60);
    wchar_t text[32] = L"";
    GetTimeFormatW(GetThreadLocale(), TIME_NOSECONDS | LOCALE_NOUSEROVERRIDE, &time, nullptr, text, 32);
    return text;
}

// The system's GUI font at `dpi`: the stock one where that is the system's DPI.
UniqueFont GuiFont(unsigned dpi, HGDIOBJ& font)
{
    font = GetStockObject(DEFAULT_GUI_FONT);
    if (dpi == Dpi::System())
        return UniqueFont();
    LOGFONTW description = {};
    GetObjectW(font, sizeof description, &description);
    description.lfHeight = Dpi::Rescale(description.lfHeight, Dpi::System(), dpi);
    UniqueFont scaled(CreateFontIndirectW(&description));
    if (scaled)
        font = scaled.get();
    return scaled;
}

} // namespace

void DrawAsleepSample(HDC dc, const RECT& area)
{
    Fill(dc, area, kAsleep);
    FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

void DrawHistoryGraph(HDC dc, const RECT& area, const std::vector<DiaryRecord>& records, DiaryTime now,
                      int64_t wakeGrace, unsigned dpi)
{
    auto scaled = [dpi](int length) { return Dpi::Scale(length, dpi); };
    const int64_t from = now.utc - kDay;
    RECT plot = area;
    plot.bottom = std::max(plot.top + 1, plot.bottom - scaled(kAxisHeight));
    // The highest rate sits a few pixels under the frame, so that its line shows.
    const int width = std::max<int>(1, plot.right - plot.left);
    const int height = std::max<int>(1, plot.bottom - plot.top - scaled(8));
    auto x = [&](int64_t t) { return plot.left + int((std::clamp(t, from, now.utc) - from) * width / kDay); };

    Fill(dc, area, GetSysColor(COLOR_WINDOW));
    Fill(dc, plot, kUnknown);
    for (const DiarySpan& span : DiaryTimeline(records, now.utc, wakeGrace)) {
        if (span.end <= from)
            continue;
        const RECT known = {x(span.start), plot.top, std::max(x(span.end), x(span.start) + 1), plot.bottom};
        Fill(dc, known, span.state == DiaryState::Up       ? GetSysColor(COLOR_WINDOW)
                        : span.state == DiaryState::Asleep ? kAsleep
                                                           : kOutage);
    }

    // Every six hours of local time: a grid line and its clock.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ guiFont = nullptr;
    const UniqueFont ownFont = GuiFont(dpi, guiFont);
    SelectObjectScope font(dc, guiFont);
    UniquePen grid(CreatePen(PS_DOT, 1, kGrid));
    {
        SelectObjectScope pen(dc, grid.get());
        const int64_t offset = int64_t(now.offsetMinutes) * 60, step = 6 * 3600;
        for (int64_t local = ((from + offset) / step + 1) * step; local <= now.utc + offset; local += step) {
            const int gx = x(local - offset);
            MoveToEx(dc, gx, plot.top, nullptr);
            LineTo(dc, gx, plot.bottom);
            const std::wstring label = LocalClock(local);
            SIZE size;
            GetTextExtentPoint32W(dc, label.c_str(), int(label.size()), &size);
            const int left = std::clamp<int>(gx - size.cx / 2, area.left, area.right - size.cx);
            TextOutW(dc, left, plot.bottom + scaled(1), label.c_str(), int(label.size()));
        }
    }

    // The rates, scaled to the highest of the day; a line only between
    // records that follow each other.
    const std::vector<int64_t> times = DiaryTimelineTimes(records, now.utc);
    uint32_t top = 1;
    for (size_t i = 0; i < records.size(); ++i)
        if (times[i] >= from && records[i].downstreamKbps)
            top = std::max({top, *records[i].downstreamKbps, records[i].upstreamKbps.value_or(0)});
    auto y = [&](uint32_t rate) { return plot.bottom - scaled(3) - int(uint64_t(rate) * uint64_t(height) / top); };
    for (const auto& [colour, downstream] : {std::pair{kDownstream, true}, std::pair{kUpstream, false}}) {
        UniquePen line(CreatePen(PS_SOLID, scaled(2), colour));
        SelectObjectScope pen(dc, line.get());
        for (size_t i = 1; i < records.size(); ++i) {
            const auto& a = downstream ? records[i - 1].downstreamKbps : records[i - 1].upstreamKbps;
            const auto& b = downstream ? records[i].downstreamKbps : records[i].upstreamKbps;
            if (!a || !b || times[i] < from || times[i] - times[i - 1] > kDiaryRecordReach ||
                records[i].event == DiaryEvent::Up)
                continue;
            MoveToEx(dc, x(times[i - 1]), y(*a), nullptr);
            LineTo(dc, x(times[i]), y(*b));
        }
    }
    FrameRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}
