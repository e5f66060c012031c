#include "ControlDevice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

bool ControlDevice::open()
{
    const char* override = std::getenv("ADSLSIM_CONTROL_DEVICE");
    const char* path = override != nullptr && *override != '\0' ? override : ADSLSIM_CONTROL_DEVICE_PATH;
    // Read and write access: every control request asks for both.
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_device.reset(handle);
    return true;
}

long ControlDevice::call(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, const char* what)
{
    DWORD returned = 0;
    if (DeviceIoControl(m_device.get(), code, const_cast<void*>(in), inSize, out, outSize, &returned, nullptr))
        return static_cast<long>(returned);
    DWORD error = GetLastError();
    if (error == ERROR_NO_MORE_ITEMS)
        return -1;
    char message[160];
    std::snprintf(message, sizeof message, "the simulator refused %s (error %lu)", what, error);
    throw ControlError(message);
}

AdslSimState ControlDevice::state()
{
    AdslSimState state{};
    call(ADSLSIM_CTL_GET_STATE, nullptr, 0, &state, sizeof state, "the state query");
    return state;
}

std::vector<AdslSimOverride> ControlDevice::overrides()
{
    std::vector<AdslSimOverride> result;
    auto value = std::make_unique<AdslSimOverride>();
    for (uint32_t index = 0; index < ADSLSIM_MAX_OVERRIDES; ++index) {
        if (call(ADSLSIM_CTL_GET_OVERRIDE, &index, sizeof index, value.get(), sizeof *value, "the answer query") < 0)
            break;
        result.push_back(*value);
    }
    return result;
}

void ControlDevice::reset()
{
    call(ADSLSIM_CTL_RESET, nullptr, 0, nullptr, 0, "reset");
}

void ControlDevice::setDevices(uint32_t mask)
{
    call(ADSLSIM_CTL_SET_DEVICES, &mask, sizeof mask, nullptr, 0, "the device change");
}

void ControlDevice::setOverride(const AdslSimOverride& value)
{
    call(ADSLSIM_CTL_SET_OVERRIDE, &value, ADSLSIM_OVERRIDE_HEADER_SIZE + value.dataSize, nullptr, 0,
         "the fixed answer");
}

void ControlDevice::unsetOverride(uint16_t code)
{
    uint32_t value = code;
    call(ADSLSIM_CTL_UNSET_OVERRIDE, &value, sizeof value, nullptr, 0, "unset");
}

SimStats ControlDevice::stats()
{
    std::vector<uint8_t> buffer(ADSLSIM_STATS_MAX_SIZE);
    long size = call(ADSLSIM_CTL_GET_STATS, nullptr, 0, buffer.data(), static_cast<DWORD>(buffer.size()),
                     "the statistics query");
    AdslSimStats header{};
    if (size < static_cast<long>(sizeof header))
        throw ControlError("the simulator answered the statistics query too briefly");
    std::memcpy(&header, buffer.data(), sizeof header);
    SimStats stats;
    stats.opensUsb = header.opensUsb;
    stats.opensPci = header.opensPci;
    size_t records = (static_cast<size_t>(size) - sizeof header) / sizeof(AdslSimCodeCount);
    if (header.codeReturned < records)
        records = header.codeReturned;
    for (size_t i = 0; i < records; ++i) {
        AdslSimCodeCount record;
        std::memcpy(&record, buffer.data() + sizeof header + i * sizeof record, sizeof record);
        stats.codes.push_back({record.code, record.count});
    }
    return stats;
}

void ControlDevice::clearStats()
{
    call(ADSLSIM_CTL_CLEAR_STATS, nullptr, 0, nullptr, 0, "clearing the statistics");
}
