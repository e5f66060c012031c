// Window-class registration for windows whose objects are CWnd.
#pragma once

#include <windows.h>

#include <string>

// Registers a named class with the standard window procedure: class style 0,
// no extra bytes, no icon, arrow cursor, no background brush, no menu.
// The result is not needed: a class registered twice keeps working.
void RegisterNamedWindowClass(const wchar_t* className);

// Registers (once) an anonymous class with the standard window procedure and
// the given style, cursor, brush and icon; returns its generated name.
std::wstring RegisterAnonymousWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon);
