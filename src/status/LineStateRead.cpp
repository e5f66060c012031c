#include "status/LineStateRead.h"

namespace {

constexpr uint32_t kLineUp = 2;

} // namespace

LineCondition LineConditionOf(const StatusField& lineState)
{
    if (lineState.noDevice())
        return LineCondition::NoModem;
    uint32_t state = 0;
    return lineState.readDword(state) && state == kLineUp ? LineCondition::Up : LineCondition::Down;
}

LineRates LineRatesOf(const StatusField& lineState, const StatusField& downstreamRate,
                      const StatusField& upstreamRate)
{
    if (LineConditionOf(lineState) != LineCondition::Up)
        return {};
    return {downstreamRate.getDwordOr(0), upstreamRate.getDwordOr(0)};
}
