// The line's state as the alerts see it, debounced: a new state counts only
// once two status reads in a row have shown it, so a line that flips for a
// single read changes nothing. It also measures how long the line was up,
// from its first up read, with the 32-bit tick count (safe across its wrap).
// No window code: anything that follows the line's ups and downs can use it.
#pragma once

#include <cstdint>
#include <optional>

enum class LineCondition {
    Unknown, // nothing confirmed yet
    Up,      // the line state reads 2
    Down,    // the modem answers, with any other line state or a failed read
    NoModem, // no control device opens
};

struct LineRates {
    uint32_t downstreamKbps = 0;
    uint32_t upstreamKbps = 0;
};

// A confirmed change of the line's state.
struct LineChange {
    LineCondition from = LineCondition::Unknown; // Unknown: the first state confirmed
    LineCondition to = LineCondition::Unknown;
    uint64_t upMs = 0; // from Up: from the first up read to the first read of `to`
    LineRates rates;   // the rates of the read that confirmed the change
};

class CLineWatch {
public:
    // One status read at tick count `now` (milliseconds, wrapping at 2^32).
    // The change this read confirms, if any: at most one per change.
    std::optional<LineChange> Observe(LineCondition condition, uint32_t now, LineRates rates = {});
    LineCondition Confirmed() const { return m_confirmed; }
    // Milliseconds the confirmed up run has lasted, to the last read; 0 while not up.
    uint64_t UpMs() const { return m_confirmed == LineCondition::Up ? m_clock - m_upStart : 0; }

private:
    LineCondition m_confirmed = LineCondition::Unknown;
    LineCondition m_last = LineCondition::Unknown; // what the last read showed
    // Milliseconds since the first read, summed from tick differences, so
    // that an up time longer than the tick count's 49.7 days still counts.
    uint64_t m_clock = 0;
    uint32_t m_lastTick = 0;
    bool m_started = false;
    uint64_t m_runStart = 0; // clock at the first read of the run m_last belongs to
    uint64_t m_upStart = 0;  // clock at the first read of the confirmed up run
};

// The seconds after a wake within which a line that comes up was only
// training again: the setting WakeGraceSeconds, 0 or less the default of
// two minutes, at most a day.
inline constexpr int kDefaultWakeGraceSeconds = 120;
int WakeGraceSeconds(int setting);

// The line's changes worth telling the user of, across the PC's sleep:
// after a wake the line is watched afresh, and a line that is not up at
// first and comes up within the grace was resyncing, which is told nowhere.
// Until the line is up again or the grace is over, nothing is told; then
// what changed since before the sleep, if anything (a line still away is
// told as gone down after the time it had been up before the sleep).
class CLineAlertWatch {
public:
    std::optional<LineChange> Observe(LineCondition condition, uint32_t now, LineRates rates = {});
    void Sleep();
    // A wake at tick count `now`; also one of which no sleep was told.
    void Wake(uint32_t now, uint32_t graceMs);

private:
    CLineWatch m_watch;
    bool m_bAsleep = false;
    bool m_bWaking = false; // from a wake until the line is up again or the grace is over
    uint32_t m_wakeTick = 0;
    uint32_t m_graceMs = 0;
    LineCondition m_beforeSleep = LineCondition::Unknown;
    uint64_t m_upBeforeSleepMs = 0;
};
