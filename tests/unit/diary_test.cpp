// The line diary: its lines, the figures computed from hand-made diaries,
// and the recorder against real files (torn lines, rotation, no folder).
#include "diary/DiaryArchive.h"
#include "diary/DiaryFigures.h"
#include "diary/DiaryKeeper.h"
#include "diary/DiaryRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string Reformat(const std::string& line)
{
    const auto record = ParseDiaryLine(line);
    return record ? FormatDiaryLine(*record) + " @" + std::to_string(record->time.utc) : "-";
}

// A hand-made diary, one letter a minute as the recorder writes it: U the
// line up (8128/864), D down, L no modem, '.' the program not running, z the
// PC asleep (a "sleep" at the first, a "wake" at the minute after the last).
// Marks that take no time: '<' sets the clock an hour back, '+' moves the
// offset an hour on (daylight saving); '[' is a "start", ']' a "stop", 'w' a
// wake without a sleep. "now" is half a minute after the last record.
std::string Figures(const std::string& minutes)
{
    std::string text = std::string(kDiaryHeader) + "\n";
    DiaryTime t{1796558400, 60};
    char last = '.';
    auto mark = [&](DiaryEvent event) { text += FormatDiaryLine({t, event, {}, {}}) + "\n"; };
    for (char c : minutes) {
        t.utc -= c == '<' ? 3600 : 0;
        t.offsetMinutes += c == '+' ? 60 : 0;
        const size_t marks = std::string("<+[]w").find(c);
        if (marks != std::string::npos) {
            if (marks >= 2)
                mark(marks == 2 ? DiaryEvent::Start : marks == 3 ? DiaryEvent::Stop : DiaryEvent::Wake);
            continue;
        }
        if ((c == 'z') != (last == 'z'))
            mark(c == 'z' ? DiaryEvent::Sleep : DiaryEvent::Wake);
        DiaryRecord r{t, DiaryEvent::Rate, {}, {}};
        if (c == 'U')
            r = {t, last == 'U' ? DiaryEvent::Rate : DiaryEvent::Up, 8128, 864};
        if (c == 'U' && last == 'L')
            text += FormatDiaryLine({t, DiaryEvent::ModemFound, {}, {}}) + "\n";
        if (c == 'D' && last != 'D')
            r.event = DiaryEvent::Down;
        if (c == 'L' && last != 'L')
            r.event = DiaryEvent::ModemLost;
        if (c != '.' && c != 'z')
            text += FormatDiaryLine(r) + "\n";
        last = c;
        t.utc += 60;
    }
    // The last line lost its line break with the power: no record, though it holds all its commas.
    text += FormatDiaryLine({{t.utc - 45, 60}, DiaryEvent::Down, {}, {}});
    const DiaryFigures f = ComputeDiaryFigures(ParseDiary(text), t.utc - 30, 120);
    std::ostringstream out;
    for (const DiaryPeriodFigures& p : {f.day, f.week})
        out << p.upSeconds << "/" << p.knownSeconds << " up, " << p.drops << " drops, " << p.longestOutage << " out; ";
    out << "session " << f.session;
    return out.str();
}

class DiaryFiles : public ::testing::Test {
protected:
    std::string dir = ::testing::TempDir() + "diary_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string traces;
    void SetUp() override { std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()); }
    std::string File(const std::string& name) const
    {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Put(const std::string& name, const std::string& text) const { std::ofstream(dir + "/" + name) << text; }
    std::unique_ptr<IDiaryFolder> folder = MakeDiaryFolder(dir);
    CDiaryRecorder recorder{*folder, [this](const std::string& m) { traces += m + "\n"; }};
};

const std::string kHead = std::string(kDiaryHeader) + "\n";
const int64_t kNow = 1796558400; // 2026-12-06T12:00:00Z

} // namespace

TEST(LineDiaryTest, LinesReadBackExactlyAndAnythingElseIsNoRecord)
{
    const std::pair<const char*, const char*> lines[] = {
        {"2026-12-06T18:02:11+01:00,up,8128,864", "2026-12-06T18:02:11+01:00,up,8128,864 @1796576531"},
        {"2026-12-06T13:32:11-03:30,rate,,\r", "2026-12-06T13:32:11-03:30,rate,, @1796576531"},
        {"2024-02-29T00:00:00Z,modem-found,,", "2024-02-29T00:00:00+00:00,modem-found,, @1709164800"},
        {"2026-12-06T18:02:11+01:00,sleep,,", "2026-12-06T18:02:11+01:00,sleep,, @1796576531"},
        {"2026-12-06T18:02:11+01:00,hibernate,,", "-"}, // an event of a later version: skipped
        {"1969-12-31T23:59:59+00:00,modem-lost,0,4294967295", "1969-12-31T23:59:59+00:00,modem-lost,0,4294967295 @-1"},
        {kDiaryHeader, "-"}, {"2026-12-06T18:02:11+01:00,rate,8128,86 (torn)", "-"},
        {"2026-12-06T18:02:11+01:00,rate,8128", "-"}, {"2026-12-06T18:02:11+01:00,up,1,2,3", "-"},
        {"2026-12-06T18:02:11+01:00,sideways,,", "-"}, {"2026-13-06T18:02:11+01:00,down,,", "-"},
        {"2026-12-06 18:02:11+01:00,down,,", "-"}, {"2026-12-06T18:02:11+0100,down,,", "-"},
        {"2026-12-06T18:02:11+01:00,rate,4294967296,1", "-"}, {"2026-12-06T18:02:11+01:00,rate,8.128,1", "-"}};
    for (const auto& [line, expected] : lines)
        EXPECT_EQ(expected, Reformat(line)) << line;
}

TEST(DiaryFiguresTest, HandMadeDiaries)
{
    const std::pair<std::string, std::string> diaries[] = {
        {"", "0/0 up, 0 drops, 0 out; 0/0 up, 0 drops, 0 out; session -1"},
        {"UUUUUDDDUUUU", "510/690 up, 1 drops, 180 out; 510/690 up, 1 drops, 180 out; session 210"},
        // Not running for five minutes: unknown, not down, and no drop.
        {"UUU.....UUU", "420/420 up, 0 drops, 0 out; 420/420 up, 0 drops, 0 out; session 150"},
        {"UUDD.....DDUU", "210/540 up, 1 drops, 210 out; 210/540 up, 1 drops, 210 out; session 90"},
        {"UULLUU", "210/330 up, 1 drops, 120 out; 210/330 up, 1 drops, 120 out; session 90"},
        // The clock set back an hour, daylight saving: never negative, never more.
        {"UUU<UUU", "270/270 up, 0 drops, 0 out; 270/270 up, 0 drops, 0 out; session 270"},
        {"DU<UUD<D", "120/210 up, 1 drops, 60 out; 120/210 up, 1 drops, 60 out; session -1"},
        {"UU+UU", "210/210 up, 0 drops, 0 out; 210/210 up, 0 drops, 0 out; session 210"},
        // A drop a day ago counts for the week only.
        {"UDD" + std::string(1440, 'U'), "86370/86400 up, 0 drops, 30 out; 86430/86550 up, 1 drops, 120 out; session 86370"},
        // Asleep: left out. Down after the wake and up within two minutes: a resync; longer: a drop.
        {"UUzzzDUU", "210/210 up, 0 drops, 0 out; 210/210 up, 0 drops, 0 out; session 90"},
        {"UUzzzDDDUU", "210/390 up, 1 drops, 180 out; 210/390 up, 1 drops, 180 out; session 90"},
        {"UUzz", "120/120 up, 0 drops, 0 out; 120/120 up, 0 drops, 0 out; session -1"}, // no wake yet
        {"UUwDDU", "150/150 up, 0 drops, 0 out; 150/150 up, 0 drops, 0 out; session 30"}, // a wake without a sleep
        {"UUz<zzDU", "150/150 up, 0 drops, 0 out; 150/150 up, 0 drops, 0 out; session 30"}, // set back while asleep
        // A stop ends the watch where it was (without it the last record speaks for 150 s);
        // started anew with the line down: unknown in between, no drop.
        {"UUU]....", "180/180 up, 0 drops, 0 out; 180/180 up, 0 drops, 0 out; session -1"},
        {"UU]..[DD", "120/210 up, 0 drops, 90 out; 120/210 up, 0 drops, 90 out; session -1"},
    };
    for (const auto& [minutes, expected] : diaries)
        EXPECT_EQ(expected, Figures(minutes)) << minutes.substr(0, 20);
}

TEST_F(DiaryFiles, RecordsEachChangeAndAMinutesRecordWithTheRatesWhileUpEmptyOtherwise)
{
    recorder.Start({kNow, 60}, 90);
    using C = LineCondition;
    const struct {
        int64_t at;
        std::optional<LineChange> change;
        C confirmed;
        LineRates rates;
    } reads[] = {{0, LineChange{C::Unknown, C::Up, 0, {8128, 864}}, C::Up, {8128, 864}},
                 {59, {}, C::Up, {8128, 864}}, {61, {}, C::Up, {8130, 864}}, {70, {}, C::Up, {0, 0}},
                 {120, {}, C::Up, {8130, 864}}, {121, {}, C::Up, {8130, 864}},
                 {130, LineChange{C::Up, C::Down, 130000, {}}, C::Down, {}}, {189, {}, C::Down, {}},
                 {190, {}, C::Down, {}}, {200, LineChange{C::Down, C::NoModem, 0, {}}, C::NoModem, {}},
                 {210, LineChange{C::NoModem, C::Up, 0, {7000, 800}}, C::Up, {7000, 800}},
                 {150, {}, C::Up, {7000, 800}}};
    for (const auto& read : reads)
        recorder.Observe(read.change, read.confirmed, read.rates, {kNow + read.at, 60});
    for (DiaryEvent event : {DiaryEvent::Sleep, DiaryEvent::Wake, DiaryEvent::Stop, DiaryEvent::Wake})
        recorder.Mark(event, {kNow + 300, 60});
    recorder.Observe(LineChange{C::Up, C::Down, 0, {}}, C::Down, {}, {kNow + 301, 60});
    EXPECT_EQ(kHead + "2026-12-06T13:00:00+01:00,start,,\n"
                      "2026-12-06T13:00:00+01:00,up,8128,864\n2026-12-06T13:01:01+01:00,rate,8130,864\n"
                      "2026-12-06T13:02:01+01:00,rate,8130,864\n2026-12-06T13:02:10+01:00,down,,\n"
                      "2026-12-06T13:03:10+01:00,rate,,\n2026-12-06T13:03:20+01:00,modem-lost,,\n"
                      "2026-12-06T13:03:30+01:00,modem-found,,\n2026-12-06T13:03:30+01:00,up,7000,800\n"
                      "2026-12-06T13:02:30+01:00,rate,7000,800\n2026-12-06T13:05:00+01:00,sleep,,\n"
                      "2026-12-06T13:05:00+01:00,wake,,\n2026-12-06T13:05:00+01:00,stop,,\n",
              File("history.csv")) << "nothing after the stop";
    EXPECT_FALSE(recorder.IsWriting());
    EXPECT_EQ("", traces);
}

TEST_F(DiaryFiles, ATornLastLineIsEndedSoThatItNeverReadsAsARecord)
{
    Put("history.csv", kHead + "2026-12-06T12:59:00+01:00,up,8128,864\n2026-12-06T12:59:30+01:00,rate,8128,86");
    recorder.Start({kNow, 60}, 90);
    recorder.Observe(LineChange{LineCondition::Unknown, LineCondition::Down, 0, {}}, LineCondition::Down, {}, {kNow, 60});
    EXPECT_EQ(kHead + "2026-12-06T12:59:00+01:00,up,8128,864\n2026-12-06T12:59:30+01:00,rate,8128,86 (torn)\n"
                      "2026-12-06T13:00:00+01:00,start,,\n2026-12-06T13:00:00+01:00,down,,\n",
              File("history.csv"));
    EXPECT_EQ(3u, ParseDiary(File("history.csv")).size());
}

TEST_F(DiaryFiles, OldRecordsMoveToTheirLocalMonthsFileOnceAndTheRestStaysAllReadBackInOrder)
{
    const std::string aug = "2026-08-31T23:00:00+02:00,up,1,2\n", sep = "2026-09-01T00:30:00+02:00,rate,1,2\n",
                      kept = "2026-09-07T12:00:01+00:00,down,,\n";
    Put("history.csv", kHead + aug + sep + "torn,\n" + kept);
    Put("history-2026-08.csv", kHead + aug); // left by a start that failed after writing it
    recorder.Start({kNow, 60}, 90);          // 90 days before: 2026-09-07T12:00:00Z
    const std::string start = "2026-12-06T13:00:00+01:00,start,,\n";
    EXPECT_EQ(kHead + kept + start, File("history.csv"));
    EXPECT_EQ(kHead + aug, File("history-2026-08.csv"));
    EXPECT_EQ(kHead + sep, File("history-2026-09.csv"));
    EXPECT_EQ("", traces);
    Put("history-2026-9.csv", kHead + kept); // not a month's file
    std::string whole; // what Export offers as everything: the months, oldest first, then history.csv
    for (const DiaryRecord& record : ReadWholeDiary(*folder))
        whole += FormatDiaryLine(record) + "\n";
    EXPECT_EQ(aug + sep + kept + start, whole);
}

TEST_F(DiaryFiles, AFolderThatCannotBeWrittenCostsTheDiaryWithOneTraceLine)
{
    Put("history.csv", kHead + "2026-01-01T00:00:00+00:00,up,1,2\n");
    std::system(("mkdir '" + dir + "/history-2026-01.csv.new'").c_str()); // the month's file cannot be written
    recorder.Start({kNow, 60}, 90);
    EXPECT_EQ(kHead + "2026-01-01T00:00:00+00:00,up,1,2\n2026-12-06T13:00:00+01:00,start,,\n", File("history.csv"))
        << "left whole";
    EXPECT_NE(std::string::npos, traces.find("could not be moved to history-2026-01.csv")) << traces;
    EXPECT_TRUE(recorder.IsWriting());

    traces.clear();
    const auto blocked = MakeDiaryFolder(dir + "/history.csv/sub"); // a file where the folder should be
    CDiaryRecorder broken{*blocked, [this](const std::string& m) { traces += m + "\n"; }};
    broken.Start({kNow, 60}, 90);
    for (int i = 0; i < 3; ++i)
        broken.Observe(LineChange{LineCondition::Unknown, LineCondition::Down, 0, {}}, LineCondition::Down, {}, {kNow + i * 60, 0});
    EXPECT_FALSE(broken.IsWriting());
    EXPECT_EQ(1, std::count(traces.begin(), traces.end(), '\n')) << traces;
}

TEST_F(DiaryFiles, TheKeeperWatchesTheLineAfreshAfterAWake)
{
    CDiaryKeeper keeper;
    keeper.Start(MakeDiaryFolder(dir), 90, {kNow, 0});
    uint32_t tick = 0;
    auto reads = [&](LineCondition condition, int count) {
        for (int i = 0; i < count; ++i, tick += 1000)
            keeper.Observe(condition, {8128, 864}, tick, {kNow + tick / 1000, 0});
    };
    reads(LineCondition::Up, 2);
    keeper.Sleep({kNow + 2, 0});
    reads(LineCondition::Down, 2); // ticks that came as the PC fell asleep
    keeper.Wake({kNow + 3, 0});
    reads(LineCondition::Up, 2); // up as before the sleep: told again, the line's first record after the wake
    keeper.Stop({kNow + 6, 0});
    reads(LineCondition::Down, 2);
    std::string events;
    for (const DiaryRecord& record : ParseDiary(File("history.csv"))) {
        const std::string line = FormatDiaryLine(record), event = line.substr(line.find(',') + 1);
        events += event.substr(0, event.find(',')) + " ";
    }
    EXPECT_EQ("start up sleep wake up stop ", events);
}
