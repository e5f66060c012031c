#include "driver/VirtualCommands.h"

#include "settings/ByteOrder.h"
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "settings/InstallerRecord.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// The caller's size compared as a signed number, as the program always has:
// sizes of 2^31 and more count as too small.
bool fitsSigned(uint32_t size, size_t needed)
{
    return int64_t(int32_t(size)) >= int64_t(needed);
}

const char* startupStateWord(uint32_t progress)
{
    if (progress == 0) return "Idle";
    if (progress < 64) return "Detecting Carrier";
    if (progress < 128) return "Training";
    if (progress < 192) return "Loading Firmware";
    return "Unused";
}

bool requestStartupText(uint32_t command, uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    uint8_t bytes[4] = {};
    bool failed = requestCommand(Command::kStartupProgress, status, length, bytes, sizeof bytes);
    uint32_t progress = ReadLe32(bytes);
    const char* word = isLineUp() ? "Completed" : startupStateWord(progress);

    char text[64];
    int count = std::snprintf(text, sizeof text, "%s (0x%x)", word, progress);
    if (!fitsSigned(size, size_t(count) + 1))
        throw XVuk("Buffer too small for cmd 0x%x", command);
    std::memcpy(buffer, text, size_t(count) + 1);
    return failed;
}

struct CombinedRateCodes {
    uint32_t selector;
    uint32_t multiplicandIfSet;
    uint32_t multiplicandIfClear;
    uint32_t divisor;
    uint32_t baseRate;
};

constexpr CombinedRateCodes kDownstreamRateCodes = {Command::kDownstreamRateSelector, Command::kDownstreamMultiplicandIfSet,
                                           Command::kDownstreamMultiplicandIfClear, Command::kDownstreamRateDivisor, Command::kDownstreamRate};
constexpr CombinedRateCodes kUpstreamRateCodes = {Command::kUpstreamRateSelector, Command::kUpstreamMultiplicandIfSet,
                                           Command::kUpstreamMultiplicandIfClear, Command::kUpstreamRateDivisor, Command::kUpstreamRate};

bool requestCombinedRate(uint32_t command, const CombinedRateCodes& codes, uint16_t& status, uint16_t& length,
                         void* buffer, uint32_t size)
{
    if (size < 4)
        throw XVuk("Command 0x%x buf too small", command);
    uint32_t selector = 0;
    if (requestDword(codes.selector, selector))
        return true;
    // The multiplicand is used as received, 0 when nothing came.
    uint32_t multiplicand = 0;
    requestDword(selector ? codes.multiplicandIfSet : codes.multiplicandIfClear, multiplicand);
    uint32_t divisor = 0;
    if (requestDword(codes.divisor, divisor))
        return true;
    if (divisor == 0)
        divisor = 1;
    uint32_t rate = 0;
    if (requestDword(codes.baseRate, rate))
        return true;

    // Unsigned 32-bit arithmetic throughout: the product wraps before the division.
    uint32_t combined = rate + (multiplicand * 32u) / divisor + 32u;
    WriteLe32(static_cast<uint8_t*>(buffer), combined);
    status = kStatusAnswered;
    length = 4;
    return false;
}

// Copies text with its terminator when it fits; the length output becomes
// its size with the terminator either way.
bool answerText(const std::string& text, uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    size_t needed = text.size() + 1;
    length = uint16_t(needed);
    if (!fitsSigned(size, needed)) {
        status = kStatusBufferTooSmall;
        return true;
    }
    std::memcpy(buffer, text.c_str(), needed);
    status = kStatusAnswered;
    return false;
}

bool requestPackageVersion(uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    uint32_t count = ReadInstalledPackageVersion(static_cast<char*>(buffer), size);
    length = uint16_t(count);
    if (count == 0) {
        status = kStatusTextEmpty;
        return true;
    }
    status = kStatusAnswered;
    return false;
}

bool requestToggleList(uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    std::string text = "Toggle,-1";
    if (!requestCommand(Command::kToggleNames, status, length, buffer, size) && buffer) {
        // The list is a zero-terminated text, but never read beyond the buffer.
        const char* list = static_cast<const char*>(buffer);
        const void* end = std::memchr(list, '\0', size);
        size_t listLength = end ? size_t(static_cast<const char*>(end) - list) : size;
        std::vector<std::string> names;
        try {
            SplitString(names, std::string(list, listLength), ",");
        } catch (const std::bad_alloc&) {
            throw XVuk("Out of memory");
        }
        for (size_t index = 0; index < names.size(); ++index)
            text += "," + names[index] + "," + std::to_string(index);
    }
    return answerText(text, status, length, buffer, size);
}

} // namespace

bool requestVirtualCommand(uint32_t command, uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    switch (command) {
    case Command::kStartupText:
        return requestStartupText(command, status, length, buffer, size);
    case Command::kCombinedDownstreamRate:
        return requestCombinedRate(command, kDownstreamRateCodes, status, length, buffer, size);
    case Command::kCombinedUpstreamRate:
        return requestCombinedRate(command, kUpstreamRateCodes, status, length, buffer, size);
    case Command::kProgramVersion:
        return answerText(kProgramVersionText, status, length, buffer, size);
    case Command::kPackageVersion:
        return requestPackageVersion(status, length, buffer, size);
    case Command::kToggleList:
        return requestToggleList(status, length, buffer, size);
    default:
        throw XVuk("Command 0x%x not valid", command);
    }
}
