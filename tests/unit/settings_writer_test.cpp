// The writer of Modavi.ini against a file seam that can refuse, fill the
// disk or hold another text; the values the Settings window reads and the
// language choice; the elevated writer's request and its refusals.
#include "settings/EditableSettings.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsRequest.h"
#include "settings/SettingsWriter.h"
#include "settings/SkinColours.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>

namespace {

// Files in memory. A new file takes at most diskRoom bytes before the disk is full.
struct FakeFiles : ISettingsFiles {
    std::map<std::string, std::string> files;
    bool readOnly = false, link = false, denied = false;
    size_t diskRoom = std::string::npos;

    bool Read(const std::string& path, Content& content, Failure&) override
    {
        auto found = files.find(path);
        content = {found != files.end(), found != files.end() ? found->second : "", readOnly, link};
        return true;
    }
    bool Create(const std::string& path, const std::string& text, Failure& failure) override
    {
        if (files.count(path) || denied) {
            failure = {denied, denied ? "Access is denied." : "The file exists."};
            return false;
        }
        files[path] = text.substr(0, diskRoom);
        failure = {false, "There is not enough space on the disk."};
        return text.size() <= diskRoom;
    }
    bool Replace(const std::string& target, const std::string& replacement, Failure&) override
    {
        files[target] = files[replacement];
        files.erase(replacement);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }
    bool NeedsRights(const std::string&) override { return denied; }
};

const char kPath[] = "C:\\Modavi\\Modavi.ini";
const std::string kCommented = "; Modavi\n[SystemInfo]\n; the tray\nShowSysTrayIcon=1\nUnknown=x\n\nClassicStyle = 0\n"
                               "[Other]\nClassicStyle=5\n";
std::string Crlf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

TEST(SettingsWriter, ChangesOnlyTheKeysAndLosesNothingWhenAWriteFails)
{
    enum Knob { kNone, kReadOnly, kLink, kDenied, kDiskFull, kOtherText, kStalePending };
    const SettingChanges presentation = {{"ClassicStyle", "1"}, {"NotifyLineChanges", "1"}};
    const std::string presented = "; Modavi\n[SystemInfo]\n; the tray\nShowSysTrayIcon=1\nUnknown=x\n\nClassicStyle = 1\n"
                                  "NotifyLineChanges=1\n[Other]\nClassicStyle=5\n";
    const struct {
        const char* name;
        std::optional<std::string> before;
        SettingChanges changes;
        Knob knob;
        WriteOutcome outcome;
        std::string after; // for a write that fails: the file as it was
    } cases[] = {
        {"comments, unknown keys, other sections and LF kept", kCommented, presentation, kNone, WriteOutcome::Written, presented},
        {"CRLF kept, a stale pending file replaced", Crlf(kCommented), presentation, kStalePending, WriteOutcome::Written, Crlf(presented)},
        {"a missing section at the end, after the last line's missing end", std::string("[Other]\nA=1"), {{"Hue", "5"}}, kNone,
         WriteOutcome::Written, "[Other]\nA=1\n[SystemInfo]\nHue=5\n"},
        {"no file: made with the section", std::nullopt, {{"Hue", "5"}}, kNone, WriteOutcome::Written, "[SystemInfo]\r\nHue=5\r\n"},
        {"a missing key after the last key, before the comments", std::string("[SystemInfo]\r\nHue=1\r\n; end\r\n"), {{"Sat", "2"}},
         kNone, WriteOutcome::Written, "[SystemInfo]\r\nHue=1\r\nSat=2\r\n; end\r\n"},
        {"a duplicated key: the first, which is read", std::string("[SystemInfo]\r\nHue=1\r\nhue = 2\r\n"), {{"Hue", "7"}}, kNone,
         WriteOutcome::Written, "[SystemInfo]\r\nHue=7\r\nhue = 2\r\n"},
        {"only the first section of the name, a key without '=', the UTF-8 mark",
         std::string("\xEF\xBB\xBF [systeminfo] \nSat\n[SystemInfo]\nHue=1\n"), {{"Hue", "3"}, {"Sat", "4"}}, kNone,
         WriteOutcome::Written, "\xEF\xBB\xBF [systeminfo] \nSat=4\nHue=3\n[SystemInfo]\nHue=1\n"},
        {"a read-only file", kCommented, presentation, kReadOnly, WriteOutcome::Failed, kCommented},
        {"a link", kCommented, presentation, kLink, WriteOutcome::Failed, kCommented},
        {"UTF-16", std::string("\xFF\xFE[\0S", 5), presentation, kNone, WriteOutcome::Failed, std::string("\xFF\xFE[\0S", 5)},
        {"a standard user in Program Files", kCommented, presentation, kDenied, WriteOutcome::NeedsRights, kCommented},
        {"a full disk: the write fails half-way", kCommented, presentation, kDiskFull, WriteOutcome::Failed, kCommented},
        {"a file changed underneath", kCommented, presentation, kOtherText, WriteOutcome::ChangedUnderneath, kCommented + "; edited\n"},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        if (c.before)
            files.files[kPath] = *c.before;
        files.readOnly = c.knob == kReadOnly;
        files.link = c.knob == kLink;
        files.denied = c.knob == kDenied;
        files.diskRoom = c.knob == kDiskFull ? 20 : std::string::npos;
        if (c.knob == kStalePending)
            files.files[PendingSettingsPath(kPath)] = "torn";
        std::optional<std::string> expected = c.before;
        if (c.knob == kOtherText)
            files.files[kPath] += "; edited\n";
        const SettingsWrite write = WriteSettingsFile(files, kPath, expected, c.changes);
        EXPECT_EQ(c.outcome, write.outcome) << c.name;
        EXPECT_EQ(c.after, files.files[kPath]) << c.name;
        EXPECT_EQ(c.outcome == WriteOutcome::Written ? c.after : "", write.text) << c.name;
        EXPECT_EQ(c.outcome == WriteOutcome::Written, write.error.empty()) << c.name << ": " << write.error;
        EXPECT_EQ(0u, files.files.count(PendingSettingsPath(kPath))) << c.name << ": the pending file is left";
    }
    FakeFiles full;
    full.files[kPath] = kCommented;
    full.diskRoom = 20;
    EXPECT_EQ("Can't write C:\\Modavi\\Modavi.ini: There is not enough space on the disk.",
              WriteSettingsFile(full, kPath, kCommented, presentation).error);
}

TEST(EditableSettings, ReadAsTheProgramReadsThemAndWrittenOnlyInTheirForm)
{
    const std::map<std::string, std::string> file = {
        {"ShowSysTrayIcon", "1 ; on"}, {"ClassicStyle", "on"}, {"Hue", "300"}, {"Sat", "-1"}, {"HistoryDays", "99999"},
        {"LabelTextRGB", "255,0"}, {"StatusTextRGB", "1,2,3"}, {"SupportedLanguages", " german"}};
    const SettingsValues values = ReadSettingsValues([&](const char* key) {
        auto found = file.find(key);
        return found == file.end() ? std::string() : found->second;
    });
    const SettingsValues expected = {
        {"ShowSysTrayIcon", "1"}, {"ClassicStyle", "0"}, {"UseInstallerLanguage", "0"}, {"SupportedLanguages", " german"},
        {"NotifyLineChanges", "0"}, {"KeepHistory", "0"}, {"HistoryDays", "3650"}, {"Hue", "44"}, {"Sat", "252"},
        {"TitlebarHue", "0"}, {"TitlebarSat", "0"}, {"UseHueAndSat", "0"}, {"TransparentBitmap", "0"},
        {"TitlebarTextRGB", "0,0,0"}, {"LabelTextRGB", "0,0,0"}, {"StatusTextRGB", "1,2,3"}};
    EXPECT_EQ(expected, values);
    EXPECT_EQ("90", ReadSettingsValues([](const char* key) { return std::string(key) == "HistoryDays" ? "0" : ""; })
                        .at("HistoryDays"));
    const SkinColours colours = SkinColoursOf(values);
    EXPECT_EQ(std::make_tuple(44, 252, 0x030201u), std::make_tuple(int(colours.hue), int(colours.sat), colours.statusText));

    SettingsValues after = values;
    after["Sat"] = "7";
    after["ClassicStyle"] = "1";
    EXPECT_EQ((SettingChanges{{"ClassicStyle", "1"}, {"Sat", "7"}}), ChangedSettings(values, after)) << "in the table's order";
}

TEST(EditableSettings, LanguageModesKeepWhatTheyHadAndWriteTheirOwnList)
{
    using M = LanguageMode;
    const struct { const char* installer; const char* list; M initialMode; M mode; const char* language; std::string supported; const char* use; } cases[] = {
        {"0", "english,german", M::AsWindows, M::OneLanguage, "German", "german", "0"},
        {"0", "english,german", M::AsWindows, M::AsWindows, "", "english,german", "0"},
        {"1", "german", M::Installer, M::AsWindows, "", AllLanguagesList(), "0"},
        {"1", "german", M::Installer, M::Installer, "", "german", "1"},
        {"0", "German", M::OneLanguage, M::OneLanguage, "german", "German", "0"},
        {"0", "German", M::OneLanguage, M::Installer, "", "German", "1"},
        {"0", "klingon", M::AsWindows, M::OneLanguage, "russian", "russian", "0"},
        {"0", "", M::AsWindows, M::AsWindows, "", "", "0"},
    };
    for (const auto& c : cases) {
        const SettingsValues initial = {{"UseInstallerLanguage", c.installer}, {"SupportedLanguages", c.list}};
        EXPECT_EQ(c.initialMode, LanguageModeOf(initial)) << c.list;
        SettingsValues values = initial;
        SetLanguageMode(values, initial, c.mode, c.language);
        EXPECT_EQ(std::make_pair(c.supported, std::string(c.use)),
                  std::make_pair(values.at("SupportedLanguages"), values.at("UseInstallerLanguage"))) << c.list << " " << int(c.mode);
    }
    EXPECT_EQ("english,japanese,chinese_simp,chinese_trad,german,italian,korean,portuguese,spanish,french,danish,dutch,"
              "turkish,russian", AllLanguagesList());
}

TEST(SettingsRequest, TheElevatedWriterTakesOnlyKnownKeysInRangeFromItsOwnFileName)
{
    const std::string good = "[SystemInfo]\r\nClassicStyle=1\r\nHue=252\r\nHistoryDays=3650\r\n\r\nSupportedLanguages=german,english\r\n"
                             "LabelTextRGB=1,22,255\r\n";
    const struct { std::string text; bool accepted; } cases[] = {
        {good, true},
        {"\n[SystemInfo]\nKeepHistory=0\n", true},
        {"[SystemInfo]\r\nEnableDebugMode=1\r\n", false}, // unknown to the window: stays in the file only
        {"[SystemInfo]\r\nDebug=TRACE\r\n", false},
        {"[SystemInfo]\r\nShell=cmd.exe\r\n", false},
        {"[SystemInfo]\r\nHue=253\r\n", false},
        {"[SystemInfo]\r\nHistoryDays=0\r\n", false},
        {"[SystemInfo]\r\nHistoryDays=3651\r\n", false},
        {"[SystemInfo]\r\nClassicStyle=2\r\n", false},
        {"[SystemInfo]\r\nLabelTextRGB=256,0,0\r\n", false},
        {"[SystemInfo]\r\nLabelTextRGB=1,2\r\n", false},
        {"[SystemInfo]\r\nSupportedLanguages=klingon\r\n", false},
        {"[SystemInfo]\r\nSupportedLanguages=german,german\r\n", false},
        {"[SystemInfo]\r\nSupportedLanguages=German\r\n", false},
        {"[SystemInfo]\r\nHue=+5\r\n", false},
        {"[SystemInfo]\r\nHue= 5\r\n", false},
        {"[SystemInfo]\r\nHue=05\r\n", false},
        {"[SystemInfo]\r\nHue=1\r\n[Other]\r\nA=1\r\n", false}, // a second section
        {"[SystemInfo]\r\nHue=1\r\n[SystemInfo]\r\nSat=1\r\n", false},
        {"[Other]\r\nHue=1\r\n", false},
        {"Hue=1\r\n", false},
        {"[SystemInfo]\r\n; comment\r\nHue=1\r\n", false},
        {"[SystemInfo]\r\nHue=1\r\nHue=2\r\n", false},
        {"[SystemInfo]\r\n", false},
        {std::string("[SystemInfo]\r\nHue=1\0\r\n", 20), false},
        {good + std::string(kMaxRequestSize, '\n'), false}, // an oversized file
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.accepted, ParseSettingsRequest(c.text).accepted) << c.text << ParseSettingsRequest(c.text).reason;
    const SettingChanges changes = {{"ClassicStyle", "1"}, {"StatusTextRGB", "0,0,0"}};
    EXPECT_EQ(changes, ParseSettingsRequest(FormatSettingsRequest(changes)).changes);

    const struct { const char* path; bool accepted; } paths[] = {
        {"C:\\users\\root\\Temp\\MdS6625.tmp", true}, {"c:\\mdsa.TMP", true},
        {"C:\\Windows\\win.ini", false},             {"C:\\Program Files\\Modavi\\Modavi.ini", false},
        {"C:\\t\\..\\MdS1.tmp", false},              {"C:\\t\\.\\MdS1.tmp", false},
        {"\\\\server\\share\\MdS1.tmp", false},      {"\\\\.\\C:\\MdS1.tmp", false},
        {"\\\\?\\C:\\MdS1.tmp", false},              {"C:MdS1.tmp", false},
        {"C:\\t\\MdS12345.tmp", false},              {"C:\\t\\MdS1.tmp:stream", false},
        {"C:\\t\\MdSG.tmp", false},                  {"C:\\t\\\\MdS1.tmp", false},
        {"C:/t/MdS1.tmp", false},                    {"C:\\t\\MdS.tmp", false},
    };
    for (const auto& p : paths)
        EXPECT_EQ(p.accepted, IsSettingsRequestPath(p.path)) << p.path;
}

} // namespace
