// Command codes the program sends. Codes of 0x10000 and above are answered
// inside the program (VirtualCommands.h).
#pragma once

#include <cstdint>

namespace Command {

constexpr uint32_t kVersionText = 0x0001;                  // text
constexpr uint32_t kLineState = 0x0004;                    // 2: line up
constexpr uint32_t kToggleNames = 0x001A;                  // comma-separated names
constexpr uint32_t kDownstreamRate = 0x0103;               // kbit/s
constexpr uint32_t kDownstreamRateSelector = 0x0104;       // picks the multiplicand below
constexpr uint32_t kUpstreamRate = 0x0107;                 // kbit/s
constexpr uint32_t kUpstreamRateSelector = 0x0108;
constexpr uint32_t kUpstreamMultiplicandIfSet = 0x010B;
constexpr uint32_t kUpstreamRateDivisor = 0x010C;
constexpr uint32_t kUpstreamMultiplicandIfClear = 0x010E;
constexpr uint32_t kDownstreamMultiplicandIfSet = 0x010F;
constexpr uint32_t kDownstreamRateDivisor = 0x0110;
constexpr uint32_t kDownstreamMultiplicandIfClear = 0x0112;
constexpr uint32_t kModeLineUp = 0x0113;                   // mode while the line is up
constexpr uint32_t kFirmwareVersion = 0x01E4;              // text
constexpr uint32_t kStartupProgress = 0x01E6;
constexpr uint32_t kDualBitmap = 0x01F5;                   // 1: dual bitmap
constexpr uint32_t kModeLineDown = 0x0206;                 // mode while the line is not up
constexpr uint32_t kAnnex = 0x0220;                        // 0 A, 3 B, 1 C
constexpr uint32_t kUpstreamCells = 0x0301;                // cells sent, free-running counter
constexpr uint32_t kDownstreamCells = 0x0381;              // cells received, free-running counter

constexpr uint32_t kFirstVirtual = 0x10000;
constexpr uint32_t kStartupText = 0x10000;
constexpr uint32_t kCombinedDownstreamRate = 0x10001;
constexpr uint32_t kCombinedUpstreamRate = 0x10002;
constexpr uint32_t kProgramVersion = 0x10003;
constexpr uint32_t kPackageVersion = 0x10004;
constexpr uint32_t kToggleList = 0x10005;
constexpr uint32_t kLastVirtual = 0x10005;

} // namespace Command
