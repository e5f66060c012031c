// Command codes answered inside the program.
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"
#include "settings/XVuk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class VirtualCommandTest : public ::testing::Test {
protected:
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    FakeProfileReader profile;
    ScopedProfileReader useProfile{profile};

    uint16_t status = 0x5555;
    uint16_t length = 0x5555;
    char buffer[64];

    VirtualCommandTest() { std::memset(buffer, 'x', sizeof buffer); }

    bool request(uint32_t command, uint32_t size = sizeof(buffer))
    {
        return requestCommand(command, status, length, buffer, size);
    }

    uint32_t bufferDword() const { return ReadLe32(reinterpret_cast<const uint8_t*>(buffer)); }

    // The message of the XVuk that request raises, or "" when none.
    std::string raised(uint32_t command, uint32_t size = sizeof(buffer))
    {
        try {
            request(command, size);
        } catch (const XVuk& error) {
            return error.GetMessageText();
        }
        return std::string();
    }
};

} // namespace

TEST_F(VirtualCommandTest, CodesBeyondTheTableAreRefused)
{
    EXPECT_EQ(raised(0x10006), "Command 0x10006 not valid");
    EXPECT_EQ(raised(0xFFFFFFFF), "Command 0xffffffff not valid");
    EXPECT_EQ(raised(0x20004), "Command 0x20004 not valid") << "upper bits are not masked off";
    EXPECT_TRUE(device.openAttempts().empty());
}

TEST_F(VirtualCommandTest, StartupTextByProgress)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "Idle (0x0)"},          {1, "Detecting Carrier (0x1)"}, {63, "Detecting Carrier (0x3f)"},
        {64, "Training (0x40)"},    {0x50, "Training (0x50)"},      {127, "Training (0x7f)"},
        {128, "Loading Firmware (0x80)"}, {191, "Loading Firmware (0xbf)"}, {192, "Unused (0xc0)"},
        {0xFFFFFFFF, "Unused (0xffffffff)"}};
    device.answerDword(0x0004, 1);
    for (const auto& c : cases) {
        FakeDeviceIo::Answer progress;
        progress.status = 0;
        progress.length = 9; // passed through, not replaced by the text's length
        progress.data = {uint8_t(c.first), uint8_t(c.first >> 8), uint8_t(c.first >> 16), uint8_t(c.first >> 24)};
        device.answer(0x01E6, progress);
        EXPECT_FALSE(request(0x10000));
        EXPECT_STREQ(buffer, c.second);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(length, 9);
    }
}

TEST_F(VirtualCommandTest, StartupTextCompletedWhenLineUpAndPassesTheProgressAnswer)
{
    device.answerDword(0x0004, 2);
    device.answerDword(0x01E6, 0x1234, 5);
    EXPECT_FALSE(request(0x10000));
    EXPECT_STREQ(buffer, "Completed (0x1234)");
    EXPECT_EQ(status, 5);
    EXPECT_EQ(length, 4);

    device.failCall(0x01E6);
    EXPECT_TRUE(request(0x10000)) << "the result is that of the progress request";
}

TEST_F(VirtualCommandTest, StartupTextNeedsRoomForTheTerminator)
{
    device.answerDword(0x01E6, 0x50); // "Training (0x50)": 15 characters
    device.answerDword(0x0004, 0);
    EXPECT_EQ(raised(0x10000, 15), "Buffer too small for cmd 0x10000");
    EXPECT_EQ(raised(0x10000, 0x80000000u), "Buffer too small for cmd 0x10000") << "size compared signed";
    EXPECT_EQ(raised(0x10000, 16), "");
    EXPECT_STREQ(buffer, "Training (0x50)");
}

TEST_F(VirtualCommandTest, CombinedRatesUseTheirOwnCodes)
{
    // 0x10001: selector 0x0104 set picks 0x010F.
    device.answerDword(0x0104, 1);
    device.answerDword(0x010F, 100);
    device.answerDword(0x0112, 999);
    device.answerDword(0x0110, 8);
    device.answerDword(0x0103, 1000);
    EXPECT_FALSE(request(0x10001));
    EXPECT_EQ(bufferDword(), 1000u + 100u * 32u / 8u + 32u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(buffer[4], 'x');

    // Selector clear picks 0x0112.
    device.answerDword(0x0104, 0);
    EXPECT_FALSE(request(0x10001));
    EXPECT_EQ(bufferDword(), 1000u + 999u * 32u / 8u + 32u);

    // 0x10002 from 0x0108, 0x010B/0x010E, 0x010C, 0x0107.
    device.answerDword(0x0108, 7);
    device.answerDword(0x010B, 10);
    device.answerDword(0x010E, 20);
    device.answerDword(0x010C, 4);
    device.answerDword(0x0107, 500);
    EXPECT_FALSE(request(0x10002));
    EXPECT_EQ(bufferDword(), 500u + 10u * 32u / 4u + 32u);
    device.answerDword(0x0108, 0);
    EXPECT_FALSE(request(0x10002));
    EXPECT_EQ(bufferDword(), 500u + 20u * 32u / 4u + 32u);
}

TEST_F(VirtualCommandTest, CombinedRateArithmeticWrapsAndDivisorZeroIsOne)
{
    device.answerDword(0x0104, 1);
    device.answerDword(0x010F, 0x08000001); // times 32 wraps to 32
    device.answerDword(0x0110, 0);
    device.answerDword(0x0103, 0xFFFFFFF0);
    EXPECT_FALSE(request(0x10001));
    EXPECT_EQ(bufferDword(), 0xFFFFFFF0u + 32u + 32u) << "sum wraps too";
    EXPECT_EQ(bufferDword(), 0x30u);

    device.answerDword(0x010F, 3);
    device.answerDword(0x0110, 5);
    device.answerDword(0x0103, 0);
    EXPECT_FALSE(request(0x10001));
    EXPECT_EQ(bufferDword(), 96u / 5u + 32u) << "division truncates";
}

TEST_F(VirtualCommandTest, CombinedRateFailures)
{
    device.answerDword(0x0104, 1);
    device.answerDword(0x010F, 4);
    device.answerDword(0x0110, 1);
    device.answerDword(0x0103, 10);

    // Selector fails: nothing touched.
    device.failCall(0x0104);
    EXPECT_TRUE(request(0x10001));
    EXPECT_EQ(status, 0x5555);
    EXPECT_EQ(length, 0x5555);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(device.callCount(0x010F), 0u);

    // A refused divisor or base rate fails the command too.
    device.answerDword(0x0104, 1);
    device.answerDword(0x0110, 1, 2);
    EXPECT_TRUE(request(0x10001));
    device.answerDword(0x0110, 1);
    device.answerDword(0x0103, 10, 2);
    EXPECT_TRUE(request(0x10001));
    EXPECT_EQ(buffer[0], 'x');

    // The multiplicand's failure is not tested: 0 is used.
    device.answerDword(0x0103, 10);
    device.failCall(0x010F);
    EXPECT_FALSE(request(0x10001));
    EXPECT_EQ(bufferDword(), 10u + 32u);

    EXPECT_EQ(raised(0x10001, 3), "Command 0x10001 buf too small");
    EXPECT_EQ(raised(0x10002, 0), "Command 0x10002 buf too small");
    EXPECT_EQ(raised(0x10001, 0xFFFFFFFF), "") << "size compared unsigned";
}

TEST_F(VirtualCommandTest, ProgramVersion)
{
    EXPECT_FALSE(request(0x10003, 6));
    EXPECT_STREQ(buffer, "4.2.4");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 6);

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(request(0x10003, 5));
    EXPECT_EQ(status, 4);
    EXPECT_EQ(length, 6);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(request(0x10003, 0x80000000u)) << "size compared signed";
    EXPECT_TRUE(device.openAttempts().empty());
}

TEST_F(VirtualCommandTest, PackageVersionFromInstallerFileWithoutDevice)
{
    profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "7.1.0 build 42");
    EXPECT_FALSE(request(0x10004));
    EXPECT_STREQ(buffer, "7.1.0 build 42");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 14);

    // Cut to the caller's size like the profile API does.
    EXPECT_FALSE(request(0x10004, 6));
    EXPECT_STREQ(buffer, "7.1.0");
    EXPECT_EQ(length, 5);
    EXPECT_TRUE(device.openAttempts().empty());

    profile.clear();
    EXPECT_TRUE(request(0x10004));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(profile.readCount(), 3u);
}

TEST_F(VirtualCommandTest, ToggleListFromDriverNames)
{
    device.answerText(0x001A, ",,one,,two,");
    EXPECT_FALSE(request(0x10005));
    EXPECT_STREQ(buffer, "Toggle,-1,one,0,two,1");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 22);

    // Spaces belong to the names.
    device.answerText(0x001A, " a ,b");
    EXPECT_FALSE(request(0x10005));
    EXPECT_STREQ(buffer, "Toggle,-1, a ,0,b,1");
}

TEST_F(VirtualCommandTest, ToggleListWithoutDriverAndTooSmall)
{
    device.setDevices(false, false);
    EXPECT_FALSE(request(0x10005));
    EXPECT_STREQ(buffer, "Toggle,-1");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 10);

    // A refused list request still has its names read.
    device.setDevices(true, true);
    device.answerText(0x001A, "n", 3);
    EXPECT_FALSE(request(0x10005));
    EXPECT_STREQ(buffer, "Toggle,-1,n,0");

    // "Toggle,-1,abc,0" and its terminator take 16 bytes.
    device.answerText(0x001A, "abc");
    EXPECT_TRUE(request(0x10005, 15));
    EXPECT_EQ(status, 4);
    EXPECT_EQ(length, 16);
    EXPECT_FALSE(request(0x10005, 16));
    EXPECT_STREQ(buffer, "Toggle,-1,abc,0");
}

TEST_F(VirtualCommandTest, ToggleListWithoutTerminatorIsReadWithinTheBuffer)
{
    device.answerBytes(0x001A, std::vector<uint8_t>(30, 'n'));
    std::vector<char> exact(20, 'x');
    EXPECT_TRUE(requestCommand(0x10005, status, length, exact.data(), uint32_t(exact.size())));
    EXPECT_EQ(status, 4);
    EXPECT_EQ(length, 10 + 20 + 2 + 1) << "the name is the 20 bytes the buffer holds";
}
