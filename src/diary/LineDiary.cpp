#include "diary/LineDiary.h"

#include <cstdio>

namespace {

const char* const kEventNames[] = {"up", "down", "modem-lost", "modem-found", "rate", "sleep", "wake", "start", "stop"};
constexpr int kEventCount = int(sizeof kEventNames / sizeof kEventNames[0]);

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// well-known era arithmetic, exact for every year the diary can hold).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

struct Civil {
    int64_t year;
    unsigned month, day, hour, minute, second;
};

Civil CivilFromSeconds(int64_t seconds)
{
    int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const int64_t rest = seconds - days * 86400;
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = unsigned(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    return {int64_t(yoe) + era * 400 + (month <= 2), month, doy - (153 * mp + 2) / 5 + 1,
            unsigned(rest / 3600), unsigned(rest % 3600 / 60), unsigned(rest % 60)};
}

// Exactly `count` decimal digits at `pos`.
bool Digits(std::string_view text, size_t pos, size_t count, unsigned& value)
{
    if (pos + count > text.size())
        return false;
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + unsigned(text[i] - '0');
    }
    return true;
}

std::optional<DiaryTime> ParseTime(std::string_view text)
{
    unsigned y, mo, d, h, mi, s;
    if (text.size() < 20 || !Digits(text, 0, 4, y) || text[4] != '-' || !Digits(text, 5, 2, mo) ||
        text[7] != '-' || !Digits(text, 8, 2, d) || text[10] != 'T' || !Digits(text, 11, 2, h) ||
        text[13] != ':' || !Digits(text, 14, 2, mi) || text[16] != ':' || !Digits(text, 17, 2, s))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60)
        return std::nullopt;
    int offset = 0;
    if (text.size() == 20 && text[19] == 'Z') {
        offset = 0;
    } else {
        unsigned oh, om;
        if (text.size() != 25 || (text[19] != '+' && text[19] != '-') || !Digits(text, 20, 2, oh) ||
            text[22] != ':' || !Digits(text, 23, 2, om) || oh > 23 || om > 59)
            return std::nullopt;
        offset = int(oh * 60 + om) * (text[19] == '-' ? -1 : 1);
    }
    const int64_t local = DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
    return DiaryTime{local - int64_t(offset) * 60, offset};
}

// A rate field: empty (unknown) or at most ten digits that fit 32 bits.
bool ParseRate(std::string_view text, std::optional<uint32_t>& rate)
{
    rate.reset();
    if (text.empty())
        return true;
    if (text.size() > 10)
        return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value > UINT32_MAX)
        return false;
    rate = uint32_t(value);
    return true;
}

std::string RateText(const std::optional<uint32_t>& rate)
{
    return rate ? std::to_string(*rate) : std::string();
}

} // namespace

std::string FormatDiaryTime(DiaryTime time)
{
    const Civil c = CivilFromSeconds(time.utc + int64_t(time.offsetMinutes) * 60);
    const int offset = time.offsetMinutes < 0 ? -time.offsetMinutes : time.offsetMinutes;
    char text[80];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02u%c%02d:%02d", (long long)c.year, c.month,
                  c.day, c.hour, c.minute, c.second, time.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string FormatDiaryLine(const DiaryRecord& record)
{
    return FormatDiaryTime(record.time) + ',' + kEventNames[int(record.event)] + ',' +
           RateText(record.downstreamKbps) + ',' + RateText(record.upstreamKbps);
}

std::optional<DiaryRecord> ParseDiaryLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::string_view fields[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = line.find(',', start);
        if ((comma == std::string_view::npos) != (i == 3))
            return std::nullopt; // not exactly four fields
        fields[i] = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        start = comma + 1;
    }
    DiaryRecord record;
    const std::optional<DiaryTime> time = ParseTime(fields[0]);
    if (!time)
        return std::nullopt;
    record.time = *time;
    int event = 0;
    while (event < kEventCount && fields[1] != kEventNames[event])
        ++event;
    if (event == kEventCount)
        return std::nullopt;
    record.event = DiaryEvent(event);
    if (!ParseRate(fields[2], record.downstreamKbps) || !ParseRate(fields[3], record.upstreamKbps))
        return std::nullopt;
    return record;
}

std::vector<DiaryRecord> ParseDiary(std::string_view text)
{
    std::vector<DiaryRecord> records;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            break; // a torn last line: its numbers may be cut short
        if (std::optional<DiaryRecord> record = ParseDiaryLine(text.substr(start, end - start)))
            records.push_back(*record);
        start = end + 1;
    }
    return records;
}

std::string DiaryMonth(DiaryTime time)
{
    return FormatDiaryTime(time).substr(0, 7);
}
