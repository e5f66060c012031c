#include "diary/DiaryFigures.h"

#include <algorithm>

namespace {

// What is known after a record; a rate with no rates (the minute's record
// while the line is not up) keeps what was, and after a wake tells that
// the line is not up.
DiaryState StateAfter(const DiaryRecord& record, DiaryState before)
{
    switch (record.event) {
    case DiaryEvent::Up:
        return DiaryState::Up;
    case DiaryEvent::Down:
    case DiaryEvent::ModemLost:
    case DiaryEvent::ModemFound: // the line's own record follows at once
        return DiaryState::Down;
    case DiaryEvent::Sleep:
    case DiaryEvent::Wake: // asleep until the line's first record after it
        return DiaryState::Asleep;
    case DiaryEvent::Start:
    case DiaryEvent::Stop: // nothing is known until the line's first record
        return DiaryState::Unknown;
    case DiaryEvent::Rate:
        break;
    }
    if (record.downstreamKbps)
        return DiaryState::Up;
    return before == DiaryState::Asleep ? DiaryState::Down : before;
}

// Each record's state; the records of a line that is not up at first after
// a wake and comes up within the grace count as asleep.
std::vector<DiaryState> DiaryStates(const std::vector<DiaryRecord>& records, const std::vector<int64_t>& times,
                                    int64_t wakeGrace)
{
    std::vector<DiaryState> states(records.size());
    DiaryState state = DiaryState::Unknown;
    for (size_t i = 0; i < records.size(); ++i)
        states[i] = state = StateAfter(records[i], state);
    for (size_t wake = 0; wake < records.size(); ++wake) {
        if (records[wake].event != DiaryEvent::Wake)
            continue;
        size_t up = wake + 1;
        while (up < records.size() && states[up] == DiaryState::Down)
            ++up;
        if (up < records.size() && states[up] == DiaryState::Up && times[up] - times[wake] <= wakeGrace)
            std::fill(states.begin() + wake + 1, states.begin() + up, DiaryState::Asleep);
    }
    return states;
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

std::vector<DiarySpan> DiaryTimeline(const std::vector<DiaryRecord>& records, int64_t now, int64_t wakeGrace)
{
    const std::vector<int64_t> times = DiaryTimelineTimes(records, now);
    const std::vector<DiaryState> states = DiaryStates(records, times, wakeGrace);
    std::vector<DiarySpan> spans;
    for (size_t i = 0; i < records.size(); ++i) {
        const DiaryState state = states[i];
        const bool last = i + 1 == records.size();
        const int64_t next = last ? now : times[i + 1];
        // A sleep speaks until the wake, however long the PC slept.
        const int64_t end = records[i].event == DiaryEvent::Sleep && !last ? next
                                                                          : std::min(next, times[i] + kDiaryRecordReach);
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
        if (length <= 0 || span.state == DiaryState::Asleep)
            continue;
        figures.knownSeconds += length;
        if (span.state == DiaryState::Up) {
            figures.upSeconds += length;
            continue;
        }
        figures.longestOutage = std::max(figures.longestOutage, length);
        // Seen up just before, or just before the sleep that this follows.
        size_t before = i;
        while (before > 0 && timeline[before - 1].state == DiaryState::Asleep &&
               timeline[before - 1].end == timeline[before].start)
            --before;
        if (before > 0 && timeline[before - 1].state == DiaryState::Up &&
            timeline[before - 1].end == timeline[before].start && span.start > from)
            ++figures.drops;
    }
    return figures;
}

DiaryFigures ComputeDiaryFigures(const std::vector<DiaryRecord>& records, int64_t now, int64_t wakeGrace)
{
    const std::vector<DiarySpan> timeline = DiaryTimeline(records, now, wakeGrace);
    DiaryFigures figures;
    figures.day = ComputePeriodFigures(timeline, now - 86400, now);
    figures.week = ComputePeriodFigures(timeline, now - 7 * 86400, now);
    // Known up until a record's reach ago: the monitor is watching it now.
    if (!timeline.empty() && timeline.back().state == DiaryState::Up && timeline.back().end >= now)
        figures.session = now - timeline.back().start;
    return figures;
}
