// Status fields: set-up, enumeration lists, fetching and numeric access.
#include "support/FakeDeviceIo.h"
#include "settings/XVuk.h"
#include "status/StatusField.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string InitError(StatusField& field, const std::string& list)
{
    try {
        field.init(4, FieldEnum, list, 1.0f, 0.0f, "n/a");
    } catch (const XVuk& error) {
        return error.GetMessageText();
    }
    return std::string();
}

StatusField ValidField(uint16_t length, std::vector<uint8_t> data, float scale = 1.0f, float offset = 0.0f)
{
    StatusField field;
    field.init(0x0103, FieldUnsigned, "", scale, offset, "n/a");
    field.setAnswer(0, length, data.data(), data.size());
    return field;
}

} // namespace

TEST(StatusFieldTest, FreshFieldIsInvalid)
{
    StatusField field;
    EXPECT_TRUE(field.isInvalid());
    EXPECT_EQ(field.status(), 1);
    EXPECT_EQ(field.getDword(42), 42u);
    field.init(0x0004, FieldEnum, "0,Idle,2,Up", 1.0f, 0.0f, "n/a");
    EXPECT_TRUE(field.isInvalid());
    EXPECT_EQ(field.status(), 3);
    EXPECT_EQ(field.format(), "n/a");
}

TEST(StatusFieldTest, EnumListPairsAndValueTokens)
{
    StatusField field;
    field.init(4, FieldEnum, ",0,Idle,,2, Up ,0x1F,Hex,0X1F,Capital,-1,All ones,0x,Bare,", 1.0f, 0.0f, "");
    const EnumList& list = field.enumList();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list.entry(0), std::make_pair(0u, std::string("Idle")));
    EXPECT_EQ(list.entry(1), std::make_pair(2u, std::string(" Up ")));
    EXPECT_EQ(list.entry(2).first, 0x1Fu);
    EXPECT_EQ(list.entry(3).first, 0u) << "capital X is read as decimal";
    EXPECT_EQ(list.entry(4).first, 0xFFFFFFFFu);
    EXPECT_EQ(list.entry(5).first, 0u) << "0x without digits";
    EXPECT_EQ(*list.find(0), "Idle") << "first equal value wins";
}

TEST(StatusFieldTest, OddEnumListIsRefusedAfterTheOtherMembersAreSet)
{
    StatusField field;
    EXPECT_EQ(InitError(field, ""), "");
    EXPECT_EQ(field.enumList().size(), 0u);
    EXPECT_EQ(InitError(field, "0,Idle"), "");
    EXPECT_EQ(InitError(field, "1,One,2"), "Enum list must have even number of parameters");
    EXPECT_EQ(field.enumList().size(), 1u) << "earlier pairs stay, none appended";
    EXPECT_EQ(field.unavailableText(), "n/a");
    EXPECT_EQ(field.status(), 3);
    EXPECT_EQ(InitError(field, "3,Three"), "");
    EXPECT_EQ(field.enumList().size(), 2u) << "init appends";
}

TEST(StatusFieldTest, FetchKeepsTheDriverAnswer)
{
    FakeDeviceIo device;
    ScopedDeviceIo use(device);
    StatusField field;
    field.init(0x0001, FieldText, "", 1.0f, 0.0f, "n/a");

    device.answerText(0x0001, "hello");
    field.fetch();
    EXPECT_FALSE(field.isInvalid());
    EXPECT_EQ(field.length(), 5);
    EXPECT_EQ(field.format(), "hello");
    ASSERT_EQ(device.calls().size(), 1u);

    // A refusal keeps the driver's code; a failed call and a missing device give 3.
    device.answerText(0x0001, "hello", 9);
    field.fetch();
    EXPECT_EQ(field.status(), 9);
    EXPECT_EQ(field.format(), "n/a");
    device.failCall(0x0001);
    field.fetch();
    EXPECT_EQ(field.status(), 3);
    device.setDevices(false, false);
    field.fetch();
    EXPECT_EQ(field.status(), 3);
}

TEST(StatusFieldTest, FetchOfVirtualCommand)
{
    FakeDeviceIo device;
    ScopedDeviceIo use(device);
    StatusField field;
    field.init(0x10003, FieldText, "", 1.0f, 0.0f, "n/a");
    field.fetch();
    EXPECT_EQ(field.format(), "4.2.4");
    EXPECT_TRUE(device.openAttempts().empty());
}

TEST(StatusFieldTest, GetDwordReadsLittleEndianAndScales)
{
    EXPECT_EQ(ValidField(2, {0x34, 0x12, 0x56}).getDword(0), 0x1234u);
    EXPECT_EQ(ValidField(0, {0x34}).getDword(7), 0u);
    EXPECT_EQ(ValidField(4, {0xFF, 0xFF, 0xFF, 0xFF}).getDword(0), 0xFFFFFFFFu);
    EXPECT_EQ(ValidField(1, {3}, 0.5f).getDword(0), 1u) << "1.5 truncates toward zero";
    EXPECT_EQ(ValidField(1, {3}, -0.5f).getDword(0), 0xFFFFFFFFu) << "-1.5 truncates to -1";
    EXPECT_EQ(ValidField(1, {10}, 1000.0f, 0.75f).getDword(0), 10000u);
    EXPECT_EQ(ValidField(4, {0, 0, 0, 0x80}, 4.0f).getDword(0), 0u) << "low 32 bits of 2^33";
    EXPECT_EQ(ValidField(1, {1}, 1.0f, 4294967296.0f + 512.0f).getDword(0), 513u);
}

TEST(StatusFieldTest, LongAnswersRaiseInGetDwordButNotInTheDisplayRead)
{
    StatusField field = ValidField(5, {2, 0, 0, 0, 0});
    try {
        field.getDword(0);
        FAIL() << "no exception";
    } catch (const XVuk& error) {
        EXPECT_EQ(error.GetMessageText(), "StatusField getDword data too big");
    }
    uint32_t value = 9;
    EXPECT_FALSE(field.readDword(value));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(field.getDwordOr(77), 77u);

    // An invalid field never looks at the length.
    field.setAnswer(3, 5, nullptr, 0);
    EXPECT_EQ(field.getDword(6), 6u);

    StatusField good = ValidField(4, {2, 0, 0, 0});
    EXPECT_TRUE(good.readDword(value));
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(good.getDwordOr(77), 2u);
}
