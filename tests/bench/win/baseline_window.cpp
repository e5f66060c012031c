// The baseline of the start-up and memory benchmarks: the least a Win32
// program with a window does. It registers a class, creates one window the
// size of the skinned status window, paints it (a fill and one line of
// text), and ends when the window is closed. Built like Modavi.exe (static,
// GUI subsystem) and linking only user32 and gdi32, so that the difference
// between the two is what the program adds.
//
// Built a second time with BASELINE_LOADS_CONTROLS (and the program's
// manifest): it then also starts the common controls and reads its command
// line through the shell, as Modavi.exe does first thing, which tells the
// cost of loading those system libraries apart from the program's own.
#include <windows.h>

#ifdef BASELINE_LOADS_CONTROLS
#include <commctrl.h>
#include <shellapi.h>
#endif

namespace {

const wchar_t kClassName[] = L"ModaviBenchBaseline";

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, L"Baseline", -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

#ifdef BASELINE_LOADS_CONTROLS
void LoadControlsAndShell()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count))
        LocalFree(arguments);
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
#ifdef BASELINE_LOADS_CONTROLS
    LoadControlsAndShell();
#endif
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = BaselineProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, kClassName, L"Baseline", WS_POPUP | WS_VISIBLE, 200, 200, 388, 263, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return 1;
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
