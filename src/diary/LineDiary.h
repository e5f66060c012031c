// The line diary's records and their one line of text each:
//   time,event,downstream_kbps,upstream_kbps
// with the time as ISO 8601 local time with its UTC offset
// (2026-12-06T18:02:11+01:00) and the rates as whole kbit/s, empty when
// unknown. The text never follows the locale. No window code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kDiaryHeader[] = "time,event,downstream_kbps,upstream_kbps";
// What ends a torn line when the next record is written: it keeps the cut
// line from ever reading as a record with a shortened number.
inline constexpr char kDiaryTornEnd[] = " (torn)\n";

// What a record tells: the line's and the modem's changes and the minute's
// rates, the PC going to sleep and waking, and the program's watch beginning
// and ending. A line with any other event is no record: a reader skips it.
enum class DiaryEvent { Up, Down, ModemLost, ModemFound, Rate, Sleep, Wake, Start, Stop };

// A moment as the diary writes it: seconds since 1970-01-01 UTC and the
// offset of the local time then.
struct DiaryTime {
    int64_t utc = 0;
    int offsetMinutes = 0;
};

struct DiaryRecord {
    DiaryTime time;
    DiaryEvent event = DiaryEvent::Rate;
    std::optional<uint32_t> downstreamKbps; // empty: unknown
    std::optional<uint32_t> upstreamKbps;
};

// "2026-12-06T18:02:11+01:00"
std::string FormatDiaryTime(DiaryTime time);
// The record's line, without its line break.
std::string FormatDiaryLine(const DiaryRecord& record);
// One line (without its line break) back into a record; nothing for the
// header, a torn line or anything else that is not a whole record.
std::optional<DiaryRecord> ParseDiaryLine(std::string_view line);
// Every whole record of a diary's text, in the file's order. A last line
// without its line break is torn (power lost while writing) and skipped.
std::vector<DiaryRecord> ParseDiary(std::string_view text);

// The local calendar month of a moment, as "YYYY-MM".
std::string DiaryMonth(DiaryTime time);
