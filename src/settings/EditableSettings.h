// The settings the Settings window shows and edits: each key of Modavi.ini
// it may write, the one form it writes its value in, and what the program
// makes of the text a key holds. EnableDebugMode and Debug are not among
// them: they stay in the file only. No window code: the elevated writer
// checks a request against the same table.
#pragma once

#include "settings/IniEdit.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

enum class SettingKind {
    Flag,      // "0" or "1"
    Number,    // decimal, within min..max
    Colour,    // "red,green,blue", each 0..255
    Languages, // language names of the table, separated by ","
};

struct EditableSetting {
    const char* key;
    SettingKind kind;
    int min;
    int max;
};

inline constexpr int kMaxHue = 252; // the colour arithmetic's scale
inline constexpr int kMinHistoryDays = 1;
inline constexpr int kMaxHistoryDays = 3650;
// What the diary keeps when HistoryDays is missing, 0 or less.
inline constexpr int kStandardHistoryDays = 90;

inline constexpr int kEditableSettingCount = 16;
extern const EditableSetting kEditableSettings[kEditableSettingCount];

// Key -> value in the form the window writes ("1", "140", "255,255,255",
// "english,german"). Holds every key of the table.
using SettingsValues = std::map<std::string, std::string>;

// The values as the program reads them from the texts `read` gives for the
// keys (empty for a missing key): a flag 1 when the text reads as a number
// other than 0; Hue, Sat, TitlebarHue and TitlebarSat their low 8 bits, at
// most 252; HistoryDays 90 when missing or 0 or less, at most 3650; a colour
// black unless it is three numbers; SupportedLanguages the text as it is.
SettingsValues ReadSettingsValues(const std::function<std::string(const char* key)>& read);

// True when `value` is what the window writes for `key`: a key of the table,
// a value of its form inside its range. Anything else is refused.
bool IsValidSettingValue(const std::string& key, const std::string& value);

// The keys whose values differ, in the table's order, with their values in `after`.
SettingChanges ChangedSettings(const SettingsValues& before, const SettingsValues& after);

// Colours: 0x00bbggrr from "red,green,blue" (black for anything else) and back.
uint32_t ColourOfText(const std::string& text);
std::string TextOfColour(uint32_t colour);

// The language choice the window offers: the locale's with every language
// allowed, one language alone, or the installer's choice.
enum class LanguageMode { AsWindows, OneLanguage, Installer };
// The mode the values hold: the installer's when UseInstallerLanguage is 1,
// one language when SupportedLanguages names exactly one of the table.
LanguageMode LanguageModeOf(const SettingsValues& values);
// The language of OneLanguage (lower-case); empty in the other modes.
std::string SingleLanguageOf(const SettingsValues& values);
// Sets UseInstallerLanguage and SupportedLanguages for a mode. The mode and
// language `initial` holds keep its texts; otherwise AsWindows allows every
// language, OneLanguage `language` alone, and Installer keeps the list.
void SetLanguageMode(SettingsValues& values, const SettingsValues& initial, LanguageMode mode,
                     const std::string& language);
// Every language of the table, in its order, separated by ",".
std::string AllLanguagesList();
