#include "settings/StartupEntry.h"

#include "settings/ProgramPaths.h"
#include "settings/SystemMessage.h"

#include <windows.h>


namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Modavi";

bool HasEntry(HKEY root)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExW(key, kValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

} // namespace

StartupEntries ReadStartupEntries()
{
    return {HasEntry(HKEY_CURRENT_USER), HasEntry(HKEY_LOCAL_MACHINE)};
}

std::wstring StartupCommand()
{
    return L"\"" + GetProgramPathW() + L"\" icon";
}

bool SetUserStartupEntry(bool on, std::string& reason)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        const std::wstring command = StartupCommand();
        result = on ? RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                     DWORD((command.size() + 1) * sizeof(wchar_t)))
                    : RegDeleteValueW(key, kValueName);
        RegCloseKey(key);
    }
    if (!on && result == ERROR_FILE_NOT_FOUND)
        result = ERROR_SUCCESS; // nothing to remove
    if (result != ERROR_SUCCESS)
        reason = SystemMessage(DWORD(result));
    return result == ERROR_SUCCESS;
}
