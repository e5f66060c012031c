// Status fields end to end (an enumeration list, an answer fetched from the
// scripted device, every field type) and the toggle list built from driver
// names. Input: type, status selector, status (2), length (2), scale and
// offset selectors, toggle buffer size, 64 data bytes, the list text.
#include "settings/XVuk.h"
#include "status/StatusField.h"
#include "support/FakeDeviceIo.h"

#include <cstdlib>
#include <limits>

namespace {

const float kScales[] = {1.0f, 0.5f, -0.5f, 1000.0f, 3.4e38f, -3.4e38f, 1e-30f, 0.0f,
                         std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    constexpr size_t kHeader = 9;
    if (size < kHeader)
        return 0;
    uint32_t type = input[0] % 10; // 8 and 9 are not field types
    uint16_t status = (input[1] & 1) ? 0 : uint16_t(input[2] | (input[3] << 8));
    uint16_t length = uint16_t(input[4] | (input[5] << 8));
    uint32_t toggleSize = input[8];
    std::vector<uint8_t> data(64, 0);
    size_t dataCount = std::min<size_t>(64, size - kHeader);
    std::memcpy(data.data(), input + kHeader, dataCount);
    std::string list(reinterpret_cast<const char*>(input + kHeader + dataCount), size - kHeader - dataCount);

    FakeDeviceIo device;
    ScopedDeviceIo use(device);
    device.answerBytes(0x0042, data, status, length);
    StatusField field;
    try {
        field.init(0x0042, type, list, kScales[input[6] % 10], kScales[input[7] % 10], "n/a");
    } catch (const XVuk&) { // an odd list
    }
    field.fetch();
    Check(field.status() == status && field.length() == length);
    std::string text = field.format();
    Check(!field.isInvalid() || text == "n/a");
    if (!field.isInvalid() && (type == FieldText || type == FieldByteList))
        Check(text.size() <= 3 * 64);
    field.formatVersionModes();

    uint32_t value = 0;
    bool readable = field.readDword(value);
    try {
        uint32_t got = field.getDword(7);
        Check(readable ? got == value : field.isInvalid() && got == 7);
    } catch (const XVuk&) {
        Check(!readable && !field.isInvalid() && length > 4);
    }

    // The toggle list reads the driver's names within the caller's buffer only.
    device.answerBytes(0x001A, data);
    std::vector<char> buffer(toggleSize ? toggleSize : 1);
    uint16_t toggleStatus = 0, toggleLength = 0;
    bool failed = requestCommand(0x10005, toggleStatus, toggleLength, buffer.data(), toggleSize);
    Check(failed == (toggleStatus == 4));
    Check(failed || std::memchr(buffer.data(), 0, buffer.size()) != nullptr);
    return 0;
}
