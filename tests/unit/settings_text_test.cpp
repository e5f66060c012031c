#include "settings/LanguageTable.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

#include <gtest/gtest.h>

TEST(TextUtil, NumbersFromText)
{
    // i: ParseInt, h: ParseHex, n: ParseNumber, r: ReadIniRgb.
    const struct { char parser; const char* text; int64_t expected; } cases[] = {
        {'i', "1 ; on", 1}, {'i', "12abc", 12}, {'i', "on", 0}, {'i', "", 0}, {'i', "  \t-7x", -7},
        {'i', "+5", 5}, {'i', "- 5", 0}, {'i', "99999999999999999999999", INT32_MAX},
        {'i', "-99999999999999999999999", INT32_MIN}, {'i', "-2147483648", INT32_MIN},
        {'h', " 0X1f", 31}, {'h', "-0x1", 0xFFFFFFFF}, {'h', "0xg", 0},
        {'n', "0x1F", 31}, {'n', "0X1F", 0}, {'n', "42", 42}, {'n', "-1", 0xFFFFFFFF}, {'n', "0x", 0},
        {'n', "0xabcz", 0xABC},
        {'r', "255,0,0", 0x020000FF}, {'r', "1,2,3", 0x02030201}, {'r', "255,,0,0", 0x020000FF},
        {'r', "255,0", 0}, {'r', "255,0,0,0", 0}, {'r', "", 0}, {'r', "257,0,0", 0x02000001},
    };
    for (const auto& c : cases) {
        int64_t got = c.parser == 'i'   ? int64_t(ParseInt(c.text))
                      : c.parser == 'h' ? int64_t(ParseHex(c.text))
                      : c.parser == 'n' ? int64_t(ParseNumber(c.text))
                                        : int64_t(ReadIniRgb(c.text));
        EXPECT_EQ(got, c.expected) << c.parser << " \"" << c.text << "\"";
    }
}

TEST(TextUtil, SplitAndJoin)
{
    std::vector<std::string> list{"kept"};
    SplitString(list, ",english,,german,", ",");
    SplitString(list, ",,,", ",");
    SplitString(list, " a , b ", ",");
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "english", "german", " a ", " b "}));

    EXPECT_EQ(JoinPath("C:\\App\\", "Modavi.ini"), "C:\\App\\Modavi.ini");
    EXPECT_EQ(JoinPath("C:\\App", "Modavi.ini"), "C:\\App\\Modavi.ini");
    EXPECT_EQ(JoinPath("", "x.dll"), "\\x.dll");
    EXPECT_EQ(JoinPath("C:\\App\\", "\\x"), "C:\\App\\\\x");

    // The arguments a restart is registered with: as given, after the program's name.
    const std::pair<const wchar_t*, const wchar_t*> lines[] = {
        {L"\"C:\\Program Files\\Modavi\\Modavi.exe\"  icon \"a b\"", L"icon \"a b\""}, {L"Modavi.exe\ticon", L"icon"},
        {L"Modavi.exe", L""}, {L"\"C:\\a b\\Modavi.exe\"", L""}, {L"\"unclosed icon", L""}, {L"", L""}};
    for (const auto& [line, arguments] : lines)
        EXPECT_EQ(std::wstring(arguments), ArgumentsAfterProgramName(line));
}

TEST(XVuk, FormatsLikePrintfAndCutsAt511)
{
    EXPECT_EQ(XVuk("Can't load icon resource %d", 1012).GetMessageText(), "Can't load icon resource 1012");
    EXPECT_EQ(XVuk("%s", std::string(600, 'a').c_str()).GetMessageText(), std::string(511, 'a'));
}

TEST(LanguageTable, LocaleRestrictedToSupportedListUnlessTheInstallerDecides)
{
    EXPECT_EQ(FindLanguageByName("German"), 4);
    EXPECT_EQ(FindLanguageByName("klingon"), -1);
    const struct { uint16_t locale; const char* supported; const char* expected; } cases[] = {
        {0x0407, "english,german", "german"},
        {0x0407, "english", "english"},
        {0x040C, "German,english", "German"},
        {0x0804, "chinese_trad,chinese_simp", "chinese_simp"},
        {0x0404, "chinese_simp,chinese_trad", "chinese_trad"},
        {0x0C04, "chinese_trad,chinese_simp", "chinese_trad"}, // Hong Kong matches neither Chinese row
        {0x0436, "", ""},
        {0x0407, ",english,,german,", "german"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetermineLanguageName({c.supported, false, {}, c.locale}), c.expected) << std::hex << c.locale;
    LanguageSources installer{"german", true, [] { return std::string("Japanese"); }, 0x0407};
    EXPECT_EQ(DetermineLanguageName(installer), "Japanese");
}
