// Texts of dialog controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// One value control of a page, set only when its text changes: a static
// control repaints on every WM_SETTEXT, and the pages rewrite their values
// every tick. The text last given is kept, so telling a change sends the
// control no message; the handle is kept, since looking a control up by id
// asks the window server each time.
class ValueText {
public:
    // Follows `control` (null: none); its present text is not known yet.
    void Attach(HWND control);
    // The control shows `text`; a missing control is left alone.
    void Set(const std::wstring& text);
    void SetUtf8(const std::string& text);

private:
    HWND m_hControl = nullptr;
    std::optional<std::wstring> m_shown; // what the control was last given
};

// The text control `id` of `dialog` shows; empty when there is no such control.
std::wstring GetControlText(HWND dialog, int id);
