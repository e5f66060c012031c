// Cost of one requestCommand against the simulated modem driver beside a
// bare CreateFileA / DeviceIoControl / CloseHandle loop on the same device,
// measured in the same run. Prints both and their ratio (goal: at most 1.1).
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "driver/CommandLayout.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 7;
constexpr int kRequestsPerRound = 300;

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

double ChannelRound()
{
    uint8_t buffer[64];
    uint16_t status = 0, length = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRequestsPerRound; ++i)
        requestCommand(Command::kLineState, status, length, buffer, sizeof buffer);
    QueryPerformanceCounter(&end);
    return Seconds(start, end) / kRequestsPerRound;
}

double BareRound(const char* path)
{
    static CommandRequest request;
    static CommandAnswer answer;
    BuildCommandRequest(request, uint16_t(Command::kLineState));
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRequestsPerRound; ++i) {
        HANDLE device = CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, nullptr);
        DWORD returned = 0;
        DeviceIoControl(device, kDeviceControlCode, request.data(), DWORD(request.size()), answer.data(),
                        DWORD(answer.size()), &returned, nullptr);
        CloseHandle(device);
    }
    QueryPerformanceCounter(&end);
    return Seconds(start, end) / kRequestsPerRound;
}

} // namespace

int main()
{
    // Let the channel find the device first, then use the same one bare.
    uint8_t probe[4];
    uint16_t status = 0, length = 0;
    if (requestCommand(Command::kLineState, status, length, probe, sizeof probe)) {
        std::printf("no simulated modem device opens (status 0x%x); start the simulator first\n", status);
        return 1;
    }
    const char* path = DeviceNames[getRememberedDeviceIndex()];

    // Alternate the two loops and keep each one's best round, so that a
    // busy moment of the machine does not count against one side.
    double channel = 1e9, bare = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        channel = std::min(channel, ChannelRound());
        bare = std::min(bare, BareRound(path));
    }
    std::printf("device %s, best of %d rounds of %d requests\n", path, kRounds, kRequestsPerRound);
    std::printf("requestCommand:                         %8.1f us per request\n", channel * 1e6);
    std::printf("bare CreateFileA/DeviceIoControl/Close: %8.1f us per request\n", bare * 1e6);
    std::printf("ratio: %.3f (goal: at most 1.1)\n", channel / bare);
    return 0;
}
