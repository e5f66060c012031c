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
