// Cost of the line diary's figures on a big diary: a history.csv of 100,000
// records (about 70 days of minute records, with an outage every few
// hours and a gap now and then) is written to a temporary folder, then read,
// parsed and turned into the figures: the work behind showing them. Prints
// the median milliseconds of each step over five rounds (goal: all three
// together well under a second).
#include "diary/DiaryFigures.h"
#include "diary/DiaryFolder.h"
#include "status/LineWatch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;
constexpr int kRounds = 5;

double Ms(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

std::string BigDiary(int64_t now)
{
    std::string text = std::string(kDiaryHeader) + "\n";
    DiaryTime t{now - int64_t(kRecords) * 60, 60};
    for (int i = 0; i < kRecords; ++i, t.utc += 60) {
        const int phase = i % 240; // four hours: up, then ten minutes down
        DiaryRecord record{t, DiaryEvent::Rate, 8128 + uint32_t(i % 3), 864};
        if (phase == 0)
            record.event = DiaryEvent::Up;
        else if (phase >= 230)
            record = {t, phase == 230 ? DiaryEvent::Down : DiaryEvent::Rate, {}, {}};
        if (i % 5000 == 4999)
            t.utc += 3600; // not running for an hour
        text += FormatDiaryLine(record) + "\n";
    }
    return text;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folderPath = std::string(temp) + "modavi_diary_bench";
    CreateDirectoryA(folderPath.c_str(), nullptr);
    const auto folder = MakeDiaryFolder(folderPath);
    const int64_t now = DiaryNow().utc;
    if (!folder->Replace("history.csv", BigDiary(now))) {
        std::printf("cannot write %s\n", folder->Describe().c_str());
        return 1;
    }
    std::vector<double> read, parse, figures;
    DiaryFigures result;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER t0, t1, t2, t3;
        QueryPerformanceCounter(&t0);
        const std::string text = folder->Read("history.csv").value_or("");
        QueryPerformanceCounter(&t1);
        const std::vector<DiaryRecord> records = ParseDiary(text);
        QueryPerformanceCounter(&t2);
        result = ComputeDiaryFigures(records, now + 30, kDefaultWakeGraceSeconds);
        QueryPerformanceCounter(&t3);
        read.push_back(Ms(t0, t1));
        parse.push_back(Ms(t1, t2));
        figures.push_back(Ms(t2, t3));
    }
    for (auto* v : {&read, &parse, &figures})
        std::sort(v->begin(), v->end());
    std::printf("diary of %d records: read %.1f ms, parse %.1f ms, figures %.1f ms\n", kRecords, read[kRounds / 2],
                parse[kRounds / 2], figures[kRounds / 2]);
    std::printf("figures: 7 days %lld of %lld s up, %d drops\n", (long long)result.week.upSeconds,
                (long long)result.week.knownSeconds, result.week.drops);
    DeleteFileA((folderPath + "\\history.csv").c_str());
    RemoveDirectoryA(folderPath.c_str());
    return 0;
}
