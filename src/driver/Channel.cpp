#include "driver/Channel.h"

#include "driver/CommandCodes.h"
#include "driver/VirtualCommands.h"

#include <algorithm>
#include <cstring>

const char* const DeviceNames[kDeviceCount] = {"\\\\.\\ADSLUSB", "\\\\.\\VukPciAdapter"};

namespace {

uint32_t g_nRememberedDevice = 0;

} // namespace

uint32_t getRememberedDeviceIndex()
{
    return g_nRememberedDevice;
}

void setRememberedDeviceIndex(uint32_t index)
{
    g_nRememberedDevice = index < kDeviceCount ? index : 0;
}

ScopedDevice openDriver()
{
    IDeviceIo& io = CurrentDeviceIo();
    ScopedDevice device(io, io.open(DeviceNames[g_nRememberedDevice]));
    if (device.isOpen())
        return device;
    // The remembered device may be tried a second time here.
    for (uint32_t index = 0; index < kDeviceCount; ++index) {
        device = ScopedDevice(io, io.open(DeviceNames[index]));
        if (device.isOpen()) {
            g_nRememberedDevice = index;
            return device;
        }
    }
    return device;
}

bool requestCommand(uint32_t command, uint16_t& status, uint16_t& length, void* buffer, uint32_t size)
{
    if (command >= Command::kFirstVirtual)
        return requestVirtualCommand(command, status, length, buffer, size);

    ScopedDevice device = openDriver();
    if (!device.isOpen()) {
        status = kStatusNoDevice;
        return true;
    }

    CommandRequest request;
    BuildCommandRequest(request, uint16_t(command));
    // Zeroed, so whatever the driver does not write reads as 0.
    CommandAnswer answer{};
    bool succeeded = device.io()->control(device.get(), kDeviceControlCode, request.data(), kRequestSize,
                                          answer.data(), kAnswerSize);

    status = AnswerStatus(answer);
    length = AnswerLength(answer);
    if (buffer)
        std::memcpy(buffer, &answer[kAnswerDataOffset], std::min<size_t>(size, kAnswerDataMax));
    return !succeeded;
}

bool requestDword(uint32_t command, uint32_t& value)
{
    bool noDevice = false;
    return requestDword(command, value, noDevice);
}

bool requestDword(uint32_t command, uint32_t& value, bool& noDevice)
{
    value = 0;
    uint8_t bytes[4] = {};
    uint16_t status = 0;
    uint16_t length = 0;
    bool failed = requestCommand(command, status, length, bytes, sizeof bytes);
    value = ReadLe32(bytes);
    noDevice = failed && status == kStatusNoDevice;
    return failed || status != kStatusAnswered;
}
