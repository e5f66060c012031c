// Finding other programs' windows and printing what they show.
#pragma once

#include "ProbeArguments.h"

#include <windows.h>

#include <string>
#include <vector>

// The text of a window or control; WM_GETTEXT works across processes for
// standard controls.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Quotes, backslashes and control characters escaped, so a text is one line.
std::string Escape(const std::string& text);

// Top-level windows matching the class, title, process and visibility given.
std::vector<HWND> FindTopLevel(const ProbeArguments& options);

// hwnd pid visible class "title" x y w h
void PrintWindowLine(HWND window);
// hwnd id class "text" visible
void PrintChildLine(HWND window);

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
