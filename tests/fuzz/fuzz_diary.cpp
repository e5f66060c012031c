// The line diary read from any bytes: every record read back writes out as
// a line that reads as the same record, and the figures stay within their
// periods, less the time the PC was asleep, whatever order, clock, sleeps
// and wakes the records come in.
#include "diary/DiaryFigures.h"

#include <algorithm>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Same(const DiaryRecord& a, const DiaryRecord& b)
{
    return a.time.utc == b.time.utc && a.time.offsetMinutes == b.time.offsetMinutes && a.event == b.event &&
           a.downstreamKbps == b.downstreamKbps && a.upstreamKbps == b.upstreamKbps;
}

void CheckPeriod(const DiaryPeriodFigures& p, int64_t length)
{
    Check(p.upSeconds >= 0 && p.upSeconds <= p.knownSeconds && p.knownSeconds <= length);
    Check(p.drops >= 0 && p.longestOutage >= 0 && p.longestOutage <= p.knownSeconds - p.upSeconds);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    const std::vector<DiaryRecord> records = ParseDiary({reinterpret_cast<const char*>(input), size});
    int64_t now = 0;
    for (const DiaryRecord& record : records) {
        const std::optional<DiaryRecord> again = ParseDiaryLine(FormatDiaryLine(record));
        Check(again && Same(record, *again));
        now = std::max(now, record.time.utc);
    }
    now += size % 300; // sometimes within a record's reach, sometimes not
    const int64_t grace = int64_t(size % 7) * 30;
    int64_t end = INT64_MIN, asleep = 0;
    for (const DiarySpan& span : DiaryTimeline(records, now, grace)) {
        Check(span.start < span.end && span.end <= now && span.start >= end && span.state != DiaryState::Unknown);
        end = span.end;
        if (span.state == DiaryState::Asleep) // within the last day
            asleep += std::max<int64_t>(0, span.end - std::max(span.start, now - 86400));
    }
    const DiaryFigures figures = ComputeDiaryFigures(records, now, grace);
    CheckPeriod(figures.day, 86400 - asleep); // the time asleep is left out
    CheckPeriod(figures.week, 7 * 86400);
    Check(figures.session >= -1 && figures.session <= now);
    return 0;
}
