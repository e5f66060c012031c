#include "tray/TrayText.h"

#include "settings/TextUtil.h"
#include "settings/WideText.h"
#include "settings/XVuk.h"

#include <vector>

std::wstring LineStateName(const std::wstring& list, uint32_t state, const std::wstring& unknownName)
{
    // Splitting the UTF-8 form at "," is safe: no multi-byte sequence contains it.
    std::vector<std::string> items;
    SplitString(items, Utf8FromWide(list), ",");
    if (items.size() % 2 != 0)
        throw XVuk("State resource string must be even");
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        if (uint32_t(ParseInt(items[i])) == state)
            return WideFromUtf8(items[i + 1]);
    }
    return unknownName;
}

std::wstring TipSeparator(bool windowsNT)
{
    return windowsNT ? L"\n" : L" - ";
}

namespace {

std::wstring RateLine(const std::wstring& label, uint32_t rate)
{
    // Signed, as printf's %d shows the driver's 32 bits.
    return label + L": " + std::to_wstring(int32_t(rate)) + L" kbps";
}

} // namespace

std::wstring RatesText(const std::wstring& upstreamLabel, uint32_t upstreamRate, const std::wstring& separator,
                       const std::wstring& downstreamLabel, uint32_t downstreamRate)
{
    return RateLine(upstreamLabel, upstreamRate) + separator + RateLine(downstreamLabel, downstreamRate);
}

std::wstring StateLineText(const std::wstring& stateLabel, const std::wstring& stateName)
{
    return stateLabel + L" " + stateName;
}
