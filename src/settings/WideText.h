// Conversions between the portable core's UTF-8 texts and Windows' UTF-16.
#pragma once

#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// Texts in the system's ANSI code page (paths, fixed English messages).
std::wstring WideFromAnsi(const std::string& text);
