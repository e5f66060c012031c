// The channel against the scripted fake device: open order, request bytes,
// answer copying and the typed wrappers.
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "support/FakeDeviceIo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::string kUsb = "\\\\.\\ADSLUSB";
const std::string kPci = "\\\\.\\VukPciAdapter";

class ChannelTest : public ::testing::Test {
protected:
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
};

std::vector<uint8_t> Pattern(size_t count)
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = uint8_t(i * 7 + 1);
    return bytes;
}

} // namespace

TEST_F(ChannelTest, OnlyPciAdapterIsFoundThenTriedFirst)
{
    device.setDevices(false, true);
    device.answerDword(Command::kLineState, 2);
    uint32_t value = 0;

    EXPECT_FALSE(requestDword(Command::kLineState, value));
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kUsb, kUsb, kPci}));
    EXPECT_EQ(getRememberedDeviceIndex(), 1u);

    device.clearRecords();
    EXPECT_FALSE(requestDword(Command::kLineState, value));
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kPci}));
    EXPECT_EQ(device.openHandleCount(), 0u);
}

TEST_F(ChannelTest, RememberedDeviceGoneFallsBackToScan)
{
    device.setDevices(false, true);
    uint32_t value = 0;
    requestDword(Command::kLineState, value);
    device.setDevices(true, false);
    device.clearRecords();

    requestDword(Command::kLineState, value);
    EXPECT_EQ(device.openAttempts(), (std::vector<std::string>{kPci, kUsb}));
    EXPECT_EQ(getRememberedDeviceIndex(), 0u);
}

TEST_F(ChannelTest, RequestLayoutAndOneCallPerRequest)
{
    uint8_t buffer[8] = {};
    uint16_t status = 0, length = 0;
    requestCommand(0xABCD0381 & 0xFFFF, status, length, buffer, sizeof buffer);

    ASSERT_EQ(device.calls().size(), 1u);
    const FakeDeviceIo::Call& call = device.calls()[0];
    EXPECT_EQ(call.controlCode, 0xCBFD23FCu);
    EXPECT_EQ(call.inputSize, 4096u);
    EXPECT_EQ(call.outputSize, 4096u);
    ASSERT_EQ(call.request.size(), 4096u);
    std::vector<uint8_t> expected(4096, 0);
    expected[0] = 2;
    expected[1] = 2;
    expected[4] = 0x81;
    expected[5] = 0x03;
    EXPECT_EQ(call.request, expected);
    EXPECT_EQ(call.device, kUsb);
    EXPECT_EQ(device.openHandleCount(), 0u);
    EXPECT_EQ(device.badHandleUses(), 0u);
}

TEST_F(ChannelTest, CopiesCallerSizeUpToTheDataAreaWhateverTheLength)
{
    std::vector<uint8_t> data = Pattern(4088);
    device.answerBytes(0x0001, data);

    // Size 4096: the 4088 data bytes, nothing beyond them.
    std::vector<uint8_t> big(4100, 0xEE);
    uint16_t status = 1, length = 0;
    EXPECT_FALSE(requestCommand(0x0001, status, length, big.data(), 4096));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 4088);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), big.begin()));
    EXPECT_EQ(big[4088], 0xEE);

    // Size 4 with a longer reported length copies 4 bytes.
    uint8_t small[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(requestCommand(0x0001, status, length, small, 4));
    EXPECT_EQ(length, 4088);
    EXPECT_EQ(small[3], data[3]);
    EXPECT_EQ(small[4], 0xEE);

    // A short answer: the rest of the copy is the zeroed answer buffer.
    device.answerBytes(0x0002, {9});
    uint8_t four[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    requestCommand(0x0002, status, length, four, 4);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(four[0], 9);
    EXPECT_EQ(four[1], 0);
    EXPECT_EQ(four[3], 0);
}

TEST_F(ChannelTest, NoDeviceLeavesLengthAndBufferUntouched)
{
    device.setDevices(false, false);
    uint8_t buffer[4] = {1, 2, 3, 4};
    uint16_t status = 0, length = 77;
    EXPECT_TRUE(requestCommand(0x0004, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, 0xFFFF);
    EXPECT_EQ(length, 77);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[3], 4);
    EXPECT_TRUE(device.calls().empty());
    EXPECT_EQ(getRememberedDeviceIndex(), 0u);

    uint32_t value = 5;
    EXPECT_TRUE(requestDword(0x0004, value));
    EXPECT_EQ(value, 0u);
}

TEST_F(ChannelTest, DriverRefusalStillCopiesData)
{
    device.answerDword(0x0103, 0x11223344, 7);
    uint8_t buffer[4] = {};
    uint16_t status = 0, length = 0;
    EXPECT_FALSE(requestCommand(0x0103, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, 7);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(buffer[0], 0x44);
    EXPECT_EQ(buffer[3], 0x11);

    uint32_t value = 0;
    EXPECT_TRUE(requestDword(0x0103, value)) << "a refusal is not a good request";
    EXPECT_EQ(value, 0x11223344u);
}

TEST_F(ChannelTest, FailedCallReadsTheZeroedAnswer)
{
    device.failCall(0x0107);
    uint8_t buffer[4] = {5, 5, 5, 5};
    uint16_t status = 9, length = 9;
    EXPECT_TRUE(requestCommand(0x0107, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(buffer[0], 0);

    // A driver that writes before failing: its bytes are what the caller gets.
    FakeDeviceIo::Answer written;
    written.status = 6;
    written.length = 2;
    written.data = {0x34, 0x12};
    written.callFails = true;
    written.writesOnFailure = true;
    device.answer(0x0107, written);
    EXPECT_TRUE(requestCommand(0x0107, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, 6);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(buffer[1], 0x12);
    EXPECT_EQ(device.openHandleCount(), 0u);
}

TEST_F(ChannelTest, LineUpOnlyForGoodValueTwo)
{
    device.answerDword(0x0004, 2);
    EXPECT_TRUE(isLineUp());
    device.answerDword(0x0004, 1);
    EXPECT_FALSE(isLineUp());
    device.answerDword(0x0004, 2, 1);
    EXPECT_FALSE(isLineUp());
    device.failCall(0x0004);
    EXPECT_FALSE(isLineUp());
}

TEST_F(ChannelTest, AnnexLetters)
{
    const std::pair<uint32_t, const char*> cases[] = {{0, "A"}, {3, "B"}, {1, "C"}, {2, ""}, {4, ""},
                                                       {0x100, ""}, {0xFFFFFFFF, ""}};
    for (const auto& c : cases) {
        device.answerDword(0x0220, c.first);
        EXPECT_EQ(getAnnexLetter(), c.second) << "value " << c.first;
    }
    device.answerDword(0x0220, 0, 2);
    EXPECT_EQ(getAnnexLetter(), "") << "refused request";
    device.setDevices(false, false);
    EXPECT_EQ(getAnnexLetter(), "") << "no device";
}

TEST_F(ChannelTest, DualBitmapAndCellCounters)
{
    device.answerDword(0x01F5, 1);
    EXPECT_TRUE(isDualBitmap());
    device.answerDword(0x01F5, 2);
    EXPECT_FALSE(isDualBitmap());
    device.answerDword(0x01F5, 1, 3);
    EXPECT_FALSE(isDualBitmap());

    device.answerCounter(0x0301, 0xFFFFFFFE, 3);
    EXPECT_EQ(getCellCount301(), 0xFFFFFFFEu);
    EXPECT_EQ(getCellCount301(), 1u);
    device.answerDword(0x0381, 123456);
    EXPECT_EQ(getCellCount381(), 123456u);
    device.answerDword(0x0381, 123456, 1);
    EXPECT_EQ(getCellCount381(), 0u);
    device.failCall(0x0301);
    EXPECT_EQ(getCellCount301(), 0u);
}

TEST(ChannelPlatformTest, HostBuildHasNoDevice)
{
    uint16_t status = 0, length = 3;
    uint8_t buffer[4] = {1, 1, 1, 1};
    EXPECT_TRUE(requestCommand(0x0004, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, kStatusNoDevice);
    EXPECT_EQ(length, 3);
}
