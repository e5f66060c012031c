#include "settings/XVuk.h"

#include <cstdarg>
#include <cstdio>

XVuk::XVuk(const char* format, ...)
{
    char buffer[kMaxLength + 1];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0)
        buffer[0] = '\0';
    m_message = buffer;
}
