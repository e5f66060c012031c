#include "status/LineWatch.h"

#include <algorithm>

std::optional<LineChange> CLineWatch::Observe(LineCondition condition, uint32_t now, LineRates rates)
{
    // The unsigned difference stays right when the tick count wraps between reads.
    if (m_started)
        m_clock += uint32_t(now - m_lastTick);
    m_started = true;
    m_lastTick = now;

    if (condition != m_last) { // the first read of a new run: wait for the second
        m_last = condition;
        m_runStart = m_clock;
        return std::nullopt;
    }
    if (condition == m_confirmed)
        return std::nullopt;
    LineChange change{m_confirmed, condition, 0, rates};
    if (m_confirmed == LineCondition::Up)
        change.upMs = m_runStart - m_upStart;
    if (condition == LineCondition::Up)
        m_upStart = m_runStart;
    m_confirmed = condition;
    return change;
}

int WakeGraceSeconds(int setting)
{
    return setting <= 0 ? kDefaultWakeGraceSeconds : std::min(setting, 86400);
}

std::optional<LineChange> CLineAlertWatch::Observe(LineCondition condition, uint32_t now, LineRates rates)
{
    std::optional<LineChange> change = m_watch.Observe(condition, now, rates);
    if (!m_bWaking)
        return change;
    const LineCondition seen = m_watch.Confirmed();
    const bool graceOver = uint32_t(now - m_wakeTick) >= m_graceMs;
    if (seen == LineCondition::Unknown || (seen != LineCondition::Up && seen != m_beforeSleep && !graceOver))
        return std::nullopt;
    m_bWaking = false;
    if (seen == m_beforeSleep)
        return std::nullopt; // as before the sleep: nothing happened, or only a resync
    return LineChange{m_beforeSleep, seen, m_beforeSleep == LineCondition::Up ? m_upBeforeSleepMs : 0, rates};
}

void CLineAlertWatch::Sleep()
{
    // Asleep again before the line was back: what counts is still what it
    // was before the first sleep.
    if (m_bAsleep || m_bWaking)
        return;
    m_bAsleep = true;
    m_beforeSleep = m_watch.Confirmed();
    m_upBeforeSleepMs = m_watch.UpMs();
}

void CLineAlertWatch::Wake(uint32_t now, uint32_t graceMs)
{
    Sleep();
    m_bAsleep = false;
    m_bWaking = true;
    m_wakeTick = now;
    m_graceMs = graceMs;
    m_watch = CLineWatch();
}
