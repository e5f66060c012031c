// The settings file, its writer and the installer's language against real Win32.
#include "settings/IniFile.h"
#include "settings/LanguageModule.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsWriter.h"
#include "settings/TextUtil.h"
#include "../support/ErrorText.h"
#include "../support/ScopedFile.h"

#include <gtest/gtest.h>

#include <aclapi.h>

#include <string>

TEST(IniFile, ReadsEachTimeAndRefusesAMissingFileNamingTheKey)
{
    DeleteFileA(SettingsFilePath().c_str());
    EXPECT_EQ("Can't read from ini file: ShowSysTrayIcon", ErrorText([] { ReadIniInt(Settings::kShowSysTrayIcon); }));
    EXPECT_EQ("Can't read from ini file: Debug", ErrorText([] { ReadIniString(Settings::kDebug); }));

    ScopedFile ini(SettingsFilePath(), SettingsText("ShowSysTrayIcon=1 ; on\r\nLong=" + std::string(600, 'x') + "\r\n"));
    EXPECT_EQ(1, ReadIniInt(Settings::kShowSysTrayIcon));
    EXPECT_EQ(0, ReadIniInt(Settings::kSat)); // missing key
    EXPECT_EQ("", ReadIniString(Settings::kDebug));
    EXPECT_EQ(std::string(511, 'x'), ReadIniString("Long"));
    ScopedFile edited(SettingsFilePath(), SettingsText("Hue=2\r\n"));
    EXPECT_EQ(2, ReadIniInt(Settings::kHue));
}

namespace {

// A key under HKLM\software that everyone may read but nobody may change, as
// an installer run by an administrator leaves it for a standard user.
class ReadOnlyInstallerKey {
public:
    explicit ReadOnlyInstallerKey(const char* language, DWORD type = REG_SZ) : m_path("software\\ModaviTestInstaller")
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, "language", 0, type, reinterpret_cast<const BYTE*>(language), DWORD(strlen(language) + 1));
        EXPLICIT_ACCESSA access = {};
        access.grfAccessPermissions = KEY_READ;
        access.grfAccessMode = SET_ACCESS;
        access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        access.Trustee.ptstrName = const_cast<char*>("EVERYONE");
        PACL acl = nullptr;
        SetEntriesInAclA(1, &access, nullptr, &acl);
        SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                        nullptr, nullptr, acl, nullptr);
        LocalFree(acl);
        RegCloseKey(key);
        HKEY writable = nullptr;
        m_readOnly = RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_ALL_ACCESS, &writable) != ERROR_SUCCESS;
        if (!m_readOnly)
            RegCloseKey(writable);
    }
    ~ReadOnlyInstallerKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_path.c_str()); }
    bool m_readOnly = false;

private:
    std::string m_path;
};

} // namespace

TEST(LanguageModule, InstallerLanguageFromAReadOnlyKeyOrEnglishWithoutOne)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("UseInstallerLanguage=1\r\nSupportedLanguages=german\r\n"));
    const struct { const char* setupKey; DWORD type; const char* expected; } cases[] = {
        {"ModaviTestInstaller", REG_SZ, "Japanese"}, {"ModaviNoSuchKey", REG_SZ, "english"},
        {"ModaviTestInstaller", REG_BINARY, "english"}}; // only a text names a language
    for (auto [setupKey, type, expected] : cases) {
        ScopedFile installer(JoinPath(GetWindowsDir(), "vavevida.ini"),
                             std::string("[SystemInfo]\r\nSetupSoftwareKey=") + setupKey + "\r\n");
        ReadOnlyInstallerKey key("Japanese", type);
        ASSERT_TRUE(key.m_readOnly) << "opening the key for writing must fail here";
        CLanguageModule language;
        EXPECT_EQ(expected, language.DetermineLanguageName()) << setupKey;
    }
}

TEST(LanguageModule, MissingModuleRaisesWithTheFileName)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("SupportedLanguages=turkish\r\n"));
    CLanguageModule language; // the test folder holds no language modules
    EXPECT_EQ("Can't open CplTurkish.dll", ErrorText([&] { language.SelectLanguage(); }));
}


TEST(SettingsWriter, TheRealFileIsReplacedWholeReadAsWrittenOrLeftAsItWas)
{
    const std::string path = GetProgramDir() + "writer.ini";
    const std::string text = "[SystemInfo]\r\nHue=1\r\nhue=2\r\n[Other]\r\nSat=9\r\n[SystemInfo]\r\nSat=3\r\n";
    auto read = [&](const char* key) {
        char value[16] = {};
        GetPrivateProfileStringA("SystemInfo", key, "", value, sizeof value, path.c_str());
        return std::string(value);
    };
    enum Knob { kWritable, kReadOnly, kOpenElsewhere };
    for (Knob knob : {kWritable, kReadOnly, kOpenElsewhere}) {
        ScopedFile file(path, text);
        EXPECT_FALSE(PlatformSettingsFiles().NeedsRights(path)) << "the test's own folder";
        if (knob == kReadOnly)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE other = knob == kOpenElsewhere ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                            OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE;
        const SettingsWrite write = WriteSettingsFile(PlatformSettingsFiles(), path, text, {{"Hue", "7"}, {"Sat", "4"}});
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(knob == kWritable ? WriteOutcome::Written : WriteOutcome::Failed, write.outcome) << knob;
        EXPECT_EQ(knob == kWritable, write.error.empty()) << write.error;
        // The first key of the first section is what the program reads, so that is what changed.
        EXPECT_EQ(knob == kWritable ? "7 4" : "1 ", read("Hue") + " " + read("Sat")) << knob;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(PendingSettingsPath(path).c_str())) << knob;
    }
}
