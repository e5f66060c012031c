#include "settings/SkinColours.h"

#include "settings/SettingsKeys.h"
#include "settings/TextUtil.h"

#include <algorithm>
#include <tuple>

namespace {

auto Tie(const SkinColours& c)
{
    return std::tie(c.hue, c.sat, c.titlebarHue, c.titlebarSat, c.useHueAndSat, c.transparentLogo, c.titlebarText,
                    c.labelText, c.statusText);
}

} // namespace

bool SkinColours::operator==(const SkinColours& other) const
{
    return Tie(*this) == Tie(other);
}

SkinColours SkinColoursOf(const SettingsValues& values)
{
    auto text = [&](const char* key) {
        auto found = values.find(key);
        return found == values.end() ? std::string() : found->second;
    };
    auto scale = [&](const char* key) { return uint8_t(std::clamp(ParseInt(text(key)), 0, kMaxHue)); };
    SkinColours colours;
    colours.hue = scale(Settings::kHue);
    colours.sat = scale(Settings::kSat);
    colours.titlebarHue = scale(Settings::kTitlebarHue);
    colours.titlebarSat = scale(Settings::kTitlebarSat);
    colours.useHueAndSat = text(Settings::kUseHueAndSat) == "1";
    colours.transparentLogo = text(Settings::kTransparentBitmap) == "1";
    colours.titlebarText = ColourOfText(text(Settings::kTitlebarTextRGB));
    colours.labelText = ColourOfText(text(Settings::kLabelTextRGB));
    colours.statusText = ColourOfText(text(Settings::kStatusTextRGB));
    return colours;
}
