// Texts of dialog controls, set only when they change: a static control
// repaints on every WM_SETTEXT, and the pages rewrite theirs every tick.
#pragma once

#include <windows.h>

#include <string>

// Control `id` of `dialog` shows `text`; a missing control is left alone.
void SetControlText(HWND dialog, int id, const std::wstring& text);
void SetControlTextUtf8(HWND dialog, int id, const std::string& text);

// The text control `id` of `dialog` shows; empty when there is no such control.
std::wstring GetControlText(HWND dialog, int id);
