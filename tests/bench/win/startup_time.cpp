// Time from process start to the first painted window, for several programs
// measured the same way and in turns (so that a busy moment of the machine
// hits them alike):
//
//   bench_startup_time RUNS LABEL FOLDER PROGRAM CLASS [LABEL FOLDER PROGRAM CLASS ...]
//
// A start is timed from just before CreateProcess until the program waits
// for input with nothing left to do (WaitForInputIdle), a visible top-level
// window of CLASS belongs to it, and that window has no part left to paint.
// The program is then closed (WM_CLOSE to each of its top-level windows)
// and waited for, so that the next start finds no running instance. Each
// start prints "LABEL run N MS"; at the end each program prints
// "LABEL median MS min MS max MS". One untimed start of every program comes
// first: it brings the prefix's shared processes and file caches up.
#include <windows.h>

#include <shellapi.h>

#include "framework/Handles.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 15000;

struct Target {
    std::wstring label, folder, program, windowClass;
    std::vector<double> times;
};

double Seconds()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

struct WindowSearch {
    DWORD pid;
    const std::wstring* windowClass; // null: every top-level window of the process
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || (search->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    if (search->windowClass) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (*search->windowClass != name)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid, const std::wstring* windowClass, bool visibleOnly)
{
    WindowSearch search{pid, windowClass, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible window of the class whose update region is empty: it has been
// painted since it was shown.
bool HasPaintedWindow(DWORD pid, const std::wstring& windowClass)
{
    for (HWND window : WindowsOf(pid, &windowClass, true))
        if (!GetUpdateRect(window, nullptr, FALSE))
            return true;
    return false;
}

void CloseProgram(HANDLE process, DWORD pid)
{
    for (HWND window : WindowsOf(pid, nullptr, false))
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, kExitTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end when closed; terminated\n");
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kExitTimeoutMs);
    }
}

// One start; the time in milliseconds, or a negative number on failure.
double TimeOneStart(const Target& target)
{
    std::wstring path = target.folder + L"\\" + target.program;
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    double start = Seconds();
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, target.folder.c_str(),
                        &startup, &info)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", path.c_str(), GetLastError());
        return -1;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    double elapsed = -1;
    if (WaitForInputIdle(process.get(), kStartTimeoutMs) == 0) {
        // Bounded poll: the idle moment can come before the status window
        // is shown when start-up pumps messages on its way.
        while (Seconds() - start < kStartTimeoutMs / 1000.0) {
            if (HasPaintedWindow(info.dwProcessId, target.windowClass)) {
                elapsed = (Seconds() - start) * 1000.0;
                break;
            }
            if (WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0)
                break;
        }
    }
    if (elapsed < 0)
        std::fprintf(stderr, "%ls: no painted window of class %ls\n", target.label.c_str(),
                     target.windowClass.c_str());
    CloseProgram(process.get(), info.dwProcessId);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Usage()
{
    std::fprintf(stderr, "usage: bench_startup_time RUNS LABEL FOLDER PROGRAM CLASS [LABEL FOLDER PROGRAM CLASS ...]\n");
    return 2;
}

} // namespace

int main()
{
    int argc = 0;
    std::unique_ptr<wchar_t*, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &argc),
                                                               &LocalFree);
    wchar_t** argv = arguments.get();
    if (!argv)
        return Usage();
    if (argc < 6 || (argc - 2) % 4 != 0)
        return Usage();
    int runs = _wtoi(argv[1]);
    if (runs < 1)
        return Usage();
    std::vector<Target> targets;
    for (int i = 2; i + 3 < argc; i += 4)
        targets.push_back({argv[i], argv[i + 1], argv[i + 2], argv[i + 3], {}});

    for (const Target& target : targets)
        if (TimeOneStart(target) < 0)
            return 1;
    for (int run = 1; run <= runs; ++run) {
        for (Target& target : targets) {
            double ms = TimeOneStart(target);
            if (ms < 0)
                return 1;
            target.times.push_back(ms);
            std::printf("%ls run %d %.1f\n", target.label.c_str(), run, ms);
            std::fflush(stdout);
        }
    }
    for (const Target& target : targets)
        std::printf("%ls median %.1f min %.1f max %.1f\n", target.label.c_str(), Median(target.times),
                    *std::min_element(target.times.begin(), target.times.end()),
                    *std::max_element(target.times.begin(), target.times.end()));
    return 0;
}
