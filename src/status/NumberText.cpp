#include "status/NumberText.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

uint32_t TruncateToUint32(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Exact for every double: the integer part, reduced modulo 2^32.
    double wrapped = std::fmod(std::trunc(value), 4294967296.0);
    if (wrapped < 0)
        wrapped += 4294967296.0;
    return uint32_t(wrapped);
}

std::string FormatPrintf(const char* format, ...)
{
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int count = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (count < 0) {
        va_end(again);
        return text;
    }
    if (size_t(count) < sizeof small) {
        text.assign(small, size_t(count));
    } else {
        std::vector<char> large(size_t(count) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        text.assign(large.data(), size_t(count));
    }
    va_end(again);
    return text;
}
