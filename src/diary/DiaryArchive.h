// The line diary as a whole: the monthly files its old records moved to
// ("history-YYYY-MM.csv"), then "history.csv". No window code.
#pragma once

#include "diary/DiaryFolder.h"
#include "diary/LineDiary.h"

#include <string>
#include <vector>

// The monthly file of a "YYYY-MM" month.
std::string DiaryMonthFileName(const std::string& month);

// Every whole record of the monthly files, oldest month first, then of
// history.csv; files that cannot be read give nothing.
std::vector<DiaryRecord> ReadWholeDiary(IDiaryFolder& folder);
