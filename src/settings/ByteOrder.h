// Little-endian numbers in driver answers and bitmap headers, independent of the host's order.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint16_t ReadLe16(const uint8_t* bytes)
{
    return uint16_t(bytes[0] | (bytes[1] << 8));
}

// The first count bytes (at most 4) as an unsigned number; 0 bytes give 0.
inline uint32_t ReadLeUnsigned(const uint8_t* bytes, size_t count)
{
    uint32_t value = 0;
    for (size_t i = count < 4 ? count : 4; i > 0; --i)
        value = (value << 8) | bytes[i - 1];
    return value;
}

inline uint32_t ReadLe32(const uint8_t* bytes)
{
    return ReadLeUnsigned(bytes, 4);
}

inline void WriteLe16(uint8_t* bytes, uint16_t value)
{
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}

inline void WriteLe32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}
