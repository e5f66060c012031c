// The probe's command line: positional words and the options every
// subcommand may take.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProbeArguments {
    std::vector<std::wstring> positional;
    std::wstring className, title;
    bool hasClass = false, hasTitle = false, visibleOnly = false;
    DWORD pid = 0;
    DWORD timeout = 0;
    int id = -1;
    unsigned long repeat = 1;

    // The positional word at index, empty when there is none.
    std::wstring at(size_t index) const { return index < positional.size() ? positional[index] : L""; }
    // The same as a decimal or 0x-hexadecimal number.
    unsigned long long numberAt(size_t index) const;
    // The same as a window handle, written in hexadecimal.
    HWND windowAt(size_t index) const;
};

unsigned long long ParseNumberArg(const std::wstring& text);
ProbeArguments ParseProbeArguments(int argc, wchar_t** argv, int first);
