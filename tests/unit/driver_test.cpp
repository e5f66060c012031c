// The channel and the commands answered inside the program, against the
// scripted device.
#include "driver/CommandCodes.h"
#include "settings/XVuk.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"

#include <gtest/gtest.h>

namespace {

const std::string kUsb = "\\\\.\\ADSLUSB", kPci = "\\\\.\\VukPciAdapter";
constexpr uint32_t kUntouched = 0x78787878; // "xxxx"

class DriverTest : public ::testing::Test {
protected:
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    uint16_t status = 0x5555, length = 0x5555;
    std::vector<char> buffer = std::vector<char>(64, 'x');

    bool request(uint32_t command, uint32_t size = 64)
    {
        return requestCommand(command, status, length, buffer.data(), size);
    }
    uint32_t dword() const { return ReadLe32(reinterpret_cast<const uint8_t*>(buffer.data())); }
    std::pair<int, int> outputs() const { return {status, length}; }
    void reset()
    {
        status = length = 0x5555;
        std::fill(buffer.begin(), buffer.end(), 'x');
    }
};

} // namespace

TEST_F(DriverTest, OpensTheRememberedDeviceFirstThenScans)
{
    device.setDevices(false, true);
    request(Command::kLineState);
    request(Command::kLineState);
    device.setDevices(true, false);
    request(Command::kLineState);
    request(Command::kLineState);
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kUsb, kUsb, kPci, kPci, kPci, kUsb, kUsb}));
    EXPECT_EQ(device.openHandleCount(), 0u);
}

TEST_F(DriverTest, OneCallCopyingTheCallersSizeUpTo4088WhateverTheLength)
{
    std::vector<uint8_t> data(4088);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 7 + 1);
    device.answerBytes(0x0381, data, 0, 9);
    buffer.assign(4100, 'x');
    EXPECT_FALSE(request(0x0381, 4096));
    EXPECT_EQ(outputs(), std::make_pair(0, 9));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reinterpret_cast<uint8_t*>(buffer.data())));
    EXPECT_EQ(buffer[4088], 'x');
    ASSERT_EQ(device.calls().size(), 1u);
    const std::vector<uint8_t>& sent = device.calls()[0].request; // 4096 bytes, all 0 but these
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + 6), (std::vector<uint8_t>{2, 2, 0, 0, 0x81, 0x03}));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0), 4096 - 4);

    reset();
    request(0x0381, 4);
    EXPECT_EQ(uint8_t(buffer[3]), data[3]);
    EXPECT_EQ(buffer[4], 'x');
    // A short answer: the rest of the copy is the zeroed answer buffer.
    device.answerBytes(0x0002, {9});
    request(0x0002, 4);
    EXPECT_EQ(std::string(buffer.data(), 5), std::string("\x09\0\0\0x", 5));
}

TEST_F(DriverTest, RefusedFailedAndMissing)
{
    device.answerDword(0x0103, 0x11223344, 7);
    device.failCall(0x0107);
    const struct { uint32_t command; bool devices, failed; int status, length; uint32_t data; } cases[] = {
        {0x0103, true, false, 7, 4, 0x11223344},         // a refusal still copies the data
        {0x0107, true, true, 0, 0, 0},                   // a failed call reads the zeroed answer
        {0x0004, false, true, 0xFFFF, 0x5555, kUntouched}, // no device
    };
    for (const auto& c : cases) {
        device.setDevices(c.devices, c.devices);
        reset();
        EXPECT_EQ(request(c.command, 4), c.failed) << std::hex << c.command;
        EXPECT_EQ(outputs(), std::make_pair(c.status, c.length)) << std::hex << c.command;
        EXPECT_EQ(dword(), c.data) << std::hex << c.command;
    }
    uint32_t value = 5;
    EXPECT_TRUE(requestDword(0x0004, value));
    EXPECT_EQ(value, 0u);
}

TEST_F(DriverTest, TypedQueriesTakeOnlyGoodAnswers)
{
    const struct { uint32_t value; uint16_t status; bool up; const char* annex; bool dual; uint32_t cells; } cases[] = {
        {0, 0, false, "A", false, 0}, {1, 0, false, "C", true, 1},        {2, 0, true, "", false, 2},
        {3, 0, false, "B", false, 3}, {2, 1, false, "", false, 0}, {0x100, 0, false, "", false, 0x100}};
    for (const auto& c : cases) {
        for (uint32_t code : {Command::kLineState, Command::kAnnex, Command::kDualBitmap, Command::kUpstreamCells,
                              Command::kDownstreamCells})
            device.answerDword(code, c.value, c.status);
        EXPECT_EQ(isLineUp(), c.up) << c.value << "/" << c.status;
        EXPECT_EQ(getAnnexLetter(), c.annex) << c.value << "/" << c.status;
        EXPECT_EQ(isDualBitmap(), c.dual) << c.value << "/" << c.status;
        EXPECT_EQ(getUpstreamCellCount() + getDownstreamCellCount(), 2 * c.cells) << c.value << "/" << c.status;
    }
}

TEST_F(DriverTest, VirtualCommandTextsSizesAndRefusals)
{
    FakeProfileReader profile;
    ScopedProfileReader useProfile(profile);
    profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "7.1.0 build 42");
    device.answerBytes(Command::kStartupProgress, {0x50, 0, 0, 0}, 6, 9); // status and length passed on
    device.answerText(Command::kToggleNames, ",,one,,two,");
    // Sizes of 2^31 and more count as too small, except for the combined rates.
    // Rows with a message raise it (status and length are not looked at).
    const struct { uint32_t command, size; bool failed; int status, length; const char* text; } cases[] = {
        {0x10000, 16, false, 6, 9, "Training (0x50)"}, {0x10000, 15, true, 0, 0, "Buffer too small for cmd 0x10000"},
        {0x10000, 0x80000000u, true, 0, 0, "Buffer too small for cmd 0x10000"},
        {0x10001, 3, true, 0, 0, "Command 0x10001 buf too small"},
        {0x10002, 0, true, 0, 0, "Command 0x10002 buf too small"},
        {0x10001, 0xFFFFFFFF, false, 0, 4, " "}, // 32
        {0x10003, sizeof MODAVI_VERSION_TEXT, false, 0, sizeof MODAVI_VERSION_TEXT, MODAVI_VERSION_TEXT}, {0x10003, sizeof MODAVI_VERSION_TEXT - 1, true, 4, sizeof MODAVI_VERSION_TEXT, "xxxx"},
        {0x10003, 0x80000000u, true, 4, sizeof MODAVI_VERSION_TEXT, "xxxx"},
        {0x10004, 64, false, 0, 14, "7.1.0 build 42"}, {0x10004, 6, false, 0, 5, "7.1.0"},
        {0x10005, 22, false, 0, 22, "Toggle,-1,one,0,two,1"},
        {0x10005, 21, true, 4, 22, ",,one,,two,"}, // too small: only the names were read in
        {0x10006, 64, true, 0, 0, "Command 0x10006 not valid"},
        {0xFFFFFFFF, 64, true, 0, 0, "Command 0xffffffff not valid"},
        {0x20004, 64, true, 0, 0, "Command 0x20004 not valid"},
    };
    for (const auto& c : cases) {
        reset();
        std::string text;
        try {
            EXPECT_EQ(request(c.command, c.size), c.failed) << std::hex << c.command << " size " << c.size;
            EXPECT_EQ(outputs(), std::make_pair(c.status, c.length)) << std::hex << c.command << " size " << c.size;
            text = std::string(buffer.data(), std::strlen(c.text));
        } catch (const XVuk& error) {
            text = error.GetMessageText();
        }
        EXPECT_EQ(text, c.text) << std::hex << c.command << " size " << c.size;
    }
    profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "");
    EXPECT_TRUE(request(0x10004));
    EXPECT_EQ(outputs(), std::make_pair(2, 0));
}

TEST_F(DriverTest, StartupTextByProgress)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "Idle (0x0)"}, {1, "Detecting Carrier (0x1)"}, {63, "Detecting Carrier (0x3f)"}, {64, "Training (0x40)"},
        {127, "Training (0x7f)"}, {128, "Loading Firmware (0x80)"}, {191, "Loading Firmware (0xbf)"},
        {192, "Unused (0xc0)"}, {0xFFFFFFFF, "Unused (0xffffffff)"}};
    for (const auto& c : cases) {
        device.answerDword(Command::kStartupProgress, c.first);
        EXPECT_FALSE(request(0x10000));
        EXPECT_STREQ(buffer.data(), c.second);
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
    // the multiplicand chosen by the selector, divisor 0 taken as 1. A failed
    // selector, divisor or rate fails the command with every output
    // untouched; a failed multiplicand counts as 0.
    const struct { uint32_t command, selector, ifSet, ifClear, divisor, rate, failing, expected; } cases[] = {
        {0x10001, 1, 100, 999, 8, 1000, 0, 1000 + 400 + 32},   {0x10001, 0, 100, 999, 8, 1000, 0, 1000 + 3996 + 32},
        {0x10001, 1, 3, 0, 5, 0, 0, 96 / 5 + 32},              {0x10001, 1, 3, 0, 0, 0, 0, 96 + 32},
        {0x10001, 1, 0x08000001, 0, 1, 0xFFFFFFF0, 0, 0x30},   {0x10002, 7, 10, 20, 4, 500, 0, 500 + 80 + 32},
        {0x10002, 0, 10, 20, 4, 500, 0, 500 + 160 + 32},       {0x10001, 1, 1, 1, 1, 10, 0x0104, kUntouched},
        {0x10001, 1, 1, 1, 1, 10, 0x0110, kUntouched},         {0x10002, 1, 1, 1, 1, 10, 0x0107, kUntouched},
        {0x10001, 1, 1, 1, 1, 10, 0x010F, 42},
    };
    const uint32_t codes[2][5] = {{0x0104, 0x010F, 0x0112, 0x0110, 0x0103}, {0x0108, 0x010B, 0x010E, 0x010C, 0x0107}};
    for (const auto& c : cases) {
        FakeDeviceIo rates;
        ScopedDeviceIo useRates(rates);
        const uint32_t values[5] = {c.selector, c.ifSet, c.ifClear, c.divisor, c.rate};
        for (int i = 0; i < 5; ++i)
            rates.answerDword(codes[c.command - 0x10001][i], values[i]);
        if (c.failing)
            rates.failCall(c.failing);
        reset();
        const bool failed = c.expected == kUntouched;
        EXPECT_EQ(request(c.command), failed) << std::hex << c.command << " " << c.selector << " " << c.failing;
        EXPECT_EQ(dword(), c.expected) << std::hex << c.command << " " << c.selector << " " << c.failing;
        EXPECT_EQ(outputs(), failed ? std::make_pair(0x5555, 0x5555) : std::make_pair(0, 4)) << std::hex << c.failing;
        EXPECT_EQ(buffer[4], 'x');
    }
}

TEST_F(DriverTest, ToggleListFromTheDriversNames)
{
    const struct { const char* names; uint16_t refusal; bool device; const char* text; } cases[] = {
        {" a ,b", 0, true, "Toggle,-1, a ,0,b,1"}, // spaces belong to the names
        {"n", 3, true, "Toggle,-1,n,0"},          // a refused request still has its names read
        {"n", 0, false, "Toggle,-1"},
    };
    for (const auto& c : cases) {
        device.answerText(Command::kToggleNames, c.names, c.refusal);
        device.setDevices(c.device, c.device);
        EXPECT_FALSE(request(0x10005));
        EXPECT_STREQ(buffer.data(), c.text);
        EXPECT_EQ(outputs(), std::make_pair(0, int(std::strlen(c.text)) + 1));
    }
    // Names without a terminator are read within the caller's buffer only.
    device.setDevices(true, true);
    device.answerBytes(Command::kToggleNames, std::vector<uint8_t>(30, 'n'));
    EXPECT_TRUE(request(0x10005, 20));
    EXPECT_EQ(length, 10 + 20 + 2 + 1);
}
