// The control tool's command line, parsed into one command. Bad arguments
// raise UsageError with a one-line message.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class CtlVerb { Status, Reset, Devices, Set, Fail, Unset, Count, Stats };

struct CtlCommand {
    CtlVerb verb = CtlVerb::Status;
    uint32_t devices = 0;          // Devices: ADSLSIM_DEVICE_* mask
    uint16_t code = 0;             // Set, Fail, Unset, Count
    uint16_t status = 0;           // Set
    uint16_t length = 0;           // Set: --length, or the data's own length
    std::vector<uint8_t> data;     // Set
    uint32_t step = 0;             // Count
    uint32_t start = 0;            // Count
    bool clear = false;            // Stats
};

// Decimal or 0x-hexadecimal, at most `max`.
uint32_t ParseCtlNumber(const std::string& text, uint32_t max, const char* what);

// Hex digit pairs, spaces allowed between bytes.
std::vector<uint8_t> ParseHexBytes(const std::string& text);

// `args` without the program name.
CtlCommand ParseCtlArgs(const std::vector<std::string>& args);

extern const char* const kCtlUsage;
