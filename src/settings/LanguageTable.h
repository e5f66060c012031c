// The fourteen languages the program knows, their resource modules and the
// locale ids that select them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct LanguageRow {
    const char* name;        // lower-case language name
    const char* moduleFile;  // resource module in the program folder
    uint16_t primaryId;      // low 10 bits of a language identifier
    uint16_t subLanguage;    // upper 6 bits; kAnySubLanguage matches all
};

inline constexpr uint16_t kAnySubLanguage = 0;
inline constexpr int kLanguageCount = 14;
extern const LanguageRow kLanguageTable[kLanguageCount];
inline constexpr char kDefaultLanguageName[] = "english";

// Row index of the first name equal without regard to case, or -1.
int FindLanguageByName(const std::string& name);

// First row whose primary id matches and whose sub-language is "any" or
// equal; -1 when none.
int FindLanguageById(uint16_t primary, uint16_t sub);

// What the language decision reads from the system; the Win32 side fills it
// from the settings file, the installer's file and registry, and the locale.
struct LanguageSources {
    std::string supportedLanguages;                  // SupportedLanguages
    bool useInstallerLanguage = false;               // UseInstallerLanguage
    std::function<std::string()> installerLanguage;  // registry value, or "english"
    uint16_t localeLanguageId = 0;                   // low 16 bits of the thread locale
};

// The language name as read (not yet lower-cased); possibly empty.
std::string DetermineLanguageName(const LanguageSources& sources);
