// Number conversions and printf-style formatting for the field forms.
#pragma once

#include <cstdint>
#include <string>

// value truncated toward zero, as the low 32 bits of that integer (so -1.5
// gives 0xFFFFFFFF). Not-a-number and infinities give 0.
uint32_t TruncateToUint32(double value);

// printf into a string of any length.
std::string FormatPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
