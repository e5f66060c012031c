#include "settings/LanguageModule.h"

#include "settings/IniFile.h"
#include "settings/LanguageTable.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

namespace {

// The installer records the language under HKLM\software\<SetupSoftwareKey>.
// The key is opened for reading only: a standard user may read it but not
// write it, and must still get the installed language.
std::string InstallerLanguage()
{
    std::string installerFile = JoinPath(GetWindowsDir(), Settings::kInstallerFile);
    std::string softwareKey = ReadProfileString(installerFile, Settings::kSetupSoftwareKey,
                                                kDefaultLanguageName, 128);
    std::string keyPath = JoinPath("software", softwareKey);

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return kDefaultLanguageName;
    char value[128] = {};
    DWORD size = sizeof value - 1; // room for a terminator the value may lack
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExA(key, "language", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    // Only a text names a language; a number or binary value is not one.
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return kDefaultLanguageName;
    value[sizeof value - 1] = '\0';
    return value;
}

void ShowLanguageBox(const char* text)
{
    MessageBoxA(nullptr, text, "Ferrowind", MB_OK | MB_ICONHAND);
}

} // namespace

CLanguageModule::~CLanguageModule()
{
    if (m_hModule) {
        if (GetResourceModule() == m_hModule)
            SetResourceModule(nullptr);
        FreeLibrary(m_hModule);
    }
}

std::string CLanguageModule::DetermineLanguageName()
{
    LanguageSources sources;
    sources.supportedLanguages = ReadIniString(Settings::kSupportedLanguages);
    sources.useInstallerLanguage = ReadIniInt(Settings::kUseInstallerLanguage) != 0;
    sources.installerLanguage = InstallerLanguage;
    sources.localeLanguageId = LANGIDFROMLCID(GetThreadLocale());
    return ::DetermineLanguageName(sources);
}

int CLanguageModule::SelectLanguage()
{
    std::string name = ToLowerAscii(DetermineLanguageName());
    if (name.empty()) {
        ShowLanguageBox("Can't determine language");
        return 1;
    }
    int row = FindLanguageByName(name);
    if (row < 0) {
        ShowLanguageBox("Invalid language");
        return 1;
    }
    const char* moduleFile = kLanguageTable[row].moduleFile;
    // Resources only: the module is mapped as data and never runs any code.
    m_hModule = LoadLibraryExA(JoinPath(GetProgramDir(), moduleFile).c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!m_hModule)
        throw XVuk("Can't open %s", moduleFile);
    SetResourceModule(m_hModule);
    m_languageName = name;
    return 0;
}
