#include "settings/LanguageTable.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ParseInt, ReadsLikeAtoi)
{
    EXPECT_EQ(1, ParseInt("1"));
    EXPECT_EQ(1, ParseInt("1 ; on"));
    EXPECT_EQ(1, ParseInt("1 ; comment"));
    EXPECT_EQ(12, ParseInt("12abc"));
    EXPECT_EQ(0, ParseInt("on"));
    EXPECT_EQ(0, ParseInt("yes"));
    EXPECT_EQ(0, ParseInt(""));
    EXPECT_EQ(-7, ParseInt("  \t-7x"));
    EXPECT_EQ(5, ParseInt("+5"));
    EXPECT_EQ(0, ParseInt("- 5"));
}

TEST(ParseInt, SaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(INT32_MAX, ParseInt("99999999999999999999999"));
    EXPECT_EQ(INT32_MIN, ParseInt("-99999999999999999999999"));
    EXPECT_EQ(INT32_MIN, ParseInt("-2147483648"));
}

TEST(ParseNumber, HexOnlyWithLowerCaseX)
{
    EXPECT_EQ(31u, ParseNumber("0x1F"));
    EXPECT_EQ(31u, ParseNumber("0x1f"));
    EXPECT_EQ(0u, ParseNumber("0X1F"));
    EXPECT_EQ(42u, ParseNumber("42"));
    EXPECT_EQ(0xFFFFFFFFu, ParseNumber("-1"));
    EXPECT_EQ(0u, ParseNumber("0x"));
    EXPECT_EQ(0xABCu, ParseNumber("0xabcz"));
}

TEST(SplitString, DropsEmptyItemsAndAppends)
{
    std::vector<std::string> list{"kept"};
    SplitString(list, ",english,,german,", ",");
    EXPECT_EQ((std::vector<std::string>{"kept", "english", "german"}), list);

    std::vector<std::string> none;
    SplitString(none, "", ",");
    SplitString(none, ",,,", ",");
    EXPECT_TRUE(none.empty());

    std::vector<std::string> spaced;
    SplitString(spaced, " a , b ", ",");
    EXPECT_EQ((std::vector<std::string>{" a ", " b "}), spaced);
}

TEST(ReadIniRgb, ThreeNumbersOrNothing)
{
    EXPECT_EQ(0x020000FFu, ReadIniRgb("255,0,0"));
    EXPECT_EQ(0x02030201u, ReadIniRgb("1,2,3"));
    EXPECT_EQ(0u, ReadIniRgb("255,0"));
    EXPECT_EQ(0u, ReadIniRgb("255,0,0,0"));
    EXPECT_EQ(ReadIniRgb("255,0,0"), ReadIniRgb("255,,0,0"));
    EXPECT_EQ(0u, ReadIniRgb(""));
    EXPECT_EQ(0x02000001u, ReadIniRgb("257,0,0")); // only the low 8 bits count
}

TEST(JoinPath, OneBackslashBetween)
{
    EXPECT_EQ("C:\\App\\Modavi.ini", JoinPath("C:\\App\\", "Modavi.ini"));
    EXPECT_EQ("C:\\App\\Modavi.ini", JoinPath("C:\\App", "Modavi.ini"));
    EXPECT_EQ("\\x.dll", JoinPath("", "x.dll"));
    EXPECT_EQ("software\\english", JoinPath("software", "english"));
    EXPECT_EQ("C:\\App\\\\x", JoinPath("C:\\App\\", "\\x"));
}

TEST(XVuk, FormatsLikePrintfAndCutsAt511)
{
    EXPECT_EQ("Can't load icon resource 1012", XVuk("Can't load icon resource %d", 1012).GetMessageText());
    std::string longText(600, 'a');
    XVuk cut("%s", longText.c_str());
    EXPECT_EQ(std::string(511, 'a'), cut.GetMessageText());

    XVuk* original = new XVuk("Command 0x%x not valid", 0x10006);
    XVuk copy(*original);
    delete original;
    EXPECT_EQ("Command 0x10006 not valid", copy.GetMessageText());
}

TEST(LanguageTable, FindsByNameAndId)
{
    EXPECT_EQ(4, FindLanguageByName("German"));
    EXPECT_EQ(-1, FindLanguageByName("klingon"));
    EXPECT_EQ(2, FindLanguageById(0x04, 2));
    EXPECT_EQ(3, FindLanguageById(0x04, 1));
    EXPECT_EQ(-1, FindLanguageById(0x04, 3));
    EXPECT_EQ(0, FindLanguageById(0x09, 5));
    EXPECT_STREQ("CplRussian.dll", kLanguageTable[FindLanguageById(0x19, 1)].moduleFile);
}

namespace {
LanguageSources Locale(uint16_t langId, const char* supported)
{
    LanguageSources s;
    s.localeLanguageId = langId;
    s.supportedLanguages = supported;
    return s;
}
} // namespace

TEST(DetermineLanguageName, LocaleRestrictedToSupportedList)
{
    EXPECT_EQ("german", DetermineLanguageName(Locale(0x0407, "english,german")));
    EXPECT_EQ("english", DetermineLanguageName(Locale(0x0407, "english")));
    EXPECT_EQ("German", DetermineLanguageName(Locale(0x040C, "German,english")));
    // Chinese (Hong Kong): sub-language 3 matches neither Chinese row.
    EXPECT_EQ("chinese_trad", DetermineLanguageName(Locale(0x0C04, "chinese_trad,chinese_simp")));
    EXPECT_EQ("", DetermineLanguageName(Locale(0x0436, "")));
    EXPECT_EQ("german", DetermineLanguageName(Locale(0x0407, ",english,,german,")));
}

TEST(DetermineLanguageName, InstallerIgnoresSupportedList)
{
    LanguageSources s = Locale(0x0407, "german");
    s.useInstallerLanguage = true;
    s.installerLanguage = [] { return std::string("Japanese"); };
    EXPECT_EQ("Japanese", DetermineLanguageName(s));
}
