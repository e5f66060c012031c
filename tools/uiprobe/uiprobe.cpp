// uiprobe: looks at and drives the windows of other programs for the
// end-to-end tests. Texts are printed as UTF-8; windows are given as
// hexadecimal handles (as "list" and "find" print them).
//
//   uiprobe list                                   top-level windows: hwnd pid visible class "title" x y w h
//   uiprobe find [--class C] [--title T] [--pid P] [--visible] [--timeout MS]
//                                                  polls until found; prints the hwnd; exit 1 on timeout
//   uiprobe gone HWND [--timeout MS]               waits until the window no longer exists
//   uiprobe text HWND [--id N]                     the text of the window or of its control N
//   uiprobe msgbox --title T [--timeout MS]        waits for a message box; prints its text (control 65535)
//   uiprobe children HWND                          child windows: hwnd id class "text" visible
//   uiprobe rect HWND                              screen rectangle: x y w h
//   uiprobe post HWND MSG [WPARAM [LPARAM]] [--repeat N]  PostMessage, N times (numbers decimal or 0x-hex)
//   uiprobe send HWND MSG [WPARAM [LPARAM]]        SendMessage; prints the result
//   uiprobe command HWND ID                        posts WM_COMMAND with ID
//   uiprobe key HWND VK                            posts WM_KEYDOWN and WM_KEYUP
//   uiprobe close HWND                             posts WM_CLOSE
//   uiprobe capture HWND FILE.bmp                  the window's pixels on screen, as a 24-bit BMP
//   uiprobe process PID                            handles, GDI objects, user objects, private bytes, cpu ms
//                                                  (where Wine answers 0: handles from the system's
//                                                  handle list, GDI objects from the GDI handle table;
//                                                  under Wine cpu ms from the times of the threads)
//   uiprobe modules HWND                           file names of the modules loaded by the window's process
//   uiprobe string MODULE ID                       string resource ID of a module (a language module)
//   uiprobe drawtext FILE.bmp W H FACE HEIGHT R,G,B left|right TEXT
//                                                  TEXT as the skinned window draws a row: font FACE (empty:
//                                                  the system's) at HEIGHT, on black, in a W x H box, left
//                                                  (a value) or right (a label); prints the font's line height
#include "settings/WideText.h"
#include "../../tests/support/GdiObjects.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

unsigned long long ParseNumberArg(const std::wstring& text)
{
    return wcstoull(text.c_str(), nullptr, 0);
}

HWND ParseWindow(const std::wstring& text)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(text.c_str(), nullptr, 16)));
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT works across processes for standard controls.
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

struct Options {
    std::vector<std::wstring> positional;
    std::wstring className, title;
    bool hasClass = false, hasTitle = false, visibleOnly = false;
    DWORD pid = 0;
    DWORD timeout = 0;
    int id = -1;
    unsigned long repeat = 1;
};

Options ParseOptions(int argc, wchar_t** argv, int first)
{
    Options options;
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

struct Search {
    const Options* options;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    const Options& o = *search->options;
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

std::vector<HWND> FindTopLevel(const Options& options)
{
    Search search{&options, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until the condition holds or the timeout passes (bounded wait, no blind sleep).
template <class Condition>
bool PollFor(DWORD timeout, Condition condition)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeout)
            return false;
        Sleep(50);
    }
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

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM)
{
    PrintWindowLine(window);
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM)
{
    printf("%llx %d %s \"%s\" %d\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
           GetDlgCtrlID(window), ClassName(window).c_str(), Escape(WindowText(window)).c_str(),
           IsWindowVisible(window) ? 1 : 0);
    return TRUE;
}

bool WriteBmp(const wchar_t* path, HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(size_t(stride) * size_t(height));
    if (!GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                   DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    FILE* out = _wfopen(path, L"wb");
    if (!out)
        return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
              fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return fclose(out) == 0 && ok;
}

int Capture(HWND window, const wchar_t* path)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return 1;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return 1;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, old);
    bool ok = WriteBmp(path, memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok ? 0 : 1;
}

// Live GDI objects of another process, counted in its environment block's
// GDI handle table as tests/support/GdiObjects.h counts its own; -1 when the
// table cannot be read.
long RemoteGdiObjects(HANDLE process, DWORD pid)
{
    const uint8_t* peb = gdiobjects::EnvironmentBlockOf(process);
    if (!peb)
        return -1;
    const uint8_t* table = nullptr;
    if (!ReadProcessMemory(process, peb + gdiobjects::kPebGdiTableOffset, &table, sizeof table, nullptr) || !table)
        return -1;
    std::vector<uint8_t> entries(gdiobjects::kEntryCount * gdiobjects::kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        return -1;
    return gdiobjects::CountLiveEntries(entries.data(), pid);
}

// Handles of another process, from the system's handle list (Wine answers 0
// to GetProcessHandleCount for other processes); -1 when it cannot be read.
long SystemHandleCount(DWORD pid)
{
    struct Entry {
        ULONG ownerPid;
        UCHAR objectType;
        UCHAR flags;
        USHORT handle;
        void* object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<uint8_t> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(16 /* SystemHandleInformation */, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == 0)
            break;
        if (status != LONG(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */ || buffer.size() >= (256u << 20))
            return -1;
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    }
    ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long owned = 0;
    for (ULONG i = 0; i < count; ++i)
        owned += entries[i].ownerPid == pid;
    return owned;
}

bool RunsOnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

unsigned long long FileTime100ns(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Processor time (kernel and user) of another process in milliseconds. Wine
// answers GetProcessTimes for another process with the caller's own times,
// so there it is the sum of GetThreadTimes over the process's threads, which
// Wine takes from the system's accounting of each thread.
unsigned long long ProcessCpuMs(HANDLE process, DWORD pid)
{
    FILETIME created, exited, kernel, user;
    if (!RunsOnWine()) {
        if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
            return 0;
        return (FileTime100ns(kernel) + FileTime100ns(user)) / 10000;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    unsigned long long total = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread)
            continue;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user))
            total += FileTime100ns(kernel) + FileTime100ns(user);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total / 10000;
}

int ProcessFigures(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return 1;
    DWORD handleCount = 0;
    GetProcessHandleCount(process, &handleCount);
    long handles = handleCount ? long(handleCount) : SystemHandleCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine fills only the basic record; its PagefileUsage is the same commit
    // charge (private bytes) that PrivateUsage repeats on Windows.
    SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    long gdi = long(GetGuiResources(process, GR_GDIOBJECTS));
    if (gdi == 0)
        gdi = RemoteGdiObjects(process, pid);
    printf("handles %ld\ngdi %ld\nuser %lu\nprivate %llu\nworkingset %llu\ncpu_ms %llu\n", handles, gdi,
           GetGuiResources(process, GR_USEROBJECTS), static_cast<unsigned long long>(privateBytes),
           static_cast<unsigned long long>(memory.WorkingSetSize), ProcessCpuMs(process, pid));
    CloseHandle(process);
    return 0;
}

// What the skinned window draws for one row, so that a test can compare the
// window's pixels with it.
int DrawRowText(const wchar_t* path, int width, int height, const std::wstring& face, int fontHeight,
                const std::wstring& colour, bool right, const std::wstring& text)
{
    int red = 0, green = 0, blue = 0;
    if (width <= 0 || height <= 0 || swscanf(colour.c_str(), L"%d,%d,%d", &red, &green, &blue) != 3)
        return 2;
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face.c_str());
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = SelectObject(memory, font);
    RECT box = {0, 0, width, height};
    FillRect(memory, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(red, green, blue));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(memory, &metrics);
    DrawTextW(memory, text.c_str(), int(text.size()), &box, right ? DT_RIGHT : DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    bool ok = WriteBmp(path, memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    printf("%ld\n", metrics.tmHeight);
    return ok ? 0 : 1;
}

int Usage()
{
    fprintf(stderr, "usage: uiprobe list|find|gone|text|msgbox|children|rect|post|send|command|key|close|capture|process|drawtext ...\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage();
    std::wstring verb = argv[1];
    Options o = ParseOptions(argc, argv, 2);
    auto arg = [&](size_t i) -> std::wstring { return i < o.positional.size() ? o.positional[i] : L""; };

    if (verb == L"list") {
        EnumWindows(PrintTopLevel, 0);
        return 0;
    }
    if (verb == L"find") {
        std::vector<HWND> found;
        bool ok = PollFor(o.timeout, [&] { found = FindTopLevel(o); return !found.empty(); });
        if (!ok)
            return 1;
        for (HWND window : found)
            PrintWindowLine(window);
        return 0;
    }
    if (verb == L"msgbox") {
        Options box = o;
        box.className = L"#32770";
        box.hasClass = true;
        std::vector<HWND> found;
        if (!PollFor(o.timeout, [&] { found = FindTopLevel(box); return !found.empty(); }))
            return 1;
        HWND text = GetDlgItem(found.front(), 65535);
        printf("%s\n", Escape(text ? WindowText(text) : std::string()).c_str());
        return 0;
    }
    if (o.positional.empty())
        return Usage();
    if (verb == L"string") {
        HMODULE module = LoadLibraryExW(arg(0).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module)
            return 1;
        const wchar_t* text = nullptr;
        int length = LoadStringW(module, UINT(ParseNumberArg(arg(1))), reinterpret_cast<LPWSTR>(&text), 0);
        printf("%s\n", Escape(length > 0 ? Utf8FromWide(std::wstring(text, size_t(length))) : std::string()).c_str());
        FreeLibrary(module);
        return length > 0 ? 0 : 1;
    }
    HWND window = ParseWindow(arg(0));
    if (verb == L"drawtext")
        return DrawRowText(arg(0).c_str(), int(ParseNumberArg(arg(1))), int(ParseNumberArg(arg(2))), arg(3),
                           int(ParseNumberArg(arg(4))), arg(5), arg(6) == L"right", arg(7));
    if (verb == L"gone")
        return PollFor(o.timeout, [&] { return !IsWindow(window); }) ? 0 : 1;
    if (verb == L"process")
        return ProcessFigures(DWORD(ParseNumberArg(arg(0))));
    if (!IsWindow(window)) {
        fprintf(stderr, "uiprobe: no window %ls\n", arg(0).c_str());
        return 1;
    }
    if (verb == L"modules") {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process)
            return 1;
        HMODULE modules[512];
        DWORD bytes = 0;
        EnumProcessModules(process, modules, sizeof modules, &bytes);
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            wchar_t name[MAX_PATH] = {};
            if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH))
                printf("%s\n", Utf8FromWide(name).c_str());
        }
        CloseHandle(process);
        return 0;
    }
    if (verb == L"text") {
        HWND target = o.id >= 0 ? GetDlgItem(window, o.id) : window;
        if (!target)
            return 1;
        printf("%s\n", Escape(WindowText(target)).c_str());
        return 0;
    }
    if (verb == L"children") {
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (verb == L"rect") {
        RECT r;
        GetWindowRect(window, &r);
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (verb == L"post" || verb == L"send") {
        UINT message = UINT(ParseNumberArg(arg(1)));
        WPARAM w = WPARAM(ParseNumberArg(arg(2)));
        LPARAM l = LPARAM(ParseNumberArg(arg(3)));
        if (verb == L"post") {
            for (unsigned long i = 0; i < o.repeat; ++i)
                if (!PostMessageW(window, message, w, l))
                    return 1;
            return 0;
        }
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 5000, &answer))
            return 1;
        printf("%lld\n", static_cast<long long>(answer));
        return 0;
    }
    if (verb == L"command")
        return PostMessageW(window, WM_COMMAND, WPARAM(ParseNumberArg(arg(1))), 0) ? 0 : 1;
    if (verb == L"key") {
        WPARAM key = WPARAM(ParseNumberArg(arg(1)));
        return PostMessageW(window, WM_KEYDOWN, key, 1) && PostMessageW(window, WM_KEYUP, key, 0xC0000001) ? 0 : 1;
    }
    if (verb == L"close")
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (verb == L"capture")
        return Capture(window, arg(1).c_str());
    return Usage();
}
