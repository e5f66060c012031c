// Command codes the program sends. Codes of 0x10000 and above are answered
// inside the program (VirtualCommands.h).
#pragma once

#include <cstdint>

namespace Command {

constexpr uint32_t kVersionText = 0x0001;       // text
constexpr uint32_t kLineState = 0x0004;         // 2: line up
constexpr uint32_t kToggleNames = 0x001A;       // comma-separated names
constexpr uint32_t kRate103 = 0x0103;           // rate in kbit/s
constexpr uint32_t kSelector104 = 0x0104;
constexpr uint32_t kRate107 = 0x0107;           // the second rate in kbit/s
constexpr uint32_t kSelector108 = 0x0108;
constexpr uint32_t kMultiplicand10B = 0x010B;
constexpr uint32_t kDivisor10C = 0x010C;
constexpr uint32_t kMultiplicand10E = 0x010E;
constexpr uint32_t kMultiplicand10F = 0x010F;
constexpr uint32_t kDivisor110 = 0x0110;
constexpr uint32_t kMultiplicand112 = 0x0112;
constexpr uint32_t kModeLineUp = 0x0113;        // mode while the line is up
constexpr uint32_t kText1E4 = 0x01E4;
constexpr uint32_t kStartupProgress = 0x01E6;
constexpr uint32_t kDualBitmap = 0x01F5;        // 1: dual bitmap
constexpr uint32_t kModeLineDown = 0x0206;      // mode while the line is not up
constexpr uint32_t kAnnex = 0x0220;             // 0 A, 3 B, 1 C
constexpr uint32_t kCellCount301 = 0x0301;
constexpr uint32_t kCellCount381 = 0x0381;

constexpr uint32_t kFirstVirtual = 0x10000;
constexpr uint32_t kStartupText = 0x10000;
constexpr uint32_t kCombinedRate1 = 0x10001;
constexpr uint32_t kCombinedRate2 = 0x10002;
constexpr uint32_t kProgramVersion = 0x10003;
constexpr uint32_t kPackageVersion = 0x10004;
constexpr uint32_t kToggleList = 0x10005;
constexpr uint32_t kLastVirtual = 0x10005;

} // namespace Command
