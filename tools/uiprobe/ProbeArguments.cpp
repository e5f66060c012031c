#include "ProbeArguments.h"

#include <cstdlib>

unsigned long long ParseNumberArg(const std::wstring& text)
{
    return wcstoull(text.c_str(), nullptr, 0);
}

unsigned long long ProbeArguments::numberAt(size_t index) const
{
    return ParseNumberArg(at(index));
}

HWND ProbeArguments::windowAt(size_t index) const
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(at(index).c_str(), nullptr, 16)));
}

ProbeArguments ParseProbeArguments(int argc, wchar_t** argv, int first)
{
    ProbeArguments options;
    for (int i = first; i < argc; ++i) {
        std::wstring arg = argv[i];
        auto next = [&]() -> std::wstring { return i + 1 < argc ? argv[++i] : L""; };
        if (arg == L"--class") { options.className = next(); options.hasClass = true; }
        else if (arg == L"--title") { options.title = next(); options.hasTitle = true; }
        else if (arg == L"--pid") options.pid = DWORD(ParseNumberArg(next()));
        else if (arg == L"--timeout") options.timeout = DWORD(ParseNumberArg(next()));
        else if (arg == L"--id") options.id = int(ParseNumberArg(next()));
        else if (arg == L"--repeat") options.repeat = static_cast<unsigned long>(ParseNumberArg(next()));
        else if (arg == L"--visible") options.visibleOnly = true;
        else options.positional.push_back(arg);
    }
    return options;
}
