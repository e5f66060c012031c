// Status fields: set-up, fetching, numbers, the display forms and the query
// tool's report; the debounced line state and its alerts' texts.
#include "settings/ResourceIds.h"
#include "settings/XVuk.h"
#include "status/AnswerReport.h"
#include "status/LineAlertText.h"
#include "status/LineStateRead.h"
#include "status/StatusField.h"
#include "support/FakeDeviceIo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

StatusField Field(uint32_t type, uint16_t length, std::vector<uint8_t> data, float scale = 1.0f,
                  const std::string& enumList = "", uint16_t status = 0, float offset = 0.0f)
{
    StatusField field;
    field.init(0x0103, type, enumList, scale, offset, "n/a");
    field.setAnswer(status, length, data.data(), data.size());
    return field;
}

auto RaisesXVuk(const char* message)
{
    return ::testing::Throws<XVuk>(::testing::Property(&XVuk::GetMessageText, message));
}

} // namespace

TEST(StatusFieldTest, InitAndEnumerationLists)
{
    StatusField field;
    EXPECT_EQ(field.status(), 1);
    EXPECT_EQ(field.getDword(42), 42u);
    field.init(4, FieldEnum, ",0,Idle,,2, Up ,0x1F,Hex,0X1F,Capital,-1,All ones,0x,Bare,", 1.0f, 0.0f, "n/a");
    EXPECT_EQ(field.status(), 3);
    EXPECT_EQ(field.format(), "n/a");
    const EnumList& list = field.enumList();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list.entry(1), std::make_pair(2u, std::string(" Up ")));
    EXPECT_EQ(list.entry(3), std::make_pair(0u, std::string("Capital")));
    EXPECT_EQ(*list.find(0), "Idle") << "first equal value wins";

    // An odd list is refused after the other members are set, appending none.
    EXPECT_THAT([&] { field.init(5, FieldHex, "1,One,2", 1.0f, 0.0f, "none"); },
                RaisesXVuk("Enum list must have even number of parameters"));
    EXPECT_EQ(list.size(), 6u);
    EXPECT_EQ(field.unavailableText(), "none");
    EXPECT_NO_THROW(field.init(5, FieldHex, "3,Three", 1.0f, 0.0f, "none"));
    EXPECT_EQ(list.size(), 7u);
}

TEST(StatusFieldTest, FetchKeepsTheDriverStatusOr3AndTellsTheLineAndNoModem)
{
    FakeDeviceIo device;
    ScopedDeviceIo use(device);
    StatusField field;
    field.init(0x0001, FieldText, "", 1.0f, 0.0f, "n/a");
    device.answerText(0x0001, "hello", 9);
    field.fetch();
    EXPECT_EQ(field.status(), 9);
    EXPECT_EQ(field.length(), 5);
    device.failCall(0x0001);
    field.fetch();
    EXPECT_EQ(field.status(), 3);
    // What a status window's read says of the line, for the diary: a failed
    // read is the line down, only a missing control device is no modem.
    StatusField state, down, up;
    state.init(0x0004, FieldEnum, "", 1.0f, 0.0f, "n/a");
    down.init(0x0103, FieldUnsigned, "", 1.0f, 0.0f, "n/a");
    up.init(0x0107, FieldUnsigned, "", 1.0f, 0.0f, "n/a");
    device.answerDword(0x0103, 8128);
    device.answerDword(0x0107, 864);
    std::vector<std::string> seen;
    for (const auto& script : std::vector<std::function<void()>>{
             [&] { device.answerDword(0x0004, 2); }, [&] { device.answerDword(0x0004, 3); },
             [&] { device.failCall(0x0004); }, [&] { device.setDevices(false, false); }}) {
        script();
        for (StatusField* f : {&state, &down, &up})
            f->fetch();
        const LineRates rates = LineRatesOf(state, down, up);
        seen.push_back(std::to_string(int(LineConditionOf(state))) + ":" + std::to_string(rates.downstreamKbps) +
                       "/" + std::to_string(rates.upstreamKbps));
    }
    EXPECT_EQ((std::vector<std::string>{"1:8128/864", "2:0/0", "2:0/0", "3:0/0"}), seen);
    field.init(0x10003, FieldText, "", 1.0f, 0.0f, "n/a");
    field.fetch();
    EXPECT_EQ(field.format(), MODAVI_VERSION_TEXT);
}

TEST(StatusFieldTest, NumbersAreScaledAndTruncatedTo32Bits)
{
    const struct { uint16_t length; std::vector<uint8_t> data; float scale, offset; uint32_t expected; } cases[] = {
        {1, {10}, 1000.0f, 0.75f, 10000},
        {1, {3}, -0.5f, 0.0f, 0xFFFFFFFF},   // -1.5 to -1
        {4, {0, 0, 0, 0x80}, 4.0f, 0.0f, 0}, // the low 32 bits of 2^33
        {1, {1}, 1.0f, 4294967296.0f + 512.0f, 513},
    };
    for (const auto& c : cases) {
        StatusField field = Field(FieldUnsigned, c.length, c.data, c.scale, "", 0, c.offset);
        EXPECT_EQ(field.getDword(7), c.expected) << c.scale << " " << c.offset;
        EXPECT_EQ(field.getDwordOr(7), c.expected) << c.scale << " " << c.offset;
    }
    // An answer longer than 4 bytes raises in getDword, reads as invalid otherwise.
    StatusField field = Field(FieldUnsigned, 5, {2, 0, 0, 0, 0});
    EXPECT_THAT([&] { field.getDword(0); }, RaisesXVuk("StatusField getDword data too big"));
    uint32_t value = 9;
    EXPECT_FALSE(field.readDword(value));
    EXPECT_EQ(value + field.getDwordOr(77), 77u);
    field.setAnswer(3, 5, nullptr, 0);
    EXPECT_EQ(field.getDword(6), 6u) << "an invalid field never looks at the length";
}

TEST(StatusFieldTest, DisplayForms)
{
    const std::vector<uint8_t> version = {1, 2, 3, 4, 5, 6, 7};
    const std::string list = "0,Idle,2,Up,2,Again,0x10,Sixteen,-1,Lost";
    const std::vector<uint8_t> full(64, 'z');
    const std::string text40 = std::string(40, 'v') + std::string("\0j\xFF", 3); // not zero after its zero
    const std::vector<uint8_t> long40(text40.begin(), text40.end());
    std::string fullBytes = "7a";
    while (fullBytes.size() < 64 * 3 - 1)
        fullBytes += "-7a";
    const struct {
        uint32_t type;
        uint16_t length;
        std::vector<uint8_t> data;
        float scale;
        std::string enumList, expected;
    } cases[] = {
        {FieldHex, 2, {0x1A, 0}, 1.0f, "", "0x001a"}, {FieldHex, 4, {0x78, 0x56, 0x34, 0x12}, 1.0f, "", "0x12345678"},
        {FieldHex, 0, {0x55}, 1.0f, "", "0x0"},
        {FieldUnsigned, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1.0f, "", "4294967295"},
        {FieldUnsigned, 3, {0x40, 0x1F, 0x00, 0x99}, 1.0f, "", "8000"},
        {FieldUnsigned, 1, {3}, -0.5f, "", "4294967295"},
        {FieldReal, 2, {0x10, 0x27}, 1.0f, "", "10000"}, {FieldReal, 1, {3}, 0.5f, "", "1.5"},
        {FieldEnum, 4, {2, 0, 0, 0}, 1.0f, list, "Up"}, {FieldEnum, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1.0f, list, "Lost"},
        {FieldEnum, 1, {2}, 0.5f, list, "Up"}, // not scaled
        {FieldEnum, 4, {0, 0, 0, 0}, 1.0f, "", "0000000000"}, {FieldEnum, 1, {5}, 1.0f, "0x,Bare", "0x05"},
        {FieldEnum, 1, {0}, 1.0f, "0x,Bare", "Bare"}, {FieldEnum, 2, {0x34, 0x12}, 1.0f, "", "0x1234"},
        {FieldText, 0, {'a', 'b', 0, 'c'}, 1.0f, "", "ab"}, // the text ends at its zero, whatever follows
        {FieldText, 4, {0xC3, 0xA9, 0, 0xFF, 0xE9}, 1.0f, "", "\xC3\xA9"}, {FieldText, 3, {0, 'j', 0xFF}, 1.0f, "", ""},
        {FieldText, 40, long40, 1.0f, "", std::string(40, 'v')},
        {FieldText, 3, {0xC3, 0xA9, 't', 0xF0, 0x9F, 0x98, 0x80}, 1.0f, "", "\xC3\xA9t\xF0\x9F\x98\x80"},
        {FieldText, 2, {0xE9, 't'}, 1.0f, "", "\xC3\xA9t"}, // other bytes are Latin-1
        {FieldText, 2, {0xED, 0xA0, 0x80}, 1.0f, "", "\xC3\xAD\xC2\xA0\xC2\x80"}, // no surrogates
        {FieldText, 2, {0xC0, 0x80}, 1.0f, "", "\xC3\x80\xC2\x80"},             // no overlong forms
        {FieldText, 2, {0xF4, 0x90, 0x80, 0x80}, 1.0f, "", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"}, // beyond U+10FFFF
        {FieldText, 200, full, 1.0f, "", std::string(64, 'z')},
        {FieldByteList, 0, {1}, 1.0f, "", ""},
        {FieldByteList, 6, {0, 1, 0x22, 0x33, 0xF4, 0xFF}, 1.0f, "", "00-01-22-33-f4-ff"},
        {FieldByteList, 4000, full, 1.0f, "", fullBytes}, // the 64 bytes held
        {FieldVersionHex, 7, version, 1.0f, "", "1.23.4567"},
        {FieldVersionDec, 7, version, 1.0f, "", "1.02.0006"},
        {FieldVersionHex, 7, {0x7F, 0xAB, 0xCD, 0xEF, 0x10, 0xFF, 0x00}, 1.0f, "", "7f.abcd.ef10ff0"},
        {FieldVersionDec, 7, {0x7F, 200, 0, 0, 0, 255, 0}, 1.0f, "", "127.200.0255"},
        {FieldVersionHex, 6, version, 1.0f, "", "n/a"},
        {FieldVersionDec, 8, version, 1.0f, "", "n/a"},
        // With the top bit of byte 0: modes from the low bits of bytes 1 and 2.
        {FieldVersionHex, 7, {0x81, 0xFD, 0xFF, 0xEE, 2, 3, 4}, 1.0f, "", "2.03.0004 (CG/ANS,A/B)"},
        {FieldVersionDec, 7, {0x80, 0x01, 0x02, 0, 0xAB, 0x0C, 0xFF}, 1.0f, "", "ab.0c.00ff (ANS,B)"},
        {8, 1, {1}, 1.0f, "", "n/a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Field(c.type, c.length, c.data, c.scale, c.enumList).format(), c.expected)
            << "type " << c.type << " length " << c.length;
    for (uint32_t type = 0; type <= 7; ++type)
        EXPECT_EQ(Field(type, 1, {'a'}, 1.0f, "", 0xFFFF).format(), "n/a") << "invalid, type " << type;
    for (uint32_t type : {FieldHex, FieldUnsigned, FieldReal, FieldEnum})
        EXPECT_EQ(Field(type, 5, {1, 0, 0, 0, 0}, 1.0f, "1,One").format(), "n/a") << "5 bytes, type " << type;
}

TEST(AnswerReportTest, FormsUpTo64BytesAndAtMostTheBuffer)
{
    const std::vector<uint8_t> buffer = {0x40, 0x1F, 0, 0, 5, 6, 7, 8};
    const char* const unavailable = "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n";
    EXPECT_EQ(ReportAnswer(0x0103, false, 0, 4, buffer.data(), 8),
              "failed 0\nstatus 0\nlength 4\ndata 40 1f 00 00\nhex 0x00001f40\nunsigned 8000\nreal 8000\n"
              "text @\x1f\nbytes 40-1f-00-00\nversionhex\nversiondec\n");
    EXPECT_EQ(ReportAnswer(0x0004, true, 0xFFFF, 0, buffer.data(), 8),
              std::string("failed 1\nstatus 65535\nlength 0\ndata\n") + unavailable);
    EXPECT_EQ(ReportAnswer(0x0001, false, 5, 10, buffer.data(), 3),
              std::string("failed 0\nstatus 5\nlength 10\ndata 40 1f 00\n") + unavailable);
    std::vector<uint8_t> large(65, 0xAB);
    EXPECT_EQ(ReportAnswer(0x0001, false, 0, 1, large.data(), 65), "failed 0\nstatus 0\nlength 1\ndata ab\n");
}

namespace {

// Reads `step` ms apart from tick `start`, a letter each (U up, D down, N no modem; z the PC
// goes to sleep, w it wakes, with a grace of five reads) through the alerts' watch;
// each change as "read from>to, seconds up", with " stale" when its rates are not the read's.
std::string Changes(const std::string& reads, uint32_t start = 0, uint32_t step = 1000)
{
    const std::string letters = "?UDN";
    CLineAlertWatch watch;
    std::string changes;
    for (size_t i = 0; i < reads.size(); ++i)
        if (reads[i] == 'z')
            watch.Sleep();
        else if (reads[i] == 'w')
            watch.Wake(start + uint32_t(i) * step, 5 * step);
        else if (auto c = watch.Observe(LineCondition(letters.find(reads[i])), start + uint32_t(i) * step, {uint32_t(i), 0}))
            changes += std::to_string(i) + letters[size_t(c->from)] + ">" + letters[size_t(c->to)] + " " +
                       std::to_string(c->upMs / 1000) + (c->rates.downstreamKbps == i ? "; " : " stale; ");
    return changes;
}

} // namespace

TEST(LineWatchTest, AChangeCountsAfterTwoReadsOnceWithTheUpTimeFromTheFirstUpReadAndIsToldSo)
{
    EXPECT_EQ("", Changes("DUDUDNDN")) << "no state held for two reads";
    EXPECT_EQ("1?>D 0; 3D>U 0; 5U>D 2; ", Changes("DDUUDDDD"));
    EXPECT_EQ("1?>D 0; 5D>U 0; 8U>N 3; 10N>D 0; 13D>N 0; 15N>U 0; ", Changes("DDUDUUDNNDDUNNUU"))
        << "one-read flips change nothing and the up time runs on through them";
    EXPECT_EQ("1?>U 0; 8U>D 7; ", Changes("UUUUUUUDD", 0xFFFFF000u)) << "across the tick count's wrap";
    EXPECT_EQ("1?>U 0; 1441U>D 5184000; ", Changes(std::string(1440, 'U') + "DD", 7, 3600000))
        << "sixty days up, beyond the tick count's 49.7";

    // After a wake: a line that comes back within the grace resynced; one that stays away is
    // told once the grace is over, as gone down after the time it was up before the sleep.
    EXPECT_EQ("1?>U 0; ", Changes("UUUUzwDDUU")) << "a resync";
    EXPECT_EQ("1?>U 0; ", Changes("UUzwNNDUU")) << "the modem away and back within the grace too";
    EXPECT_EQ("1?>U 0; 10U>D 3; 14D>U 0; ", Changes("UUUUzwDDDDDDDUU"));
    EXPECT_EQ("1?>D 0; 5D>U 0; ", Changes("DDzwUU")) << "up after the wake, down before: told at once";
    EXPECT_EQ("1?>U 0; 7U>N 1; ", Changes("UUwNNNNNN")) << "a wake without a sleep";
    EXPECT_EQ("1?>U 0; ", Changes("UUzwDzwDDUU")) << "asleep again before the line was back";

    // The alerts' texts: placeholders filled as placed, with the largest units reached.
    const std::map<unsigned, std::wstring> strings = {
        {IDS_ALERT_LINE_UP, L"Up %1"}, {IDS_DURATION_SECONDS, L"%1 s"}, {IDS_DURATION_MINUTES, L"%1 min"},
        {IDS_DURATION_HOURS, L"%2min/%1h %3 %"}, {IDS_DURATION_DAYS, L"%1 d %2 h"}};
    auto text = [&](unsigned id) { return strings.at(id); };
    const uint64_t s = 1000, min = 60 * s, h = 60 * min;
    const std::pair<uint64_t, std::wstring> durations[] = {
        {59999, L"59 s"}, {min, L"1 min"}, {3 * h + 12 * min + 59 * s, L"12min/3h %3 %"}, {53 * h + 59 * min, L"2 d 5 h"}};
    for (const auto& [ms, expected] : durations)
        EXPECT_EQ(expected, DurationText(ms, text)) << ms;
    EXPECT_EQ(L"Up 8128/864", LineAlertFor({LineCondition::NoModem, LineCondition::Up, 0, {8128, 864}}, text).text)
        << "back with the line up: the line's news";
}
