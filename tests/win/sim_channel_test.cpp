// The simulated modem driver, configured by running its control tool
// adslsim.exe: raw requests, then the program's channel on the simulated
// devices and modavi-query.exe. Needs the simulator installed in the prefix.
#include "../../sim/common/AdslSimProtocol.h"
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "status/NumberText.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <tuple>

namespace {

const char* const kUsb = ADSLSIM_USB_DEVICE_PATH;
const char* const kPci = ADSLSIM_PCI_DEVICE_PATH;
constexpr DWORD kFull = ADSLSIM_CHANNEL_BUFFER_SIZE;

struct Answer {
    bool ok = false;
    DWORD error = 0; // of a failed call
    DWORD returned = 0;
    std::vector<uint8_t> buffer; // the answer buffer as the caller sees it afterwards

    uint16_t status() const { return ReadLe16(&buffer[2]); }
    uint16_t length() const { return ReadLe16(&buffer[6]); }
    uint32_t dword() const { return ReadLe32(&buffer[8]); }
};

// One request the way the program makes it (open, one call, close); the 64
// bytes after the caller's answer buffer must stay untouched.
Answer Ask(uint16_t code, const char* device = kUsb, DWORD outSize = kFull, DWORD inSize = kFull,
           DWORD ioctl = ADSLSIM_CHANNEL_IOCTL)
{
    CommandRequest in;
    BuildCommandRequest(in, code);
    Answer answer;
    answer.buffer.assign(outSize + 64, 0xA5);
    std::fill_n(answer.buffer.begin(), outSize, 0);
    HANDLE handle = CreateFileA(device, 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << device;
    answer.ok = DeviceIoControl(handle, ioctl, inSize ? in.data() : nullptr, inSize,
                                outSize ? answer.buffer.data() : nullptr, outSize, &answer.returned, nullptr);
    answer.error = answer.ok ? 0 : GetLastError();
    CloseHandle(handle);
    EXPECT_EQ(std::count(answer.buffer.begin() + outSize, answer.buffer.end(), 0xA5), 64) << "written beyond";
    answer.buffer.resize(std::max<DWORD>(outSize, 16));
    return answer;
}

// Runs a tool of the simulator folder (..\..\sim\ from this program).
testsupport::ProcessResult Tool(const std::string& program, const std::string& arguments)
{
    const std::string path = testsupport::ThisProgramDir() + "..\\..\\sim\\" + program;
    return testsupport::RunProcess("\"" + path + "\" " + arguments, 60000);
}

std::string Sim(const std::string& arguments)
{
    testsupport::ProcessResult result = Tool("adslsim.exe", arguments);
    EXPECT_EQ(result.exitCode, 0u) << "adslsim " << arguments << " (started: " << result.started << ")";
    return result.output;
}

class SimChannel : public ::testing::Test {
protected:
    void SetUp() override { Sim("reset"); }
    void TearDown() override { Sim("reset"); }
};

TEST_F(SimChannel, FixedAnswersFailuresCountersAndReset)
{
    std::string hex;
    for (int i = 0; i < ADSLSIM_MAX_DATA; ++i)
        hex += FormatPrintf("%02x", i & 0xFF);
    Sim("set 0x0042 --bytes " + hex);
    for (const char* command : {"set 0x0001 --text hello", "set 0x0777 --status 7 --length 300 --bytes 01ff02",
                                "set 0x0103 --dword 99", "set 0x0103 --dword 0x12345678", "fail 0x0004",
                                "count 0x0301 0x10 --start 0xFFFFFFF0"})
        Sim(command);
    const struct { uint16_t code; const char* device; DWORD outSize; bool ok; uint16_t status, length; DWORD returned;
                   uint32_t data; } cases[] = {
        {0x0042, kUsb, kFull, true, 0, ADSLSIM_MAX_DATA, kFull, 0x03020100},
        {0x0042, kPci, 12, true, 0, ADSLSIM_MAX_DATA, 12, 0x03020100},
        {0x0001, kUsb, kFull, true, 0, 5, 8 + 6, 0x6C6C6568}, // the terminator travels with the text
        {0x0777, kUsb, kFull, true, 7, 300, 8 + 3, 0x0002FF01},
        {0x0103, kUsb, kFull, true, 0, 4, 12, 0x12345678},
        {0x0004, kUsb, kFull, false, 0, 0, 0, 0},          // fails and writes nothing
        {0x0301, kPci, kFull, true, 0, 4, 12, 0xFFFFFFF0}, // one counter for both devices
        {0x0301, kUsb, kFull, true, 0, 4, 12, 0},
        {0x0301, kPci, kFull, true, 0, 4, 12, 0x10},
    };
    for (const auto& c : cases) {
        Answer answer = Ask(c.code, c.device, c.outSize);
        EXPECT_EQ(std::make_tuple(answer.ok, answer.status(), answer.length(), answer.returned, answer.dword()),
                  std::make_tuple(c.ok, c.status, c.length, c.returned, c.data))
            << std::hex << c.code;
    }
    Sim("unset 0x0103");
    EXPECT_NE(Ask(0x0103).dword(), 0x12345678u);
    Sim("devices none");
    Sim("reset");
    EXPECT_EQ(Ask(0x0004, kPci).dword(), 1u) << "training again";
    EXPECT_EQ(Ask(0x0301).dword(), 0u) << "the model's counter";
    EXPECT_EQ(Ask(0x0777).status(), ADSLSIM_STATUS_UNKNOWN_COMMAND);
}

TEST_F(SimChannel, MalformedRequestsAreRefusedAndTheNextIsAnswered)
{
    const struct { const char* device; DWORD outSize, inSize, ioctl; } cases[] = {
        {kUsb, kFull, 5, ADSLSIM_CHANNEL_IOCTL}, // the command word lies beyond the request
        {kUsb, 7, kFull, ADSLSIM_CHANNEL_IOCTL}, {kPci, 0, kFull, ADSLSIM_CHANNEL_IOCTL},
        {kUsb, kFull, kFull, 0xCBFD23F8},        {kUsb, kFull, kFull, ADSLSIM_CTL_RESET},
        {ADSLSIM_CONTROL_DEVICE_PATH, kFull, kFull, ADSLSIM_CHANNEL_IOCTL},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Ask(0x0004, c.device, c.outSize, c.inSize, c.ioctl).ok) << c.outSize << " " << c.inSize;
        EXPECT_EQ(Ask(0x0004, kPci, ADSLSIM_ANSWER_MIN_SIZE, ADSLSIM_REQUEST_MIN_SIZE).length(), 4);
    }
    // Control requests need a handle opened for writing; Ask opens without access, as the program does.
    EXPECT_EQ(Ask(0, ADSLSIM_CONTROL_DEVICE_PATH, kFull, 0, ADSLSIM_CTL_GET_STATE).error, DWORD(ERROR_ACCESS_DENIED));
}

TEST_F(SimChannel, ManyCallersAtOnceGetWellFormedAnswersAndAreCounted)
{
    const uint16_t codes[] = {0x0001, 0x0004, 0x0103, 0x0107, 0x01E6, 0x0301, 0x0381, 0x0999};
    std::atomic<int> bad{0};
    std::vector<std::thread> callers;
    for (int thread = 0; thread < 5; ++thread)
        callers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                const uint16_t code = codes[i % 8];
                Answer answer = Ask(code, i % 2 ? kUsb : kPci);
                // Unknown codes carry no data; a text carries its terminator beyond its length.
                size_t text = std::strlen(reinterpret_cast<const char*>(&answer.buffer[8]));
                size_t data = code == 0x0999 ? 0 : code == 0x0001 ? text + 1 : 4;
                bad += !answer.ok || answer.status() != (code == 0x0999 ? ADSLSIM_STATUS_UNKNOWN_COMMAND : 0) ||
                       answer.returned != 8 + data || answer.length() != (code == 0x0001 ? text : data);
            }
        });
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_EQ(bad, 0);
    std::string expected = "open ADSLUSB 5000\nopen VukPciAdapter 5000\n";
    for (uint16_t code : codes)
        expected += FormatPrintf("cmd 0x%04x 1250\n", code);
    EXPECT_EQ(Sim("stats"), expected);
    EXPECT_EQ(Sim("stats --clear"), "");
    EXPECT_EQ(Sim("stats"), "");
}

// The program's channel through the platform's device access.
TEST_F(SimChannel, ProgramChannelOnTheSimulatedDevices)
{
    Sim("devices pci");
    Sim("set 0x01e4 --bytes 00112233445566778899");
    uint16_t status = 9, length = 0;
    uint8_t buffer[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(requestCommand(Command::kFirmwareVersion, status, length, buffer, 4));
    EXPECT_EQ(std::make_pair(status, length), std::make_pair(uint16_t(0), uint16_t(10)));
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 5), (std::vector<uint8_t>{0, 0x11, 0x22, 0x33, 0xEE}));
    EXPECT_EQ(Sim("stats"), "open VukPciAdapter 1\ncmd 0x01e4 1\n");

    Sim("devices none");
    buffer[0] = 0xEE;
    EXPECT_TRUE(requestCommand(Command::kLineState, status, length, buffer, 4));
    EXPECT_EQ(std::make_pair(status, length), std::make_pair(kStatusNoDevice, uint16_t(10)));
    EXPECT_EQ(buffer[0], 0xEE);

}

TEST_F(SimChannel, QueryTool)
{
    Sim("set 0x0004 --dword 2");
    const struct { std::string arguments; DWORD exitCode; std::string output; } cases[] = {
        {"0x0004", 0, "failed 0\nstatus 0\nlength 4\ndata 02 00 00 00\nhex 0x00000002\nunsigned 2\nreal 2\n"
                      "text \x02\nbytes 02-00-00-00\nversionhex\nversiondec\n"},
        {"--size 5 65539", 0, "failed 1\nstatus 4\nlength 6\ndata 00 00 00 00 00\n"
                              "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n"},
        {"0x10003 --size 65", 0, "failed 0\nstatus 0\nlength 6\ndata 34 2e 32 2e 34 00\n"},
        {"0x10006", 3, "error Command 0x10006 not valid\n"},
        {"0x10001 --size 3", 3, "error Command 0x10001 buf too small\n"},
        {"", 2, ""}, {"0x1G", 2, ""}, {"-4", 2, ""}, {"4 5", 2, ""}, {"4 --size", 2, ""}, {"4 --size 0x", 2, ""},
        {"4 --size 4294967296", 2, ""}, {"4 --bogus", 2, ""}, {"0x100000000", 2, ""},
    };
    for (const auto& c : cases) {
        testsupport::ProcessResult result = Tool("modavi-query.exe", c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(result.output, c.output) << c.arguments;
    }
}

} // namespace
