// Byte layout of one driver request and its answer. Both buffers are 4096
// bytes; numbers are little-endian.
//
// Request: byte 0 = 2, byte 1 = 2, bytes 2-3 = 0, bytes 4-5 = command code,
//          the rest 0.
// Answer:  bytes 2-3 = status (0: answered), bytes 6-7 = data length as the
//          driver reports it, data from byte 8 (at most 4088 bytes).
#pragma once

#include "settings/ByteOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint32_t kDeviceControlCode = 0xCBFD23FC; // device type 0xCBFD, function 0x8FF, buffered, any access
constexpr size_t kRequestSize = 4096;
constexpr size_t kAnswerSize = 4096;
constexpr size_t kAnswerStatusOffset = 2;
constexpr size_t kAnswerLengthOffset = 6;
constexpr size_t kAnswerDataOffset = 8;
constexpr size_t kAnswerDataMax = kAnswerSize - kAnswerDataOffset; // 4088

using CommandRequest = std::array<uint8_t, kRequestSize>;
using CommandAnswer = std::array<uint8_t, kAnswerSize>;

inline void BuildCommandRequest(CommandRequest& request, uint16_t command)
{
    request.fill(0);
    request[0] = 2;
    request[1] = 2;
    WriteLe16(&request[4], command);
}

inline uint16_t RequestCommandCode(const uint8_t* request)
{
    return ReadLe16(request + 4);
}

inline uint16_t AnswerStatus(const CommandAnswer& answer)
{
    return ReadLe16(&answer[kAnswerStatusOffset]);
}

inline uint16_t AnswerLength(const CommandAnswer& answer)
{
    return ReadLe16(&answer[kAnswerLengthOffset]);
}
