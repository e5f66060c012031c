#include "settings/IniFile.h"

#include "settings/ProgramPaths.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

#include <windows.h>

#include <io.h>
#include <vector>

std::string SettingsFilePath()
{
    return JoinPath(GetProgramDir(), Settings::kFileName);
}

std::string ReadIniString(const char* key, const char* section, const char* defaultText)
{
    std::string path = SettingsFilePath();
    if (_access(path.c_str(), 0) != 0)
        throw XVuk("Can't read from ini file: %s", key);
    char buffer[512];
    GetPrivateProfileStringA(section, key, defaultText, buffer, sizeof buffer, path.c_str());
    return buffer;
}

int32_t ReadIniInt(const char* key, const char* section)
{
    return ParseInt(ReadIniString(key, section, ""));
}

int32_t ReadOptionalIniInt(const char* key)
{
    return ParseInt(ReadProfileString(SettingsFilePath(), key, "", 16));
}

std::string ReadProfileString(const std::string& path, const char* key, const char* defaultText,
                              unsigned size)
{
    std::vector<char> buffer(size ? size : 1, '\0');
    GetPrivateProfileStringA(Settings::kSection, key, defaultText, buffer.data(), DWORD(buffer.size()),
                             path.c_str());
    buffer.back() = '\0';
    return buffer.data();
}
