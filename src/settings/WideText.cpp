#include "settings/WideText.h"

#include <windows.h>

namespace {

std::wstring Widen(UINT codePage, const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(size_t(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), result.data(), length);
    return result;
}

} // namespace

std::wstring WideFromUtf8(const std::string& text)
{
    return Widen(CP_UTF8, text);
}

std::wstring WideFromAnsi(const std::string& text)
{
    return Widen(CP_ACP, text);
}

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}
