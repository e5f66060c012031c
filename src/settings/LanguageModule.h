// The language resource module: chosen once at start-up, held until the end.
#pragma once

#include <windows.h>

#include <string>

class CLanguageModule {
public:
    CLanguageModule() = default;
    ~CLanguageModule();
    CLanguageModule(const CLanguageModule&) = delete;
    CLanguageModule& operator=(const CLanguageModule&) = delete;

    // 0 on success, 1 when a message box was shown. Raises XVuk
    // "Can't open FILE" when the module cannot be loaded.
    int SelectLanguage();

    // The language name from the installer or the locale; possibly empty.
    std::string DetermineLanguageName();

    const std::string& GetLanguageName() const { return m_languageName; }
    HMODULE GetModule() const { return m_hModule; }

private:
    HMODULE m_hModule = nullptr; // owned
    std::string m_languageName;
};
