// adslsim.exe: configures the simulated modem driver through its control
// device. Exit codes: 0 done, 1 the control device cannot be opened, 2 bad
// arguments (with a one-line message), 3 the simulator refused the request.
#include "ControlDevice.h"
#include "CtlArgs.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const char* DevicesName(uint32_t mask)
{
    switch (mask & ADSLSIM_DEVICE_BOTH) {
    case ADSLSIM_DEVICE_USB: return "usb";
    case ADSLSIM_DEVICE_PCI: return "pci";
    case ADSLSIM_DEVICE_BOTH: return "both";
    default: return "none";
    }
}

// One line per fixed answer, in the command line that would set it again.
void PrintOverride(const AdslSimOverride& value)
{
    switch (value.kind) {
    case ADSLSIM_OVERRIDE_FAIL:
        std::printf("fail 0x%04x\n", value.code);
        break;
    case ADSLSIM_OVERRIDE_COUNTER:
        std::printf("count 0x%04x 0x%08x --start 0x%08x\n", value.code, value.counterStep, value.counterNext);
        break;
    default:
        std::printf("set 0x%04x --status %u --length %u --bytes ", value.code, value.status, value.length);
        for (uint32_t i = 0; i < value.dataSize && i < ADSLSIM_MAX_DATA; ++i)
            std::printf("%02x", value.data[i]);
        std::printf("\n");
        break;
    }
}

void PrintStatus(ControlDevice& device)
{
    AdslSimState state = device.state();
    std::printf("devices %s\n", DevicesName(state.devices));
    std::printf("model %llu ms\n", static_cast<unsigned long long>(state.modelTimeMs));
    for (const AdslSimOverride& value : device.overrides())
        PrintOverride(value);
}

void PrintStats(ControlDevice& device)
{
    SimStats stats = device.stats();
    if (stats.opensUsb != 0)
        std::printf("open ADSLUSB %u\n", stats.opensUsb);
    if (stats.opensPci != 0)
        std::printf("open VukPciAdapter %u\n", stats.opensPci);
    for (const CodeCount& entry : stats.codes)
        std::printf("cmd 0x%04x %u\n", entry.code, entry.count);
}

void Run(ControlDevice& device, const CtlCommand& command)
{
    auto value = std::make_unique<AdslSimOverride>();
    value->code = command.code;
    switch (command.verb) {
    case CtlVerb::Status:
        PrintStatus(device);
        break;
    case CtlVerb::Reset:
        device.reset();
        break;
    case CtlVerb::Devices:
        device.setDevices(command.devices);
        break;
    case CtlVerb::Set:
        value->kind = ADSLSIM_OVERRIDE_FIXED;
        value->status = command.status;
        value->length = command.length;
        value->dataSize = static_cast<uint32_t>(command.data.size());
        std::copy(command.data.begin(), command.data.end(), value->data);
        device.setOverride(*value);
        break;
    case CtlVerb::Fail:
        value->kind = ADSLSIM_OVERRIDE_FAIL;
        device.setOverride(*value);
        break;
    case CtlVerb::Count:
        value->kind = ADSLSIM_OVERRIDE_COUNTER;
        value->counterNext = command.start;
        value->counterStep = command.step;
        device.setOverride(*value);
        break;
    case CtlVerb::Unset:
        device.unsetOverride(command.code);
        break;
    case CtlVerb::Stats:
        if (command.clear)
            device.clearStats();
        else
            PrintStats(device);
        break;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Plain "\n" line ends, so that scripts read the output as they see it.
    _setmode(_fileno(stdout), _O_BINARY);

    CtlCommand command;
    try {
        command = ParseCtlArgs(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "adslsim: %s\n", error.what());
        return 2;
    }

    ControlDevice device;
    if (!device.open()) {
        DWORD error = GetLastError();
        std::fprintf(stderr, "adslsim: cannot open the simulator's control device %s (error %lu)%s\n",
                     ADSLSIM_CONTROL_DEVICE_PATH, error,
                     error == ERROR_ACCESS_DENIED ? ": it admits administrators only" : "");
        return 1;
    }
    try {
        Run(device, command);
    } catch (const ControlError& error) {
        std::fprintf(stderr, "adslsim: %s\n", error.what());
        return 3;
    }
    std::fflush(stdout);
    return 0;
}
