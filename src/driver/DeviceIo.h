// The one seam through which the channel reaches a control device: open a
// path, make one device-control call, close. The Win32 build talks to the
// real device; the host build has no device at all; tests install a fake.
#pragma once

#include <cstdint>

using DeviceHandle = uintptr_t;
constexpr DeviceHandle kNoDeviceHandle = ~DeviceHandle(0);

class IDeviceIo {
public:
    virtual ~IDeviceIo() = default;
    // A handle for the device path, or kNoDeviceHandle when it does not open.
    virtual DeviceHandle open(const char* path) = 0;
    // One device-control call; false when the call fails.
    virtual bool control(DeviceHandle handle, uint32_t controlCode, const void* input, uint32_t inputSize,
                         void* output, uint32_t outputSize) = 0;
    virtual void close(DeviceHandle handle) = 0;
};

// The device access in use (the platform's unless a test installed another).
IDeviceIo& CurrentDeviceIo();
// Installs io (nullptr: the platform's) and returns what was installed before.
IDeviceIo* SetDeviceIo(IDeviceIo* io);
// The platform's device access; defined per platform.
IDeviceIo& PlatformDeviceIo();

// Installs a device access for the lifetime of the scope. The remembered
// device index belongs to the set of devices, so it starts at 0 inside the
// scope and is restored afterwards.
class ScopedDeviceIo {
public:
    explicit ScopedDeviceIo(IDeviceIo& io);
    ~ScopedDeviceIo();
    ScopedDeviceIo(const ScopedDeviceIo&) = delete;
    ScopedDeviceIo& operator=(const ScopedDeviceIo&) = delete;

private:
    IDeviceIo* m_pPrevious;
    uint32_t m_nPreviousDevice;
};

// An open device handle, closed when the object goes.
class ScopedDevice {
public:
    ScopedDevice() = default;
    ScopedDevice(IDeviceIo& io, DeviceHandle handle) : m_pIo(&io), m_hDevice(handle) {}
    ~ScopedDevice() { reset(); }
    ScopedDevice(ScopedDevice&& other) noexcept : m_pIo(other.m_pIo), m_hDevice(other.release()) {}
    ScopedDevice& operator=(ScopedDevice&& other) noexcept;
    ScopedDevice(const ScopedDevice&) = delete;
    ScopedDevice& operator=(const ScopedDevice&) = delete;

    bool isOpen() const { return m_hDevice != kNoDeviceHandle; }
    DeviceHandle get() const { return m_hDevice; }
    IDeviceIo* io() const { return m_pIo; }
    DeviceHandle release();
    void reset();

private:
    IDeviceIo* m_pIo = nullptr;
    DeviceHandle m_hDevice = kNoDeviceHandle;
};
