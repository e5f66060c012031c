#include "settings/EditableSettings.h"

#include "settings/LanguageTable.h"
#include "settings/SettingsKeys.h"
#include "settings/TextUtil.h"

#include <algorithm>
#include <set>
#include <vector>

using namespace Settings;

const EditableSetting kEditableSettings[kEditableSettingCount] = {
    {kClassicStyle, SettingKind::Flag, 0, 1},
    {kShowSysTrayIcon, SettingKind::Flag, 0, 1},
    {kUseInstallerLanguage, SettingKind::Flag, 0, 1},
    {kSupportedLanguages, SettingKind::Languages, 1, kLanguageCount},
    {kNotifyLineChanges, SettingKind::Flag, 0, 1},
    {kKeepHistory, SettingKind::Flag, 0, 1},
    {kHistoryDays, SettingKind::Number, kMinHistoryDays, kMaxHistoryDays},
    {kHue, SettingKind::Number, 0, kMaxHue},
    {kSat, SettingKind::Number, 0, kMaxHue},
    {kTitlebarHue, SettingKind::Number, 0, kMaxHue},
    {kTitlebarSat, SettingKind::Number, 0, kMaxHue},
    {kUseHueAndSat, SettingKind::Flag, 0, 1},
    {kTransparentBitmap, SettingKind::Flag, 0, 1},
    {kTitlebarTextRGB, SettingKind::Colour, 0, 255},
    {kLabelTextRGB, SettingKind::Colour, 0, 255},
    {kStatusTextRGB, SettingKind::Colour, 0, 255},
};

namespace {

const EditableSetting* Find(const std::string& key)
{
    for (const EditableSetting& setting : kEditableSettings)
        if (key == setting.key)
            return &setting;
    return nullptr;
}

// A decimal number of at most `digits` digits, nothing else; -1 otherwise.
int StrictNumber(const std::string& text, size_t digits)
{
    if (text.empty() || text.size() > digits || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return ParseInt(text);
}

std::string NumberMeaning(const EditableSetting& setting, int32_t read)
{
    if (setting.key == std::string(kHistoryDays))
        return std::to_string(read <= 0 ? kStandardHistoryDays : std::min(read, setting.max));
    return std::to_string(std::min(int(uint32_t(read) & 0xFF), setting.max));
}

} // namespace

SettingsValues ReadSettingsValues(const std::function<std::string(const char* key)>& read)
{
    SettingsValues values;
    for (const EditableSetting& setting : kEditableSettings) {
        const std::string text = read(setting.key);
        std::string& value = values[setting.key];
        switch (setting.kind) {
        case SettingKind::Flag: value = ParseInt(text) != 0 ? "1" : "0"; break;
        case SettingKind::Number: value = NumberMeaning(setting, ParseInt(text)); break;
        case SettingKind::Colour: value = TextOfColour(ColourOfText(text)); break;
        case SettingKind::Languages: value = text; break;
        }
    }
    return values;
}

bool IsValidSettingValue(const std::string& key, const std::string& value)
{
    const EditableSetting* setting = Find(key);
    if (!setting)
        return false;
    switch (setting->kind) {
    case SettingKind::Flag:
        return value == "0" || value == "1";
    case SettingKind::Number: {
        const int number = StrictNumber(value, 4);
        return number >= setting->min && number <= setting->max && std::to_string(number) == value;
    }
    case SettingKind::Colour: // three numbers 0..255 written plainly read back as they are
        return TextOfColour(ColourOfText(value)) == value;
    case SettingKind::Languages: {
        std::vector<std::string> names;
        SplitString(names, value, ",");
        std::set<std::string> distinct;
        for (const std::string& name : names) {
            const int row = FindLanguageByName(name);
            if (row < 0 || name != kLanguageTable[row].name || !distinct.insert(name).second)
                return false;
        }
        // Only the form the window writes: no empty items, nothing around the names.
        std::string joined;
        for (const std::string& name : names)
            joined += (joined.empty() ? "" : ",") + name;
        return !names.empty() && joined == value;
    }
    }
    return false;
}

SettingChanges ChangedSettings(const SettingsValues& before, const SettingsValues& after)
{
    SettingChanges changes;
    for (const EditableSetting& setting : kEditableSettings) {
        auto was = before.find(setting.key), now = after.find(setting.key);
        if (now != after.end() && (was == before.end() || was->second != now->second))
            changes.emplace_back(setting.key, now->second);
    }
    return changes;
}

uint32_t ColourOfText(const std::string& text)
{
    return ReadIniRgb(text) & 0xFFFFFF;
}

std::string TextOfColour(uint32_t colour)
{
    return std::to_string(colour & 0xFF) + "," + std::to_string((colour >> 8) & 0xFF) + "," +
           std::to_string((colour >> 16) & 0xFF);
}

LanguageMode LanguageModeOf(const SettingsValues& values)
{
    if (values.at(kUseInstallerLanguage) == "1")
        return LanguageMode::Installer;
    return SingleLanguageOf(values).empty() ? LanguageMode::AsWindows : LanguageMode::OneLanguage;
}

std::string SingleLanguageOf(const SettingsValues& values)
{
    if (values.at(kUseInstallerLanguage) == "1")
        return std::string();
    std::vector<std::string> names;
    SplitString(names, values.at(kSupportedLanguages), ",");
    const int row = names.size() == 1 ? FindLanguageByName(names[0]) : -1;
    return row < 0 ? std::string() : kLanguageTable[row].name;
}

void SetLanguageMode(SettingsValues& values, const SettingsValues& initial, LanguageMode mode,
                     const std::string& language)
{
    const bool asInitial = mode == LanguageModeOf(initial) &&
                           (mode != LanguageMode::OneLanguage || EqualsNoCase(language, SingleLanguageOf(initial)));
    values[kSupportedLanguages] = initial.at(kSupportedLanguages);
    values[kUseInstallerLanguage] = mode == LanguageMode::Installer ? "1" : "0";
    if (asInitial)
        values[kUseInstallerLanguage] = initial.at(kUseInstallerLanguage);
    else if (mode == LanguageMode::AsWindows)
        values[kSupportedLanguages] = AllLanguagesList();
    else if (mode == LanguageMode::OneLanguage)
        values[kSupportedLanguages] = ToLowerAscii(language);
}

std::string AllLanguagesList()
{
    std::string list;
    for (const LanguageRow& row : kLanguageTable)
        list += (list.empty() ? "" : ",") + std::string(row.name);
    return list;
}
