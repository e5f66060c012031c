#include "pages/ControlText.h"

#include "settings/WideText.h"

#include <vector>

void ValueText::Attach(HWND control)
{
    m_hControl = control;
    m_shown.reset();
}

void ValueText::Set(const std::wstring& text)
{
    if (!m_hControl || m_shown == text)
        return;
    if (SetWindowTextW(m_hControl, text.c_str()))
        m_shown = text;
    else
        m_shown.reset(); // not known: the next text is set whatever it is
}

void ValueText::SetUtf8(const std::string& text)
{
    Set(WideFromUtf8(text));
}

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
