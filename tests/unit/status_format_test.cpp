// The eight display forms and their shape rules.
#include "status/DriverText.h"
#include "status/StatusField.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string Format(uint32_t type, uint16_t length, std::vector<uint8_t> data, float scale = 1.0f,
                   const std::string& enumList = "", uint16_t status = 0)
{
    StatusField field;
    field.init(0x0103, type, enumList, scale, 0.0f, "n/a");
    field.setAnswer(status, length, data.data(), data.size());
    return field.format();
}

const std::vector<uint8_t> kVersion = {1, 2, 3, 4, 5, 6, 7};

} // namespace

TEST(FieldFormatTest, InvalidFieldShowsTheUnavailableTextForEveryType)
{
    for (uint32_t type = 0; type <= 7; ++type) {
        EXPECT_EQ(Format(type, 1, {'a', 0}, 1.0f, "", 3), "n/a") << "type " << type;
        EXPECT_EQ(Format(type, 1, {'a', 0}, 1.0f, "", 0xFFFF), "n/a") << "type " << type;
    }
    EXPECT_EQ(Format(8, 1, {1}), "n/a") << "unknown type";
    EXPECT_EQ(Format(0xFFFFFFFF, 1, {1}), "n/a") << "unknown type";
}

TEST(FieldFormatTest, NumericForms)
{
    EXPECT_EQ(Format(FieldHex, 2, {0x1A, 0}), "0x001a");
    EXPECT_EQ(Format(FieldHex, 4, {0x78, 0x56, 0x34, 0x12}), "0x12345678");
    EXPECT_EQ(Format(FieldHex, 0, {0x55}), "0x0");
    EXPECT_EQ(Format(FieldUnsigned, 4, {0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
    EXPECT_EQ(Format(FieldUnsigned, 3, {0x40, 0x1F, 0x00, 0x99}), "8000") << "only length bytes";
    EXPECT_EQ(Format(FieldReal, 2, {0x10, 0x27}), "10000");
    EXPECT_EQ(Format(FieldReal, 1, {1}, 0.125f), "0.125");

    // Scale 0.5, raw 3.
    EXPECT_EQ(Format(FieldUnsigned, 1, {3}, 0.5f), "1");
    EXPECT_EQ(Format(FieldHex, 1, {3}, 0.5f), "0x01");
    EXPECT_EQ(Format(FieldReal, 1, {3}, 0.5f), "1.5");

    for (uint32_t type : {FieldHex, FieldUnsigned, FieldReal, FieldEnum})
        EXPECT_EQ(Format(type, 5, {1, 0, 0, 0, 0}, 1.0f, "1,One"), "n/a") << "type " << type;
}

TEST(FieldFormatTest, EnumerationLabelsAndUnlabelledValues)
{
    const std::string list = "0,Idle,2,Up,2,Again,0x10,Sixteen,-1,Lost";
    EXPECT_EQ(Format(FieldEnum, 4, {2, 0, 0, 0}, 1.0f, list), "Up");
    EXPECT_EQ(Format(FieldEnum, 1, {0x10}, 1.0f, list), "Sixteen");
    EXPECT_EQ(Format(FieldEnum, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1.0f, list), "Lost");
    EXPECT_EQ(Format(FieldEnum, 1, {2}, 0.5f, list), "Up") << "enumerations are not scaled";

    EXPECT_EQ(Format(FieldEnum, 4, {0, 0, 0, 0}), "0000000000");
    EXPECT_EQ(Format(FieldEnum, 1, {5}), "0x05");
    EXPECT_EQ(Format(FieldEnum, 2, {0x34, 0x12}), "0x1234");
    EXPECT_EQ(Format(FieldEnum, 1, {5}, 1.0f, "0x,Bare"), "0x05");
    EXPECT_EQ(Format(FieldEnum, 1, {0}, 1.0f, "0x,Bare"), "Bare");
}

TEST(FieldFormatTest, TextForm)
{
    EXPECT_EQ(Format(FieldText, 0, {'a', 'b', 0, 'c'}), "ab") << "the length is not used";
    EXPECT_EQ(Format(FieldText, 3, {0xC3, 0xA9, 't', 0}), "\xC3\xA9t") << "UTF-8 passes";
    EXPECT_EQ(Format(FieldText, 2, {0xE9, 't', 0}), "\xC3\xA9t") << "other bytes are Latin-1";
    EXPECT_EQ(Format(FieldText, 2, {0xED, 0xA0, 0x80, 0}), "\xC3\xAD\xC2\xA0\xC2\x80") << "no surrogates";
    EXPECT_EQ(Format(FieldText, 2, {0xC0, 0x80, 0}), "\xC3\x80\xC2\x80") << "no overlong forms";

    // No zero inside the 64 bytes: exactly those 64 bytes.
    std::vector<uint8_t> full(64, 'z');
    EXPECT_EQ(Format(FieldText, 200, full), std::string(64, 'z'));
    full[63] = 0xC3; // a sequence cut by the end is not UTF-8
    EXPECT_EQ(Format(FieldText, 64, full), std::string(63, 'z') + "\xC3\x83");
}

TEST(FieldFormatTest, ByteListForm)
{
    EXPECT_EQ(Format(FieldByteList, 0, {1}), "");
    EXPECT_EQ(Format(FieldByteList, 1, {0xAB}), "ab");
    EXPECT_EQ(Format(FieldByteList, 6, {0, 1, 0x22, 0x33, 0xF4, 0xFF}), "00-01-22-33-f4-ff");

    std::vector<uint8_t> all(64);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = uint8_t(i);
    std::string text = Format(FieldByteList, 4000, all);
    EXPECT_EQ(text.size(), 64u * 3 - 1) << "a length above 64 shows the 64 bytes held";
    EXPECT_EQ(text.substr(text.size() - 5), "3e-3f");
}

TEST(FieldFormatTest, VersionForms)
{
    EXPECT_EQ(Format(FieldVersionHex, 7, kVersion), "1.23.4567");
    EXPECT_EQ(Format(FieldVersionDec, 7, kVersion), "1.02.0006");
    EXPECT_EQ(Format(FieldVersionHex, 7, {0x7F, 0xAB, 0xCD, 0xEF, 0x10, 0xFF, 0x00}), "7f.abcd.ef10ff0");
    EXPECT_EQ(Format(FieldVersionDec, 7, {0x7F, 200, 0, 0, 0, 255, 0}), "127.200.0255");
    for (uint16_t length : {0, 6, 8, 64}) {
        EXPECT_EQ(Format(FieldVersionHex, length, kVersion), "n/a") << "length " << length;
        EXPECT_EQ(Format(FieldVersionDec, length, kVersion), "n/a") << "length " << length;
    }

    const std::vector<uint8_t> modes = {0x81, 5, 3, 0xEE, 2, 3, 4};
    EXPECT_EQ(Format(FieldVersionHex, 7, modes), "2.03.0004 (CG/ANS,A/B)");
    EXPECT_EQ(Format(FieldVersionDec, 7, modes), "2.03.0004 (CG/ANS,A/B)");
}

TEST(FieldFormatTest, VersionModeNames)
{
    const char* const modes[8] = {"?", "ANS", "QU", "ANS/QA", "CG", "CG/ANS", "CG/QA", "CG/QA/ANS"};
    const char* const letters[4] = {"?", "A", "B", "A/B"};
    for (uint8_t mode = 0; mode < 8; ++mode) {
        for (uint8_t letter = 0; letter < 4; ++letter) {
            StatusField field;
            field.init(1, FieldVersionHex, "", 1.0f, 0.0f, "");
            // High bits of bytes 1 and 2 do not count.
            uint8_t data[7] = {0x80, uint8_t(0xF8 | mode), uint8_t(0xFC | letter), 0, 0xAB, 0x0C, 0xFF};
            field.setAnswer(0, 7, data, sizeof data);
            EXPECT_EQ(field.formatVersionModes(),
                      std::string("ab.0c.00ff (") + modes[mode] + "," + letters[letter] + ")");
        }
    }
}

TEST(DriverTextTest, Utf8Validation)
{
    auto valid = [](std::vector<uint8_t> bytes) { return IsValidUtf8(bytes.data(), bytes.size()); };
    EXPECT_TRUE(valid({}));
    EXPECT_TRUE(valid({'a', 0xC2, 0x80, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 0xF4, 0x8F, 0xBF, 0xBF}));
    EXPECT_FALSE(valid({0x80}));
    EXPECT_FALSE(valid({0xE2, 0x82}));
    EXPECT_FALSE(valid({0xE0, 0x80, 0x80}));
    EXPECT_FALSE(valid({0xF4, 0x90, 0x80, 0x80}));
    EXPECT_FALSE(valid({0xF8, 0x88, 0x80, 0x80, 0x80}));
}
