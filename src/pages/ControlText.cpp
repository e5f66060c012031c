#include "pages/ControlText.h"

#include "settings/WideText.h"

#include <vector>

std::wstring GetControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return std::wstring();
    int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(control, buffer.data(), length + 1);
    return buffer.data();
}

void SetControlText(HWND dialog, int id, const std::wstring& text)
{
    HWND control = GetDlgItem(dialog, id);
    if (control && GetControlText(dialog, id) != text)
        SetWindowTextW(control, text.c_str());
}

void SetControlTextUtf8(HWND dialog, int id, const std::string& text)
{
    SetControlText(dialog, id, WideFromUtf8(text));
}
