// uiprobe: looks at and drives the windows of other programs for the
// end-to-end tests. Texts are printed as UTF-8; windows are given as
// hexadecimal handles (as "list" and "find" print them).
//
//   uiprobe list                                   top-level windows: hwnd pid visible class "title" x y w h
//   uiprobe find [--class C] [--title T] [--pid P] [--visible] [--timeout MS]
//                                                  polls until found; prints the hwnd; exit 1 on timeout
//   uiprobe gone HWND [--timeout MS]               waits until the window no longer exists
//   uiprobe watch [find options] --timeout MS     until the timeout: "hwnd text" for each matching window
//                                                  as it comes with a text (e.g. the shell's balloons, tool-tip
//                                                  windows whose text is the balloon's), flushed at once
//   uiprobe text HWND [--id N]                     the text of the window or of its control N
//   uiprobe msgbox --title T [--timeout MS]        waits for a message box; prints its text (control 65535)
//   uiprobe children HWND                          child windows: hwnd id class "text" visible
//   uiprobe rect HWND                              screen rectangle: x y w h
//   uiprobe post HWND MSG [WPARAM [LPARAM]] [--repeat N]  PostMessage, N times (numbers decimal or 0x-hex)
//   uiprobe send HWND MSG [WPARAM [LPARAM]]        SendMessage; prints the result
//   uiprobe command HWND ID                        posts WM_COMMAND with ID
//   uiprobe key HWND VK                            posts WM_KEYDOWN and WM_KEYUP
//   uiprobe close HWND                             posts WM_CLOSE
//   uiprobe focus HWND                             the control with the keyboard focus in the window's
//                                                  thread: its id and class
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
#include "ProbeArguments.h"
#include "ProbePictures.h"
#include "ProcessFigures.h"
#include "WindowSearch.h"
#include "framework/Handles.h"
#include "settings/WideText.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// What a subcommand needs: its window (for those that act on one) and its arguments.
struct Call {
    const ProbeArguments& args;
    HWND window;
};

int List(const Call&)
{
    EnumWindows([](HWND window, LPARAM) { PrintWindowLine(window); return TRUE; }, 0);
    return 0;
}

int Find(const Call& call)
{
    std::vector<HWND> found;
    if (!PollFor(call.args.timeout, [&] { found = FindTopLevel(call.args); return !found.empty(); }))
        return 1;
    for (HWND window : found)
        PrintWindowLine(window);
    return 0;
}

int Watch(const Call& call)
{
    std::set<HWND> shown; // matching, with a text, at the last look
    PollFor(call.args.timeout, [&] {
        std::set<HWND> now;
        for (HWND window : FindTopLevel(call.args)) {
            const std::string text = WindowText(window);
            if (text.empty())
                continue;
            now.insert(window);
            if (!shown.count(window))
                printf("%llx %s\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
                       Escape(text).c_str());
        }
        fflush(stdout);
        shown = now;
        return false;
    });
    return 0;
}

int MessageBoxText(const Call& call)
{
    ProbeArguments box = call.args;
    box.className = L"#32770";
    box.hasClass = true;
    std::vector<HWND> found;
    if (!PollFor(box.timeout, [&] { found = FindTopLevel(box); return !found.empty(); }))
        return 1;
    HWND text = GetDlgItem(found.front(), 65535);
    printf("%s\n", Escape(text ? WindowText(text) : std::string()).c_str());
    return 0;
}

int ModuleString(const Call& call)
{
    UniqueModule module(LoadLibraryExW(call.args.at(0).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return 1;
    const wchar_t* text = nullptr;
    int length = LoadStringW(module.get(), UINT(call.args.numberAt(1)), reinterpret_cast<LPWSTR>(&text), 0);
    printf("%s\n", Escape(length > 0 ? Utf8FromWide(std::wstring(text, size_t(length))) : std::string()).c_str());
    return length > 0 ? 0 : 1;
}

int DrawRow(const Call& call)
{
    const ProbeArguments& a = call.args;
    return DrawRowText(a.at(0).c_str(), int(a.numberAt(1)), int(a.numberAt(2)), a.at(3), int(a.numberAt(4)), a.at(5),
                       a.at(6) == L"right", a.at(7));
}

int Gone(const Call& call)
{
    return PollFor(call.args.timeout, [&] { return !IsWindow(call.window); }) ? 0 : 1;
}

int Process(const Call& call)
{
    return PrintProcessFigures(DWORD(call.args.numberAt(0)));
}

int Modules(const Call& call)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(call.window, &pid);
    return PrintProcessModules(pid);
}

int Text(const Call& call)
{
    HWND target = call.args.id >= 0 ? GetDlgItem(call.window, call.args.id) : call.window;
    if (!target)
        return 1;
    printf("%s\n", Escape(WindowText(target)).c_str());
    return 0;
}

int Children(const Call& call)
{
    EnumChildWindows(call.window, [](HWND child, LPARAM) { PrintChildLine(child); return TRUE; }, 0);
    return 0;
}

int Rect(const Call& call)
{
    RECT r;
    GetWindowRect(call.window, &r);
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

int Post(const Call& call)
{
    const ProbeArguments& a = call.args;
    for (unsigned long i = 0; i < a.repeat; ++i)
        if (!PostMessageW(call.window, UINT(a.numberAt(1)), WPARAM(a.numberAt(2)), LPARAM(a.numberAt(3))))
            return 1;
    return 0;
}

int Send(const Call& call)
{
    const ProbeArguments& a = call.args;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(call.window, UINT(a.numberAt(1)), WPARAM(a.numberAt(2)), LPARAM(a.numberAt(3)),
                             SMTO_ABORTIFHUNG, 5000, &answer))
        return 1;
    printf("%lld\n", static_cast<long long>(answer));
    return 0;
}

int Command(const Call& call)
{
    return PostMessageW(call.window, WM_COMMAND, WPARAM(call.args.numberAt(1)), 0) ? 0 : 1;
}

int Key(const Call& call)
{
    WPARAM key = WPARAM(call.args.numberAt(1));
    return PostMessageW(call.window, WM_KEYDOWN, key, 1) && PostMessageW(call.window, WM_KEYUP, key, 0xC0000001) ? 0
                                                                                                               : 1;
}

int Focus(const Call& call)
{
    GUITHREADINFO info = {sizeof(info)};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(call.window, nullptr), &info) || !info.hwndFocus)
        return 1;
    printf("%d %s\n", GetDlgCtrlID(info.hwndFocus), ClassName(info.hwndFocus).c_str());
    return 0;
}

int Close(const Call& call)
{
    return PostMessageW(call.window, WM_CLOSE, 0, 0) ? 0 : 1;
}

int Capture(const Call& call)
{
    return CaptureWindow(call.window, call.args.at(1).c_str());
}

// What a subcommand takes first: nothing, any positional word, or a window that exists.
enum class Needs { Nothing, Words, LiveWindow };

struct Subcommand {
    const wchar_t* name;
    Needs needs;
    int (*run)(const Call&);
};

const Subcommand kSubcommands[] = {
    {L"list", Needs::Nothing, List},           {L"find", Needs::Nothing, Find},
    {L"watch", Needs::Nothing, Watch},
    {L"msgbox", Needs::Nothing, MessageBoxText}, {L"string", Needs::Words, ModuleString},
    {L"drawtext", Needs::Words, DrawRow},     {L"gone", Needs::Words, Gone},
    {L"process", Needs::Words, Process},       {L"modules", Needs::LiveWindow, Modules},
    {L"text", Needs::LiveWindow, Text},        {L"children", Needs::LiveWindow, Children},
    {L"rect", Needs::LiveWindow, Rect},        {L"post", Needs::LiveWindow, Post},
    {L"send", Needs::LiveWindow, Send},        {L"command", Needs::LiveWindow, Command},
    {L"key", Needs::LiveWindow, Key},          {L"close", Needs::LiveWindow, Close},
    {L"capture", Needs::LiveWindow, Capture},  {L"focus", Needs::LiveWindow, Focus},
};

int Usage()
{
    fprintf(stderr, "usage: uiprobe list|find|watch|gone|text|msgbox|children|rect|post|send|command|key|close|capture|"
                    "focus|process|modules|string|drawtext ...\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage();
    const std::wstring verb = argv[1];
    const ProbeArguments args = ParseProbeArguments(argc, argv, 2);
    for (const Subcommand& subcommand : kSubcommands) {
        if (verb != subcommand.name)
            continue;
        if (subcommand.needs != Needs::Nothing && args.positional.empty())
            return Usage();
        HWND window = args.windowAt(0);
        if (subcommand.needs == Needs::LiveWindow && !IsWindow(window)) {
            fprintf(stderr, "uiprobe: no window %ls\n", args.at(0).c_str());
            return 1;
        }
        return subcommand.run(Call{args, window});
    }
    return Usage();
}
