// The simulated modem driver seen from user mode: the channel's answers, the
// control tool's commands, malformed requests and concurrent callers. Needs the
// simulator installed in the prefix (scripts/lib.sh prefix_init does that) and
// adslsim.exe in the simulator folder beside the test folder.
#include "../../sim/common/AdslSimProtocol.h"
#include "../support/ChildProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kUsb = ADSLSIM_USB_DEVICE_PATH;
const char* const kPci = ADSLSIM_PCI_DEVICE_PATH;

struct Answer {
    bool ok = false;           // DeviceIoControl succeeded
    DWORD returned = 0;        // bytes the driver reported
    uint16_t status = 0;
    uint16_t length = 0;
    std::vector<uint8_t> buffer;  // the whole answer buffer as the caller sees it afterwards

    uint32_t dword() const
    {
        uint32_t value;
        std::memcpy(&value, buffer.data() + ADSLSIM_ANSWER_DATA_OFFSET, 4);
        return value;
    }
    std::string text() const { return reinterpret_cast<const char*>(buffer.data() + ADSLSIM_ANSWER_DATA_OFFSET); }
};

struct Request {
    uint16_t code = 0;
    DWORD ioctl = ADSLSIM_CHANNEL_IOCTL;
    DWORD inSize = ADSLSIM_CHANNEL_BUFFER_SIZE;
    DWORD outSize = ADSLSIM_CHANNEL_BUFFER_SIZE;
};

constexpr size_t kGuard = 64;      // bytes after the answer buffer that must stay untouched
constexpr uint8_t kGuardByte = 0xA5;

HANDLE OpenDevice(const char* path)
{
    return CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, nullptr);
}

bool CanOpen(const char* path)
{
    HANDLE handle = OpenDevice(path);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

// One request the way the program makes it: open, one device-control call, close.
Answer Ask(const char* device, const Request& request)
{
    std::vector<uint8_t> in(ADSLSIM_CHANNEL_BUFFER_SIZE, 0);
    in[0] = 2;
    in[1] = 2;
    in[4] = static_cast<uint8_t>(request.code);
    in[5] = static_cast<uint8_t>(request.code >> 8);
    Answer answer;
    answer.buffer.assign(request.outSize + kGuard, 0);
    std::memset(answer.buffer.data() + request.outSize, kGuardByte, kGuard);

    HANDLE handle = OpenDevice(device);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "cannot open " << device;
    if (handle == INVALID_HANDLE_VALUE)
        return answer;
    answer.ok = DeviceIoControl(handle, request.ioctl, request.inSize ? in.data() : nullptr, request.inSize,
                                request.outSize ? answer.buffer.data() : nullptr, request.outSize,
                                &answer.returned, nullptr) != 0;
    CloseHandle(handle);

    for (size_t i = 0; i < kGuard; ++i)
        EXPECT_EQ(answer.buffer[request.outSize + i], kGuardByte) << "written beyond the answer buffer at " << i;
    answer.buffer.resize(std::max<size_t>(request.outSize, ADSLSIM_ANSWER_DATA_OFFSET + 8));
    if (request.outSize >= ADSLSIM_ANSWER_MIN_SIZE) {
        answer.status = static_cast<uint16_t>(answer.buffer[2] | answer.buffer[3] << 8);
        answer.length = static_cast<uint16_t>(answer.buffer[6] | answer.buffer[7] << 8);
    }
    return answer;
}

Answer Ask(uint16_t code, const char* device = kUsb)
{
    Request request;
    request.code = code;
    return Ask(device, request);
}

// adslsim.exe with `args`; its folder is ..\..\sim from this program's folder.
testsupport::ProcessResult Ctl(const std::string& args)
{
    return testsupport::RunProcess("\"" + testsupport::ThisProgramDir() + "..\\..\\sim\\adslsim.exe\" " + args, 60000);
}

#define CTL_OK(args) ASSERT_EQ(Ctl(args).exitCode, 0u) << "adslsim " << (args)

class SimChannel : public ::testing::Test {
protected:
    void SetUp() override { CTL_OK("reset"); }
    void TearDown() override { Ctl("reset"); }
};

TEST_F(SimChannel, FixedAnswersCarryStatusLengthAndData)
{
    CTL_OK("set 0x0001 --text hello");
    Answer text = Ask(0x0001);
    ASSERT_TRUE(text.ok);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.length, 5);
    EXPECT_EQ(text.text(), "hello");
    EXPECT_EQ(text.returned, ADSLSIM_ANSWER_DATA_OFFSET + 6u);  // the terminator travels with the text

    CTL_OK("set 0x0777 --status 7 --length 300 --bytes 01ff02");
    Answer bytes = Ask(0x0777);
    ASSERT_TRUE(bytes.ok);
    EXPECT_EQ(bytes.status, 7);
    EXPECT_EQ(bytes.length, 300);
    EXPECT_EQ(bytes.buffer[8], 0x01);
    EXPECT_EQ(bytes.buffer[9], 0xff);
    EXPECT_EQ(bytes.buffer[10], 0x02);
    EXPECT_EQ(bytes.buffer[11], 0x00);

    CTL_OK("set 0x0103 --dword 0x12345678");
    Answer dword = Ask(0x0103);
    EXPECT_EQ(dword.length, 4);
    EXPECT_EQ(dword.dword(), 0x12345678u);

    // A later set replaces the earlier one; unset gives the code back to the model.
    CTL_OK("set 0x0103 --dword 99");
    EXPECT_EQ(Ask(0x0103).dword(), 99u);
    CTL_OK("unset 0x0103");
    EXPECT_EQ(Ask(0x0103).length, 4);
    EXPECT_NE(Ask(0x0103).dword(), 99u);
    CTL_OK("unset 0x0001");
    EXPECT_EQ(Ask(0x0001).text().rfind("ADSLSIM", 0), 0u);
}

TEST_F(SimChannel, FullSizeDataIsCutToTheCallersBuffer)
{
    std::string hex;
    for (int i = 0; i < ADSLSIM_MAX_DATA; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", i & 0xff);
        hex += pair;
    }
    CTL_OK("set 0x0042 --bytes " + hex);
    Answer full = Ask(0x0042);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.length, ADSLSIM_MAX_DATA);
    EXPECT_EQ(full.returned, ADSLSIM_CHANNEL_BUFFER_SIZE);
    EXPECT_EQ(full.buffer[ADSLSIM_CHANNEL_BUFFER_SIZE - 1], (ADSLSIM_MAX_DATA - 1) & 0xff);

    Request small;
    small.code = 0x0042;
    small.outSize = 12;
    Answer cut = Ask(kUsb, small);  // the guard bytes after 12 are checked by Ask
    ASSERT_TRUE(cut.ok);
    EXPECT_EQ(cut.returned, 12u);
    EXPECT_EQ(cut.length, ADSLSIM_MAX_DATA);
    EXPECT_EQ(cut.buffer[11], 3);
}

TEST_F(SimChannel, FailMakesTheCallFailAndWriteNothing)
{
    CTL_OK("fail 0x0004");
    Answer failed = Ask(0x0004);
    EXPECT_FALSE(failed.ok);
    for (size_t i = 0; i < ADSLSIM_CHANNEL_BUFFER_SIZE; ++i)
        ASSERT_EQ(failed.buffer[i], 0) << "byte " << i;
    EXPECT_TRUE(Ask(0x0103).ok) << "other codes still answered";
    CTL_OK("unset 0x0004");
    EXPECT_TRUE(Ask(0x0004).ok);
}

TEST_F(SimChannel, DevicesChooseWhichModemDevicesOpen)
{
    const struct { const char* devices; bool usb, pci; } cases[] = {
        {"pci", false, true}, {"usb", true, false}, {"none", false, false}, {"both", true, true}};
    for (const auto& c : cases) {
        CTL_OK(std::string("devices ") + c.devices);
        EXPECT_EQ(CanOpen(kUsb), c.usb) << "devices " << c.devices;
        EXPECT_EQ(CanOpen(kPci), c.pci) << "devices " << c.devices;
    }
    CTL_OK("devices pci");
    EXPECT_TRUE(Ask(0x0004, kPci).ok);
}

TEST_F(SimChannel, CountGrowsByItsStepModulo2To32)
{
    CTL_OK("count 0x0301 0x10 --start 0xFFFFFFF0");
    const uint32_t expected[] = {0xFFFFFFF0u, 0x00000000u, 0x00000010u, 0x00000020u};
    for (uint32_t value : expected) {
        Answer answer = Ask(0x0301);
        ASSERT_TRUE(answer.ok);
        EXPECT_EQ(answer.status, 0);
        EXPECT_EQ(answer.length, 4);
        EXPECT_EQ(answer.dword(), value);
    }
    CTL_OK("count 0x0381 3");  // start defaults to 0
    EXPECT_EQ(Ask(0x0381).dword(), 0u);
    EXPECT_EQ(Ask(0x0381, kPci).dword(), 3u) << "one counter for both devices";
}

TEST_F(SimChannel, StatsCountOpensByNameAndRequestsByCode)
{
    CTL_OK("stats --clear");
    EXPECT_EQ(Ctl("stats").output, "");
    Ask(0x0004);
    Ask(0x0004);
    Ask(0x0103);
    Ask(0x0004, kPci);
    EXPECT_TRUE(CanOpen(kPci));
    EXPECT_EQ(Ctl("stats").output,
              "open ADSLUSB 3\n"
              "open VukPciAdapter 2\n"
              "cmd 0x0004 3\n"
              "cmd 0x0103 1\n");

    EXPECT_EQ(Ctl("stats --clear").output, "");
    EXPECT_EQ(Ctl("stats").output, "");
}

TEST_F(SimChannel, ResetReturnsToTheModel)
{
    CTL_OK("set 0x0004 --dword 7");
    CTL_OK("fail 0x0103");
    CTL_OK("count 0x0301 1 --start 77");
    Ask(0x0220);
    ASSERT_NE(Ctl("stats").output, "");
    CTL_OK("devices none");
    CTL_OK("reset");
    EXPECT_EQ(Ctl("stats").output, "");
    EXPECT_TRUE(CanOpen(kPci));
    Answer state = Ask(0x0004);
    EXPECT_EQ(state.dword(), 1u) << "training again after reset";
    EXPECT_TRUE(Ask(0x0103).ok);
    EXPECT_EQ(Ask(0x0301).dword(), 0u) << "the model's counter, not 77";
}

TEST_F(SimChannel, MalformedRequestsAreRefusedAndTheNextIsAnswered)
{
    Request request;
    request.code = 0x0004;
    auto refusedThenAnswered = [&](const Request& bad, const char* device, const char* what) {
        Answer refused = Ask(device, bad);
        EXPECT_FALSE(refused.ok) << what;
        Answer good = Ask(0x0004, device);
        EXPECT_TRUE(good.ok) << "after " << what;
        EXPECT_EQ(good.length, 4) << "after " << what;
    };

    Request shortIn = request;
    shortIn.inSize = 5;  // the command's second byte lies beyond the request
    refusedThenAnswered(shortIn, kUsb, "a 5-byte request");
    shortIn.inSize = 0;
    refusedThenAnswered(shortIn, kUsb, "an empty request");

    Request shortOut = request;
    shortOut.outSize = 7;
    refusedThenAnswered(shortOut, kUsb, "a 7-byte answer buffer");
    shortOut.outSize = 0;
    refusedThenAnswered(shortOut, kPci, "no answer buffer");

    Request wrongCode = request;
    wrongCode.ioctl = 0xCBFD23F8;  // same function, other transfer type
    refusedThenAnswered(wrongCode, kUsb, "another control code");
    wrongCode.ioctl = ADSLSIM_CTL_RESET;
    refusedThenAnswered(wrongCode, kUsb, "a control-device request on a modem device");

    // The channel's code on the control device is refused too.
    Answer onControl = Ask(ADSLSIM_CONTROL_DEVICE_PATH, request);
    EXPECT_FALSE(onControl.ok);

    // The smallest well-formed request and answer buffer.
    Request smallest = request;
    smallest.inSize = ADSLSIM_REQUEST_MIN_SIZE;
    smallest.outSize = ADSLSIM_ANSWER_MIN_SIZE;
    Answer header = Ask(kUsb, smallest);
    EXPECT_TRUE(header.ok);
    EXPECT_EQ(header.returned, 8u);
    EXPECT_EQ(header.length, 4);
}

TEST_F(SimChannel, ControlDeviceRefusesMalformedRequests)
{
    HANDLE control = OpenDevice(ADSLSIM_CONTROL_DEVICE_PATH);
    ASSERT_NE(control, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> buffer(sizeof(AdslSimOverride) + 16, 0);
    AdslSimOverride value = {};
    value.code = 0x0001;
    value.kind = ADSLSIM_OVERRIDE_FIXED;
    value.dataSize = ADSLSIM_MAX_DATA + 1;
    std::memcpy(buffer.data(), &value, ADSLSIM_OVERRIDE_HEADER_SIZE);
    auto refused = [&](DWORD code, void* in, DWORD inSize, void* out, DWORD outSize) {
        DWORD returned = 0;
        return !DeviceIoControl(control, code, in, inSize, out, outSize, &returned, nullptr);
    };
    EXPECT_TRUE(refused(ADSLSIM_CTL_SET_OVERRIDE, buffer.data(), buffer.size(), nullptr, 0)) << "data larger than an answer";
    value.dataSize = 100;
    std::memcpy(buffer.data(), &value, ADSLSIM_OVERRIDE_HEADER_SIZE);
    EXPECT_TRUE(refused(ADSLSIM_CTL_SET_OVERRIDE, buffer.data(), ADSLSIM_OVERRIDE_HEADER_SIZE + 50, nullptr, 0))
        << "data beyond the request";
    value.kind = 9;
    value.dataSize = 0;
    std::memcpy(buffer.data(), &value, ADSLSIM_OVERRIDE_HEADER_SIZE);
    EXPECT_TRUE(refused(ADSLSIM_CTL_SET_OVERRIDE, buffer.data(), ADSLSIM_OVERRIDE_HEADER_SIZE, nullptr, 0))
        << "unknown kind";
    uint32_t mask = 4;
    EXPECT_TRUE(refused(ADSLSIM_CTL_SET_DEVICES, &mask, sizeof mask, nullptr, 0)) << "unknown device mask";
    EXPECT_TRUE(refused(ADSLSIM_CTL_SET_DEVICES, &mask, 2, nullptr, 0)) << "short mask";
    EXPECT_TRUE(refused(ADSLSIM_CTL_GET_STATS, nullptr, 0, buffer.data(), 8)) << "short statistics buffer";
    EXPECT_TRUE(refused(ADSLSIM_CONTROL_CODE(0x9FF), nullptr, 0, nullptr, 0)) << "unknown control code";
    CloseHandle(control);

    EXPECT_EQ(Ctl("status").output.find("set "), std::string::npos) << "nothing was stored";
    EXPECT_TRUE(CanOpen(kUsb));
    EXPECT_TRUE(CanOpen(kPci));
}

// Sends 5,000 requests and checks that every answer is well formed. Run by
// TwoProcessesAtOnce in two child processes; disabled on its own.
TEST(SimStress, DISABLED_FiveThousandRequests)
{
    const uint16_t codes[] = {0x0001, 0x0004, 0x0103, 0x0107, 0x01E6, 0x0301, 0x0381, 0x0999};
    int bad = 0;
    for (int i = 0; i < 5000; ++i) {
        uint16_t code = codes[i % (sizeof codes / sizeof codes[0])];
        Answer answer = Ask(code, i % 2 ? kUsb : kPci);
        bool good = answer.ok && answer.returned >= ADSLSIM_ANSWER_DATA_OFFSET;
        if (code == 0x0999)
            good = good && answer.status == ADSLSIM_STATUS_UNKNOWN_COMMAND && answer.length == 0;
        else if (code == 0x0001)
            good = good && answer.status == 0 && answer.length == answer.text().size() &&
                   answer.returned == ADSLSIM_ANSWER_DATA_OFFSET + answer.length + 1u;
        else
            good = good && answer.status == 0 && answer.length == 4 && answer.returned == 12;
        bad += good ? 0 : 1;
    }
    EXPECT_EQ(bad, 0);
}

TEST_F(SimChannel, TwoProcessesAtOnceGetWellFormedAnswers)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) +
                        L"\" --gtest_brief=1 --gtest_also_run_disabled_tests --gtest_filter=SimStress.DISABLED_FiveThousandRequests";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION children[2] = {};
    for (PROCESS_INFORMATION& child : children) {
        std::wstring mutableLine = line;
        ASSERT_TRUE(CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &child));
    }
    for (PROCESS_INFORMATION& child : children) {
        DWORD code = 99;
        if (WaitForSingleObject(child.hProcess, 300000) == WAIT_OBJECT_0)
            GetExitCodeProcess(child.hProcess, &code);
        else
            TerminateProcess(child.hProcess, 99);
        EXPECT_EQ(code, 0u) << "a child saw a malformed answer or did not finish";
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    std::string stats = Ctl("stats").output;
    EXPECT_NE(stats.find("cmd 0x0999 1250\n"), std::string::npos) << stats;
}

}  // namespace
