#include "diary/DiaryArchive.h"

#include "diary/DiaryRecorder.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr char kMonthPrefix[] = "history-";
constexpr char kMonthSuffix[] = ".csv";

// "history-YYYY-MM.csv", digits where the pattern has them.
bool IsMonthFileName(const std::string& name)
{
    const std::string pattern = std::string(kMonthPrefix) + "9999-99" + kMonthSuffix;
    if (name.size() != pattern.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (pattern[i] == '9' ? !std::isdigit(static_cast<unsigned char>(name[i])) : name[i] != pattern[i])
            return false;
    return true;
}

} // namespace

std::string DiaryMonthFileName(const std::string& month)
{
    return kMonthPrefix + month + kMonthSuffix;
}

std::vector<DiaryRecord> ReadWholeDiary(IDiaryFolder& folder)
{
    std::vector<std::string> names = folder.Names();
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !IsMonthFileName(n); }),
                names.end());
    std::sort(names.begin(), names.end()); // by month: the names differ only in it
    names.push_back(kDiaryFileName);
    std::vector<DiaryRecord> records;
    for (const std::string& name : names)
        if (const std::optional<std::string> text = folder.Read(name)) {
            const std::vector<DiaryRecord> some = ParseDiary(*text);
            records.insert(records.end(), some.begin(), some.end());
        }
    return records;
}
