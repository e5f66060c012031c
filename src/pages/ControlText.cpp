#include "pages/ControlText.h"

#include "settings/WideText.h"

#include <vector>

namespace {

std::wstring WindowText(HWND control)
{
    int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(control, buffer.data(), length + 1);
    return buffer.data();
}

} // namespace

std::wstring GetControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::wstring();
}

void SetControlText(HWND control, const std::wstring& text)
{
    if (control && WindowText(control) != text)
        SetWindowTextW(control, text.c_str());
}

void SetControlTextUtf8(HWND control, const std::string& text)
{
    SetControlText(control, WideFromUtf8(text));
}
