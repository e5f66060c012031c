#include "status/LineAlertText.h"

#include "settings/ResourceIds.h"
#include "settings/TextUtil.h"

std::wstring DurationText(uint64_t ms, const StringLookup& text)
{
    const uint64_t seconds = ms / 1000, minutes = seconds / 60, hours = minutes / 60, days = hours / 24;
    if (days)
        return FillPlaceholders(text(IDS_DURATION_DAYS), std::to_wstring(days), std::to_wstring(hours % 24));
    if (hours)
        return FillPlaceholders(text(IDS_DURATION_HOURS), std::to_wstring(hours), std::to_wstring(minutes % 60));
    if (minutes)
        return FillPlaceholders(text(IDS_DURATION_MINUTES), std::to_wstring(minutes));
    return FillPlaceholders(text(IDS_DURATION_SECONDS), std::to_wstring(seconds));
}

LineAlert LineAlertFor(const LineChange& change, const StringLookup& text)
{
    if (change.from == LineCondition::Unknown) // the first state confirmed is no news
        return {};
    switch (change.to) {
    case LineCondition::Up:
        return {FillPlaceholders(text(IDS_ALERT_LINE_UP), std::to_wstring(change.rates.downstreamKbps) + L"/" +
                                                  std::to_wstring(change.rates.upstreamKbps)),
                false};
    case LineCondition::Down:
        if (change.from == LineCondition::NoModem)
            return {text(IDS_ALERT_MODEM_FOUND), false};
        return {FillPlaceholders(text(IDS_ALERT_LINE_DOWN), DurationText(change.upMs, text)), true};
    case LineCondition::NoModem:
        return {text(IDS_ALERT_MODEM_LOST), true};
    default:
        return {};
    }
}
