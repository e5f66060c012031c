#include "driver/DeviceIo.h"

#include "driver/Channel.h"

namespace {

IDeviceIo* g_pInstalledIo = nullptr;

} // namespace

IDeviceIo& CurrentDeviceIo()
{
    return g_pInstalledIo ? *g_pInstalledIo : PlatformDeviceIo();
}

IDeviceIo* SetDeviceIo(IDeviceIo* io)
{
    IDeviceIo* previous = g_pInstalledIo;
    g_pInstalledIo = io;
    return previous;
}

ScopedDeviceIo::ScopedDeviceIo(IDeviceIo& io)
    : m_pPrevious(SetDeviceIo(&io)), m_nPreviousDevice(getRememberedDeviceIndex())
{
    setRememberedDeviceIndex(0);
}

ScopedDeviceIo::~ScopedDeviceIo()
{
    SetDeviceIo(m_pPrevious);
    setRememberedDeviceIndex(m_nPreviousDevice);
}

ScopedDevice& ScopedDevice::operator=(ScopedDevice&& other) noexcept
{
    if (this != &other) {
        reset();
        m_pIo = other.m_pIo;
        m_hDevice = other.release();
    }
    return *this;
}

DeviceHandle ScopedDevice::release()
{
    DeviceHandle handle = m_hDevice;
    m_hDevice = kNoDeviceHandle;
    return handle;
}

void ScopedDevice::reset()
{
    if (isOpen() && m_pIo)
        m_pIo->close(m_hDevice);
    m_hDevice = kNoDeviceHandle;
}
