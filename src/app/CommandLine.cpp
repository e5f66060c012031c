#include "app/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

std::vector<std::wstring> GetProgramArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(words[i]);
    LocalFree(words);
    return arguments;
}

bool FirstArgumentIsIcon(const std::vector<std::wstring>& arguments)
{
    return !arguments.empty() && CompareStringOrdinal(arguments[0].c_str(), -1, L"icon", -1, TRUE) == CSTR_EQUAL;
}
