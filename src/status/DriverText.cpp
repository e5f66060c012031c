#include "status/DriverText.h"

#include <cstring>

bool IsValidUtf8(const uint8_t* bytes, size_t count)
{
    size_t i = 0;
    while (i < count) {
        uint8_t lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        uint32_t minimum;
        uint32_t code;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1; minimum = 0x80; code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2; minimum = 0x800; code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3; minimum = 0x10000; code = lead & 0x07u;
        } else {
            return false;
        }
        if (count - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            uint8_t next = bytes[i + k];
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string TextFromDriverBytes(const uint8_t* bytes, size_t count)
{
    const void* zero = std::memchr(bytes, 0, count);
    size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - bytes) : count;
    if (IsValidUtf8(bytes, length))
        return std::string(reinterpret_cast<const char*>(bytes), length);
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        uint8_t byte = bytes[i];
        if (byte < 0x80) {
            text += char(byte);
        } else {
            text += char(0xC0 | (byte >> 6));
            text += char(0x80 | (byte & 0x3F));
        }
    }
    return text;
}
