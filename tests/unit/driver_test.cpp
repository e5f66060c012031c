// The channel and the commands answered inside the program, against the
// scripted device.
#include "driver/CommandCodes.h"
#include "settings/XVuk.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"

#include <gtest/gtest.h>

namespace {

const std::string kUsb = "\\\\.\\ADSLUSB";
const std::string kPci = "\\\\.\\VukPciAdapter";

class DriverTest : public ::testing::Test {
protected:
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    FakeProfileReader profile;
    ScopedProfileReader useProfile{profile};
    uint16_t status = 0x5555;
    uint16_t length = 0x5555;
    std::vector<char> buffer = std::vector<char>(64, 'x');

    bool request(uint32_t command, uint32_t size = 64)
    {
        return requestCommand(command, status, length, buffer.data(), size);
    }
    uint32_t dword() const { return ReadLe32(reinterpret_cast<const uint8_t*>(buffer.data())); }
    // The message of the XVuk that the request raises, "" when none.
    std::string raised(uint32_t command, uint32_t size)
    {
        try {
            request(command, size);
        } catch (const XVuk& error) {
            return error.GetMessageText();
        }
        return "";
    }
};

} // namespace

TEST_F(DriverTest, OpensTheRememberedDeviceFirstThenScans)
{
    device.setDevices(false, true);
    EXPECT_FALSE(request(Command::kLineState));
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kUsb, kUsb, kPci}));
    device.clearRecords();
    request(Command::kLineState);
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kPci}));
    device.setDevices(true, false);
    device.clearRecords();
    request(Command::kLineState);
    request(Command::kLineState);
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kPci, kUsb, kUsb}));
    EXPECT_EQ(device.openHandleCount(), 0u);
}

TEST_F(DriverTest, OneCallWithTheRequestBytes)
{
    request(0x10381 & 0xFFFF);
    ASSERT_EQ(device.calls().size(), 1u);
    const FakeDeviceIo::Call& call = device.calls()[0];
    EXPECT_EQ(call.controlCode, 0xCBFD23FCu);
    EXPECT_EQ(call.outputSize, 4096u);
    std::vector<uint8_t> expected(4096, 0);
    expected[0] = expected[1] = 2;
    expected[4] = 0x81;
    expected[5] = 0x03;
    EXPECT_EQ(call.request, expected);
}

TEST_F(DriverTest, CopiesTheCallersSizeUpTo4088WhateverTheLength)
{
    std::vector<uint8_t> data(4088);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 7 + 1);
    device.answerBytes(0x0001, data, 0, 9);
    buffer.assign(4100, 'x');
    EXPECT_FALSE(request(0x0001, 4096));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 9);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reinterpret_cast<uint8_t*>(buffer.data())));
    EXPECT_EQ(buffer[4088], 'x');
    buffer.assign(8, 'x');
    request(0x0001, 4);
    EXPECT_EQ(uint8_t(buffer[3]), data[3]);
    EXPECT_EQ(buffer[4], 'x');

    // A short answer: the rest of the copy is the zeroed answer buffer.
    device.answerBytes(0x0002, {9});
    request(0x0002, 4);
    EXPECT_EQ(std::string(buffer.data(), 5), std::string("\x09\0\0\0x", 5));
}

TEST_F(DriverTest, RefusalsAndFailures)
{
    // A refusal copies the data but is not a good request.
    device.answerDword(0x0103, 0x11223344, 7);
    EXPECT_FALSE(request(0x0103, 4));
    EXPECT_EQ(status, 7);
    EXPECT_EQ(dword(), 0x11223344u);
    uint32_t value = 0;
    EXPECT_TRUE(requestDword(0x0103, value));
    EXPECT_EQ(value, 0x11223344u);

    // A failed call reads the zeroed answer.
    device.failCall(0x0107);
    EXPECT_TRUE(request(0x0107, 4));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(dword(), 0u);

    // No device: status 0xFFFF, length and buffer untouched.
    device.setDevices(false, false);
    device.clearRecords();
    length = 77;
    buffer[0] = 'x';
    EXPECT_TRUE(request(0x0004, 4));
    EXPECT_EQ(status, 0xFFFF);
    EXPECT_EQ(length, 77);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(device.calls().empty());
    EXPECT_TRUE(requestDword(0x0004, value));
    EXPECT_EQ(value, 0u);
}

TEST_F(DriverTest, TypedQueriesTakeOnlyGoodAnswers)
{
    const struct { uint32_t value; uint16_t status; bool up; const char* annex; bool dual; uint32_t cells; } cases[] = {
        {0, 0, false, "A", false, 0},     {1, 0, false, "C", true, 1},
        {2, 0, true, "", false, 2},       {3, 0, false, "B", false, 3},
        {2, 1, false, "", false, 0},      {0x100, 0, false, "", false, 0x100},
    };
    for (const auto& c : cases) {
        for (uint32_t code : {Command::kLineState, Command::kAnnex, Command::kDualBitmap, Command::kCellCount301,
                              Command::kCellCount381})
            device.answerDword(code, c.value, c.status);
        EXPECT_EQ(isLineUp(), c.up) << c.value << "/" << c.status;
        EXPECT_EQ(getAnnexLetter(), c.annex) << c.value << "/" << c.status;
        EXPECT_EQ(isDualBitmap(), c.dual) << c.value << "/" << c.status;
        EXPECT_EQ(getCellCount301(), c.cells) << c.value << "/" << c.status;
        EXPECT_EQ(getCellCount381(), c.cells) << c.value << "/" << c.status;
    }
    device.answerCounter(0x0301, 0xFFFFFFFE, 3);
    EXPECT_EQ(getCellCount301(), 0xFFFFFFFEu);
    EXPECT_EQ(getCellCount301(), 1u);
}

TEST_F(DriverTest, VirtualCommandRefusals)
{
    device.answerDword(Command::kStartupProgress, 0x50); // "Training (0x50)": 15 characters
    const struct { uint32_t command, size; const char* message; } cases[] = {
        {0x10006, 64, "Command 0x10006 not valid"},
        {0xFFFFFFFF, 64, "Command 0xffffffff not valid"},
        {0x20004, 64, "Command 0x20004 not valid"},
        {0x10000, 15, "Buffer too small for cmd 0x10000"},
        {0x10000, 0x80000000u, "Buffer too small for cmd 0x10000"}, // sizes compare signed
        {0x10000, 16, ""},
        {0x10001, 3, "Command 0x10001 buf too small"},
        {0x10002, 0, "Command 0x10002 buf too small"},
        {0x10001, 0xFFFFFFFF, ""}, // here unsigned
    };
    for (const auto& c : cases)
        EXPECT_EQ(raised(c.command, c.size), c.message) << std::hex << c.command << " size " << c.size;
}

TEST_F(DriverTest, StartupTextByProgressPassesTheProgressAnswer)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "Idle (0x0)"}, {1, "Detecting Carrier (0x1)"}, {63, "Detecting Carrier (0x3f)"}, {64, "Training (0x40)"},
        {127, "Training (0x7f)"}, {128, "Loading Firmware (0x80)"}, {191, "Loading Firmware (0xbf)"},
        {192, "Unused (0xc0)"}, {0xFFFFFFFF, "Unused (0xffffffff)"}};
    for (const auto& c : cases) {
        std::vector<uint8_t> progress(4);
        WriteLe32(progress.data(), c.first);
        device.answerBytes(Command::kStartupProgress, progress, 6, 9);
        EXPECT_FALSE(request(0x10000));
        EXPECT_STREQ(buffer.data(), c.second);
        EXPECT_EQ(status, 6);
        EXPECT_EQ(length, 9);
    }
    device.answerDword(Command::kLineState, 2);
    request(0x10000);
    EXPECT_STREQ(buffer.data(), "Completed (0xffffffff)");
    device.failCall(Command::kStartupProgress);
    EXPECT_TRUE(request(0x10000));
}

TEST_F(DriverTest, CombinedRates)
{
    // rate + multiplicand * 32 / divisor + 32 in wrapping 32-bit arithmetic,
    // the multiplicand chosen by the selector, divisor 0 taken as 1.
    const struct { uint32_t command, selector, ifSet, ifClear, divisor, rate, expected; } cases[] = {
        {0x10001, 1, 100, 999, 8, 1000, 1000 + 400 + 32},
        {0x10001, 0, 100, 999, 8, 1000, 1000 + 3996 + 32},
        {0x10001, 1, 3, 0, 5, 0, 96 / 5 + 32},
        {0x10001, 1, 3, 0, 0, 0, 96 + 32},
        {0x10001, 1, 0x08000001, 0, 1, 0xFFFFFFF0, 0x30},
        {0x10002, 7, 10, 20, 4, 500, 500 + 80 + 32},
        {0x10002, 0, 10, 20, 4, 500, 500 + 160 + 32},
    };
    for (const auto& c : cases) {
        FakeDeviceIo rates;
        ScopedDeviceIo useRates(rates);
        const bool first = c.command == 0x10001;
        rates.answerDword(first ? 0x0104 : 0x0108, c.selector);
        rates.answerDword(first ? 0x010F : 0x010B, c.ifSet);
        rates.answerDword(first ? 0x0112 : 0x010E, c.ifClear);
        rates.answerDword(first ? 0x0110 : 0x010C, c.divisor);
        rates.answerDword(first ? 0x0103 : 0x0107, c.rate);
        EXPECT_FALSE(request(c.command));
        EXPECT_EQ(dword(), c.expected) << std::hex << c.command << " selector " << c.selector;
        EXPECT_EQ(status, 0);
        EXPECT_EQ(length, 4);
        EXPECT_EQ(buffer[4], 'x');
    }
}

TEST_F(DriverTest, CombinedRateFailures)
{
    // A failed selector, a refused divisor or base rate fail the command and
    // leave every output untouched; a failed multiplicand counts as 0.
    const struct { uint32_t code; bool fails; uint16_t refusal; bool failed; } cases[] = {
        {0x0104, true, 0, true}, {0x0110, false, 2, true}, {0x0103, false, 2, true}, {0x010F, true, 0, false}};
    for (const auto& c : cases) {
        FakeDeviceIo rates;
        ScopedDeviceIo useRates(rates);
        for (uint32_t code : {0x0104, 0x010F, 0x0110, 0x0103})
            rates.answerDword(code, code == 0x0103 ? 10 : 1, code == c.code ? c.refusal : 0);
        if (c.fails)
            rates.failCall(c.code);
        status = length = 0x5555;
        std::fill(buffer.begin(), buffer.end(), 'x');
        EXPECT_EQ(request(0x10001), c.failed) << std::hex << c.code;
        EXPECT_EQ(status, c.failed ? 0x5555 : 0) << std::hex << c.code;
        EXPECT_EQ(dword(), c.failed ? 0x78787878u : 10u + 32u) << std::hex << c.code;
    }
}

TEST_F(DriverTest, VersionTexts)
{
    EXPECT_FALSE(request(0x10003, 6));
    EXPECT_STREQ(buffer.data(), "4.2.4");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 6);
    buffer[0] = 'x';
    EXPECT_TRUE(request(0x10003, 5));
    EXPECT_EQ(status, 4);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(request(0x10003, 0x80000000u));

    // The package version comes from the installer's file, cut to the caller's size.
    profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "7.1.0 build 42");
    EXPECT_FALSE(request(0x10004));
    EXPECT_STREQ(buffer.data(), "7.1.0 build 42");
    EXPECT_EQ(length, 14);
    EXPECT_FALSE(request(0x10004, 6));
    EXPECT_STREQ(buffer.data(), "7.1.0");
    EXPECT_EQ(length, 5);
    profile.clear();
    EXPECT_TRUE(request(0x10004));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(length, 0);
    EXPECT_TRUE(device.openAttempts().empty());
}

TEST_F(DriverTest, ToggleList)
{
    const struct {
        const char* names;
        uint16_t refusal;
        bool device;
        uint32_t size;
        uint16_t status, length;
        const char* text;
    } cases[] = {
        {",,one,,two,", 0, true, 64, 0, 22, "Toggle,-1,one,0,two,1"},
        {" a ,b", 0, true, 64, 0, 20, "Toggle,-1, a ,0,b,1"},
        {"n", 3, true, 64, 0, 14, "Toggle,-1,n,0"}, // a refused request still has its names read
        {"n", 0, false, 64, 0, 10, "Toggle,-1"},
        {"abc", 0, true, 16, 0, 16, "Toggle,-1,abc,0"},
        {"abc", 0, true, 15, 4, 16, nullptr},
    };
    for (const auto& c : cases) {
        device.answerText(Command::kToggleNames, c.names, c.refusal);
        device.setDevices(c.device, c.device);
        EXPECT_EQ(request(0x10005, c.size), c.status != 0) << c.names;
        EXPECT_EQ(status, c.status) << c.names;
        EXPECT_EQ(length, c.length) << c.names;
        if (c.text) {
            EXPECT_STREQ(buffer.data(), c.text);
        }
    }
    // Names without a terminator are read within the caller's buffer only.
    device.answerBytes(Command::kToggleNames, std::vector<uint8_t>(30, 'n'));
    EXPECT_TRUE(request(0x10005, 20));
    EXPECT_EQ(length, 10 + 20 + 2 + 1);
}
