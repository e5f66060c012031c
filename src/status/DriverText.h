// Text bytes from the driver as UTF-8: valid UTF-8 passes unchanged, any
// other text is taken byte by byte as Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes up to the first zero, or all count bytes when none is zero.
std::string TextFromDriverBytes(const uint8_t* bytes, size_t count);

bool IsValidUtf8(const uint8_t* bytes, size_t count);
