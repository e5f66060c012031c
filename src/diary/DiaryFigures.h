// The figures people quote, computed from the line diary's records: up time
// over the last 24 hours and 7 days, drops, the longest outage and the
// current session. No window code.
//
// Time that no record covers counts as unknown, never as down: while the
// program runs, a record comes at least once a minute, so a record speaks
// for at most kDiaryRecordReach seconds after it, and the program's "start"
// and "stop" say exactly where its watch began and ended. Time the PC was
// asleep, from "sleep" until the line's first record after "wake", is
// neither up nor down: it is left out of the up time. A line that is not
// up at first after a wake and comes up within the wake's grace was only
// training again: that stretch goes with the sleep, no drop and no outage;
// one that stays away longer was dropped as it would have been awake. A
// clock set back never gives a negative duration: the records are placed
// on a timeline that never runs backwards, anchored at the last record.
#pragma once

#include "diary/LineDiary.h"

#include <cstdint>
#include <vector>

inline constexpr int64_t kDiaryRecordReach = 150;

enum class DiaryState { Unknown, Up, Down, Asleep }; // Down: the line, or the modem, away

// A stretch of the timeline with one known state (seconds, UTC).
struct DiarySpan {
    int64_t start = 0;
    int64_t end = 0;
    DiaryState state = DiaryState::Unknown;
};

// Each record's place on the timeline: the gaps between records in file
// order, a backward step counted as none, laid back from the last record,
// which sits at its own time or at `now`, whichever is earlier.
std::vector<int64_t> DiaryTimelineTimes(const std::vector<DiaryRecord>& records, int64_t now);
// The known stretches in time order, neighbours of one state merged; what
// lies between them is unknown. None reaches past `now`. `wakeGrace`:
// seconds after a wake within which a line that comes up was resyncing.
std::vector<DiarySpan> DiaryTimeline(const std::vector<DiaryRecord>& records, int64_t now, int64_t wakeGrace);

struct DiaryPeriodFigures {
    int64_t upSeconds = 0;
    int64_t knownSeconds = 0;   // up time in % = upSeconds * 100 / knownSeconds
    int drops = 0;              // the line seen up, then at once away (a sleep between or not)
    int64_t longestOutage = 0;  // seconds, of the part inside the period
};

struct DiaryFigures {
    DiaryPeriodFigures day;  // the last 24 hours
    DiaryPeriodFigures week; // the last 7 days
    int64_t session = -1;    // seconds the line has been up without a break; -1: not up now
};

DiaryFigures ComputeDiaryFigures(const std::vector<DiaryRecord>& records, int64_t now, int64_t wakeGrace);
DiaryPeriodFigures ComputePeriodFigures(const std::vector<DiarySpan>& timeline, int64_t from, int64_t to);
