#include "framework/WindowClass.h"

#include "framework/Wnd.h"

#include <cwchar>

void RegisterNamedWindowClass(const wchar_t* className)
{
    WNDCLASSW windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = CWnd::StandardWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
}

std::wstring RegisterAnonymousWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    wchar_t name[96];
    swprintf(name, sizeof name / sizeof name[0], L"Modavi:%x:%p:%p:%p", style, static_cast<void*>(cursor),
             static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSW existing = {};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), name, &existing)) {
        WNDCLASSW windowClass = {};
        windowClass.style = style;
        windowClass.lpfnWndProc = CWnd::StandardWndProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = cursor;
        windowClass.hbrBackground = background;
        windowClass.hIcon = icon;
        windowClass.lpszClassName = name;
        RegisterClassW(&windowClass);
    }
    return name;
}
