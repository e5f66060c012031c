// The host build's platform device access: there is no modem driver, so no
// device ever opens and every request reports status 0xFFFF.
#include "driver/DeviceIo.h"

namespace {

class NullDeviceIo : public IDeviceIo {
public:
    DeviceHandle open(const char*) override { return kNoDeviceHandle; }
    bool control(DeviceHandle, uint32_t, const void*, uint32_t, void*, uint32_t) override { return false; }
    void close(DeviceHandle) override {}
};

} // namespace

IDeviceIo& PlatformDeviceIo()
{
    static NullDeviceIo io;
    return io;
}
