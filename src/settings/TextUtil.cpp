#include "settings/TextUtil.h"

#include <cctype>
#include <climits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

int32_t ParseInt(const char* text)
{
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10 + (*text++ - '0');
        if (value > int64_t(INT32_MAX) + 1)
            value = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        return value > INT32_MAX ? INT32_MIN : int32_t(-value);
    return value > INT32_MAX ? INT32_MAX : int32_t(value);
}

uint32_t ParseHex(const char* text)
{
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexDigit(text[2]) >= 0)
        text += 2;
    uint32_t value = 0;
    for (int digit; (digit = HexDigit(*text)) >= 0; ++text)
        value = value * 16 + uint32_t(digit);
    return negative ? 0u - value : value;
}

uint32_t ParseNumber(const std::string& text)
{
    if (text.size() >= 2 && text[0] == '0' && text[1] == 'x')
        return ParseHex(text.c_str() + 2);
    return uint32_t(ParseInt(text.c_str()));
}

void SplitString(std::vector<std::string>& list, const std::string& text, const char* separators)
{
    const std::string seps(separators);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find_first_not_of(seps, pos);
        if (start == std::string::npos)
            break;
        size_t end = text.find_first_of(seps, start);
        if (end == std::string::npos)
            end = text.size();
        list.push_back(text.substr(start, end - start));
        pos = end;
    }
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    bool folderEnds = !folder.empty() && folder.back() == '\\';
    bool nameStarts = !name.empty() && name.front() == '\\';
    if (!folderEnds && !nameStarts)
        return folder + "\\" + name;
    return folder + name;
}

uint32_t ReadIniRgb(const std::string& text)
{
    std::vector<std::string> items;
    SplitString(items, text, ",");
    if (items.size() != 3)
        return 0;
    uint32_t red = uint32_t(ParseInt(items[0])) & 0xFF;
    uint32_t green = uint32_t(ParseInt(items[1])) & 0xFF;
    uint32_t blue = uint32_t(ParseInt(items[2])) & 0xFF;
    return 0x02000000u + red + green * 0x100u + blue * 0x10000u;
}

std::string ToUpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

std::string ToLowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return ToLowerAscii(a) == ToLowerAscii(b);
}

std::wstring FillPlaceholders(const std::wstring& pattern, const std::wstring& first, const std::wstring& second)
{
    std::wstring text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == L'%' && i + 1 < pattern.size();
        if (placeholder && pattern[i + 1] == L'1')
            text += first, ++i;
        else if (placeholder && pattern[i + 1] == L'2')
            text += second, ++i;
        else
            text += pattern[i];
    }
    return text;
}

std::wstring ArgumentsAfterProgramName(const std::wstring& commandLine)
{
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find_first_of(L" \t");
    }
    const size_t arguments = commandLine.find_first_not_of(L" \t", end);
    return arguments == std::wstring::npos ? std::wstring() : commandLine.substr(arguments);
}
