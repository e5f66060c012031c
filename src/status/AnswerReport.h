// The text report of one answer, as the query tool prints it:
//   failed F / status S / length L / data XX XX ...
// then, for a buffer of at most 64 bytes, the answer as a status field holds
// it after fetch, one line per display form (hex, unsigned, real, text,
// bytes, versionhex, versiondec) with an empty unavailable text.
#pragma once

#include <cstdint>
#include <string>

std::string ReportAnswer(uint32_t command, bool failed, uint16_t status, uint16_t length, const uint8_t* buffer,
                         uint32_t size);
