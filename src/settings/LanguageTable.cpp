#include "settings/LanguageTable.h"

#include "settings/TextUtil.h"

#include <vector>

const LanguageRow kLanguageTable[kLanguageCount] = {
    {"english", "CplEng.dll", 0x09, kAnySubLanguage},
    {"japanese", "CplJapan.dll", 0x11, kAnySubLanguage},
    {"chinese_simp", "CplChinS.dll", 0x04, 2},
    {"chinese_trad", "CplChinT.dll", 0x04, 1},
    {"german", "CplGermn.dll", 0x07, kAnySubLanguage},
    {"italian", "CplItaln.dll", 0x10, kAnySubLanguage},
    {"korean", "CplKorea.dll", 0x12, kAnySubLanguage},
    {"portuguese", "CplPort.dll", 0x16, kAnySubLanguage},
    {"spanish", "CplSpan.dll", 0x0A, kAnySubLanguage},
    {"french", "CplFrnch.dll", 0x0C, kAnySubLanguage},
    {"danish", "CplDansh.dll", 0x06, kAnySubLanguage},
    {"dutch", "CplDutch.dll", 0x13, kAnySubLanguage},
    {"turkish", "CplTurkish.dll", 0x1F, kAnySubLanguage},
    {"russian", "CplRussian.dll", 0x19, kAnySubLanguage},
};

int FindLanguageByName(const std::string& name)
{
    for (int row = 0; row < kLanguageCount; ++row)
        if (EqualsNoCase(name, kLanguageTable[row].name))
            return row;
    return -1;
}

int FindLanguageById(uint16_t primary, uint16_t sub)
{
    for (int row = 0; row < kLanguageCount; ++row) {
        const LanguageRow& r = kLanguageTable[row];
        if (r.primaryId == primary && (r.subLanguage == kAnySubLanguage || r.subLanguage == sub))
            return row;
    }
    return -1;
}

std::string DetermineLanguageName(const LanguageSources& sources)
{
    std::vector<std::string> supported;
    SplitString(supported, sources.supportedLanguages, ",");

    if (sources.useInstallerLanguage)
        return sources.installerLanguage ? sources.installerLanguage() : kDefaultLanguageName;

    uint16_t primary = sources.localeLanguageId & 0x3FF;
    uint16_t sub = uint16_t(sources.localeLanguageId >> 10);
    int row = FindLanguageById(primary, sub);
    if (row >= 0) {
        bool allowed = false;
        for (const std::string& item : supported)
            allowed = allowed || EqualsNoCase(item, kLanguageTable[row].name);
        if (allowed)
            return kLanguageTable[row].name;
    }
    return supported.empty() ? std::string() : supported.front();
}
