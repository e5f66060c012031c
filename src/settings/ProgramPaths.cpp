#include "settings/ProgramPaths.h"

#include <windows.h>

#include <vector>

std::string GetProgramPath()
{
    // Grow the buffer rather than cut a long path: a cut path names the wrong folder.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetProgramPathW()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string GetProgramDir()
{
    std::string path = GetProgramPath();
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        // Only a drive (or nothing): keep the drive, as _splitpath would.
        size_t colon = path.find(':');
        return colon == std::string::npos ? std::string() : path.substr(0, colon + 1);
    }
    return path.substr(0, slash + 1);
}

std::string GetWindowsDir()
{
    char buffer[MAX_PATH + 1];
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::string();
    return std::string(buffer, length);
}

bool IsWindowsNT()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
