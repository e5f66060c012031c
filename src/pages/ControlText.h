// Texts of dialog controls, set only when they change: a static control
// repaints on every WM_SETTEXT, and the pages rewrite theirs every tick.
// The pages keep their controls' handles, since looking a control up by id
// asks the window server each time.
#pragma once

#include <windows.h>

#include <string>

// `control` shows `text`; a missing control (null) is left alone.
void SetControlText(HWND control, const std::wstring& text);
void SetControlTextUtf8(HWND control, const std::string& text);

// The text control `id` of `dialog` shows; empty when there is no such control.
std::wstring GetControlText(HWND dialog, int id);
