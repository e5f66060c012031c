// The platform's device access on Windows: CreateFileA, DeviceIoControl and
// CloseHandle on the modem driver's control devices.
#include "driver/DeviceIo.h"

#include <windows.h>

namespace {

class Win32DeviceIo : public IDeviceIo {
public:
    DeviceHandle open(const char* path) override
    {
        HANDLE handle = CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return kNoDeviceHandle;
        return reinterpret_cast<DeviceHandle>(handle);
    }

    bool control(DeviceHandle handle, uint32_t controlCode, const void* input, uint32_t inputSize, void* output,
                 uint32_t outputSize) override
    {
        // The byte count is not used: the answer carries its own length.
        DWORD returned = 0;
        return DeviceIoControl(reinterpret_cast<HANDLE>(handle), controlCode, const_cast<void*>(input), inputSize,
                               output, outputSize, &returned, nullptr) != FALSE;
    }

    void close(DeviceHandle handle) override { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
};

} // namespace

IDeviceIo& PlatformDeviceIo()
{
    static Win32DeviceIo io;
    return io;
}
