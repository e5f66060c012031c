#include "diary/DiaryFigures.h"

#include <algorithm>

namespace {

// What the line is after a record; a rate with no rates (the minute's
// record while the line is not up) keeps what was.
DiaryState StateAfter(const DiaryRecord& record, DiaryState before)
{
    switch (record.event) {
    case DiaryEvent::Up:
        return DiaryState::Up;
    case DiaryEvent::Down:
    case DiaryEvent::ModemLost:
    case DiaryEvent::ModemFound: // the line's own record follows at once
        return DiaryState::Down;
    case DiaryEvent::Rate:
        break;
    }
    return record.downstreamKbps ? DiaryState::Up : before;
}

} // namespace

std::vector<int64_t> DiaryTimelineTimes(const std::vector<DiaryRecord>& records, int64_t now)
{
    std::vector<int64_t> times(records.size());
    if (records.empty())
        return times;
    times.back() = std::min(records.back().time.utc, now);
    for (size_t i = records.size() - 1; i-- > 0;)
        times[i] = times[i + 1] - std::max<int64_t>(0, records[i + 1].time.utc - records[i].time.utc);
    return times;
}

std::vector<DiarySpan> DiaryTimeline(const std::vector<DiaryRecord>& records, int64_t now)
{
    const std::vector<int64_t> times = DiaryTimelineTimes(records, now);
    std::vector<DiarySpan> spans;
    DiaryState state = DiaryState::Unknown;
    for (size_t i = 0; i < records.size(); ++i) {
        state = StateAfter(records[i], state);
        const int64_t next = i + 1 < records.size() ? times[i + 1] : now;
        const int64_t end = std::min(next, times[i] + kDiaryRecordReach);
        if (state == DiaryState::Unknown || end <= times[i])
            continue;
        if (!spans.empty() && spans.back().state == state && spans.back().end == times[i])
            spans.back().end = end;
        else
            spans.push_back({times[i], end, state});
    }
    return spans;
}

DiaryPeriodFigures ComputePeriodFigures(const std::vector<DiarySpan>& timeline, int64_t from, int64_t to)
{
    DiaryPeriodFigures figures;
    for (size_t i = 0; i < timeline.size(); ++i) {
        const DiarySpan& span = timeline[i];
        const int64_t length = std::min(span.end, to) - std::max(span.start, from);
        if (length <= 0)
            continue;
        figures.knownSeconds += length;
        if (span.state == DiaryState::Up) {
            figures.upSeconds += length;
            continue;
        }
        figures.longestOutage = std::max(figures.longestOutage, length);
        if (i > 0 && timeline[i - 1].state == DiaryState::Up && timeline[i - 1].end == span.start &&
            span.start > from)
            ++figures.drops;
    }
    return figures;
}

DiaryFigures ComputeDiaryFigures(const std::vector<DiaryRecord>& records, int64_t now)
{
    const std::vector<DiarySpan> timeline = DiaryTimeline(records, now);
    DiaryFigures figures;
    figures.day = ComputePeriodFigures(timeline, now - 86400, now);
    figures.week = ComputePeriodFigures(timeline, now - 7 * 86400, now);
    // Known up until a record's reach ago: the monitor is watching it now.
    if (!timeline.empty() && timeline.back().state == DiaryState::Up && timeline.back().end >= now)
        figures.session = now - timeline.back().start;
    return figures;
}
