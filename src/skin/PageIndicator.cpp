#include "skin/PageIndicator.h"

std::wstring FormatPageIndicator(const std::wstring& format, int page, int pageCount)
{
    const int numbers[2] = {page, pageCount};
    size_t used = 0;
    std::wstring text;
    text.reserve(format.size() + 8);
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c == L'%' && i + 1 < format.size()) {
            wchar_t next = format[i + 1];
            if (next == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (next == L'd' && used < 2) {
                text += std::to_wstring(numbers[used++]);
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}
