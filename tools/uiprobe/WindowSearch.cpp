#include "WindowSearch.h"

#include "settings/WideText.h"

#include <cstdio>

std::string WindowText(HWND window)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer))
        return std::string();
    LRESULT length = LRESULT(answer);
    std::vector<wchar_t> buffer(size_t(length) + 2, L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 2000, &answer);
    return Utf8FromWide(buffer.data());
}

std::string ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Utf8FromWide(name);
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

namespace {

struct Search {
    const ProbeArguments* options;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    const ProbeArguments& o = *search->options;
    if (o.hasClass && Utf8FromWide(o.className) != ClassName(window))
        return TRUE;
    if (o.visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (o.pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != o.pid)
            return TRUE;
    }
    if (o.hasTitle) {
        wchar_t title[512] = {};
        GetWindowTextW(window, title, 512);
        if (o.title != title)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> FindTopLevel(const ProbeArguments& options)
{
    Search search{&options, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PrintWindowLine(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT r = {};
    GetWindowRect(window, &r);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    printf("%llx %lu %d %s \"%s\" %ld %ld %ld %ld\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
           pid, IsWindowVisible(window) ? 1 : 0, ClassName(window).c_str(), Escape(Utf8FromWide(title)).c_str(),
           r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PrintChildLine(HWND window)
{
    printf("%llx %d %s \"%s\" %d\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
           GetDlgCtrlID(window), ClassName(window).c_str(), Escape(WindowText(window)).c_str(),
           IsWindowVisible(window) ? 1 : 0);
}
