#include "status/ActivityLevel.h"

#include "settings/TextUtil.h"

namespace {

// Far above the 100 that lights every cell, and safely inside int32_t.
constexpr float kHighestLevel = 1.0e9f;

int32_t TruncateLoad(float load)
{
    // A huge difference against a tiny rate must still read as a full bar.
    if (!(load < 2147483520.0f))
        return load != load ? 0 : INT32_MAX;
    if (load <= -2147483648.0f)
        return INT32_MIN;
    return int32_t(load);
}

} // namespace

int32_t PageActivityLevel(uint32_t cells, uint32_t rateKbps)
{
    int32_t level = 0;
    if (rateKbps != 0) {
        // Each step is rounded to single precision, as the level is defined.
        float bits = float(cells) * 53.0f * 8.0f * 100.0f;
        float quotient = bits / float(uint64_t(rateKbps) * 1000u);
        // A counter that jumped (a reset modem) must not overflow the conversion.
        level = quotient >= kHighestLevel ? int32_t(kHighestLevel) : int32_t(quotient);
    }
    if (cells != 0 && level <= kLowestBusyLevel)
        level = kLowestBusyLevel;
    return level;
}

int32_t SkinActivityLoad(uint32_t cells, uint32_t rateKbps)
{
    int32_t load = 0;
    // The product is a 32-bit signed number, as the bars have always taken it.
    int32_t bitsPerSecond = int32_t(rateKbps * 1000u);
    if (rateKbps != 0 && bitsPerSecond != 0) {
        float cellCount = float(cells);
        double percent = double(cellCount) * 53 * 8 * 100 / double(bitsPerSecond);
        load = TruncateLoad(float(percent));
    }
    if (cells != 0 && load <= kLowestBusyLevel)
        load = kLowestBusyLevel;
    return load;
}

std::wstring ActivityWords(const std::wstring& pattern, int32_t receivedLevel, int32_t sentLevel)
{
    auto shown = [](int32_t level) { return std::to_wstring(level <= 0 ? 0 : level >= 100 ? 100 : level / 10 * 10); };
    return FillPlaceholders(pattern, shown(receivedLevel), shown(sentLevel));
}
