// Settings file, installer language and trace channels against real Win32.
#include "settings/IniFile.h"
#include "settings/LanguageModule.h"
#include "settings/ProgramPaths.h"
#include "settings/TextUtil.h"
#include "settings/TraceChannel.h"
#include "settings/XVuk.h"
#include "../support/ErrorText.h"
#include "../support/ScopedFile.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

#include <string>

TEST(IniFile, MissingFileRaisesWithTheKeyName)
{
    DeleteFileA(SettingsFilePath().c_str());
    EXPECT_EQ("Can't read from ini file: ShowSysTrayIcon",
              ErrorText([] { ReadIniInt(Settings::kShowSysTrayIcon); }));
    EXPECT_EQ("Can't read from ini file: SupportedLanguages",
              ErrorText([] { ReadIniString(Settings::kSupportedLanguages); }));
}

TEST(IniFile, ReadsValuesAndDefaults)
{
    ScopedFile ini(SettingsFilePath(),
                   SettingsText("ShowSysTrayIcon=1 ; on\r\nClassicStyle=on\r\nHue=12abc\r\n"
                                "LabelTextRGB=255,0,0\r\nLong=" + std::string(600, 'x') + "\r\n"));
    EXPECT_EQ(1, ReadIniInt(Settings::kShowSysTrayIcon));
    EXPECT_EQ(0, ReadIniInt(Settings::kClassicStyle));
    EXPECT_EQ(12, ReadIniInt(Settings::kHue));
    EXPECT_EQ(0, ReadIniInt(Settings::kSat)); // missing key
    EXPECT_EQ("", ReadIniString(Settings::kDebug));
    EXPECT_EQ(0x020000FFu, ReadIniRgb(ReadIniString(Settings::kLabelTextRGB)));
    EXPECT_EQ(std::string(511, 'x'), ReadIniString("Long"));
}

TEST(IniFile, EditsAreSeenByTheNextRead)
{
    ScopedFile first(SettingsFilePath(), SettingsText("Hue=1\r\n"));
    EXPECT_EQ(1, ReadIniInt(Settings::kHue));
    ScopedFile second(SettingsFilePath(), SettingsText("Hue=2\r\n"));
    EXPECT_EQ(2, ReadIniInt(Settings::kHue));
}

TEST(ProgramPaths, FolderEndsInBackslash)
{
    std::string dir = GetProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ('\\', dir.back());
    EXPECT_EQ(0u, GetProgramPath().find(dir));
    EXPECT_FALSE(GetWindowsDir().empty());
    EXPECT_TRUE(IsWindowsNT());
}

namespace {

// A registry key under HKLM\software that everyone may read but nobody may
// change, as an installer run by an administrator leaves it for a standard user.
class ReadOnlyInstallerKey {
public:
    ReadOnlyInstallerKey(const char* name, const char* language) : m_path(std::string("software\\") + name)
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language), DWORD(strlen(language) + 1));
        // Only reading is allowed from now on.
        EXPLICIT_ACCESSA access = {};
        access.grfAccessPermissions = KEY_READ;
        access.grfAccessMode = SET_ACCESS;
        access.grfInheritance = NO_INHERITANCE;
        access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        access.Trustee.ptstrName = const_cast<char*>("EVERYONE");
        PACL acl = nullptr;
        SetEntriesInAclA(1, &access, nullptr, &acl);
        SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                        nullptr, nullptr, acl, nullptr);
        LocalFree(acl);
        RegCloseKey(key);
    }
    ~ReadOnlyInstallerKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_path.c_str()); }

    bool WriteAccessRefused() const
    {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (result == ERROR_SUCCESS)
            RegCloseKey(key);
        return result != ERROR_SUCCESS;
    }

private:
    std::string m_path;
};

} // namespace

TEST(LanguageModule, InstallerLanguageFromAReadOnlyKey)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("UseInstallerLanguage=1\r\nSupportedLanguages=german\r\n"));
    ScopedFile installer(JoinPath(GetWindowsDir(), "vavevida.ini"),
                         "[SystemInfo]\r\nSetupSoftwareKey=ModaviTestInstaller\r\n");
    ReadOnlyInstallerKey key("ModaviTestInstaller", "Japanese");
    CLanguageModule language;
    EXPECT_EQ("Japanese", language.DetermineLanguageName());
    // The key really is read-only here, so opening it for full access would fail.
    EXPECT_TRUE(key.WriteAccessRefused());
}

TEST(LanguageModule, MissingInstallerKeyGivesEnglish)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("UseInstallerLanguage=1\r\n"));
    ScopedFile installer(JoinPath(GetWindowsDir(), "vavevida.ini"),
                         "[SystemInfo]\r\nSetupSoftwareKey=ModaviNoSuchKey\r\n");
    CLanguageModule language;
    EXPECT_EQ("english", language.DetermineLanguageName());
}

TEST(LanguageModule, MissingModuleRaisesWithTheFileName)
{
    ScopedFile ini(SettingsFilePath(), SettingsText("SupportedLanguages=turkish\r\n"));
    // The test folder holds no language modules.
    CLanguageModule language;
    EXPECT_EQ("Can't open CplTurkish.dll", ErrorText([&] { language.SelectLanguage(); }));
}

TEST(TraceChannel, DebugSettingSwitchesTracing)
{
    for (const char* value : {"trace", "Trace", "TRACE"})
        EXPECT_TRUE(CTraceChannel::IsTraceSetting(value)) << value;
    for (const char* value : {"TRACE2", "yes", "", " TRACE"})
        EXPECT_FALSE(CTraceChannel::IsTraceSetting(value)) << value;

    ScopedFile ini(SettingsFilePath(), SettingsText("Debug=Trace\r\n"));
    CTraceChannel on("Dib");
    EXPECT_TRUE(on.IsEnabled());
    EXPECT_EQ("Dib", on.GetName());
}

TEST(TraceChannel, MissingSettingsFileRaisesNothing)
{
    DeleteFileA(SettingsFilePath().c_str());
    CTraceChannel channel("StatusPage");
    EXPECT_FALSE(channel.IsEnabled());
    EXPECT_NE(nullptr, channel.GetMutex());
}

namespace {
const char kChildFlag[] = "--open-trace-mutex";
}

TEST(TraceChannel, TwoProcessesShareOneMutex)
{
    {
        CTraceChannel channel("Dib");
        ASSERT_NE(nullptr, channel.GetMutex());
        // A second process of ours finds the mutex by its name while we hold it.
        std::string command = "\"" + GetProgramPath() + "\" " + kChildFlag;
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        WaitForSingleObject(process.hProcess, 20000);
        DWORD exitCode = 99;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(0u, exitCode) << "the second process did not find the same mutex";
    }
    // Once the last channel is gone the name no longer exists.
    HANDLE gone = OpenMutexA(SYNCHRONIZE, FALSE, kTraceMutexName);
    EXPECT_EQ(nullptr, gone);
    if (gone)
        CloseHandle(gone);
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == kChildFlag) {
        // The first process's channel made the mutex: it must exist before ours.
        HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, kTraceMutexName);
        if (!existing)
            return 1;
        CloseHandle(existing);
        CTraceChannel channel("StatusPage");
        return channel.GetMutex() ? 0 : 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
