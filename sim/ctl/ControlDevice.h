// The simulator's control device \\.\AdslSimControl, one method per request of
// its protocol. A refused request raises ControlError.
#pragma once

#include "AdslSimProtocol.h"
#include "framework/Handles.h"

#include <stdexcept>
#include <string>
#include <vector>

struct ControlError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CodeCount {
    uint16_t code;
    uint32_t count;
};

struct SimStats {
    uint32_t opensUsb = 0;
    uint32_t opensPci = 0;
    std::vector<CodeCount> codes;  // ascending by code
};

class ControlDevice {
public:
    // Opens the control device (or the device named by ADSLSIM_CONTROL_DEVICE);
    // false when it cannot be opened.
    bool open();

    AdslSimState state();
    // The fixed answers in the order they were set.
    std::vector<AdslSimOverride> overrides();
    void reset();
    void setDevices(uint32_t mask);
    void setOverride(const AdslSimOverride& value);
    void unsetOverride(uint16_t code);
    SimStats stats();
    void clearStats();

private:
    // Returns the bytes written, or -1 when the driver refused with ERROR_NO_MORE_ITEMS.
    long call(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, const char* what);

    UniqueHandle m_device;
};
