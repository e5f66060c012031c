// Writes the line diary "history.csv" while the program runs: "start" when
// it begins, the line's debounced ups and downs, the modem going and coming
// back, and a "rate" record once a minute (with the rates while the line is
// up, empty while it is not: the minute's record tells that the program was
// watching) and whenever the trained rates change; "sleep" and "wake" when
// the PC goes to sleep and wakes, "stop" when the program ends. Append only,
// one flush per record.
// A diary that cannot be written costs the diary, never the monitor: one
// trace message, then nothing more is written until the next start.
#pragma once

#include "diary/DiaryFolder.h"
#include "diary/LineDiary.h"
#include "status/LineWatch.h"

#include <functional>
#include <optional>
#include <string>

inline constexpr char kDiaryFileName[] = "history.csv";
inline constexpr int kDefaultHistoryDays = 90;
inline constexpr int64_t kDiaryRateInterval = 60;

class CDiaryRecorder {
public:
    using Trace = std::function<void(const std::string&)>;
    CDiaryRecorder(IDiaryFolder& folder, Trace trace);

    // At start-up: records older than `historyDays` (0 or less: the
    // default) move to history-YYYY-MM.csv by their local month, each file
    // written fully and then put in place; then the diary is opened and
    // its "start" written.
    void Start(DiaryTime now, int historyDays);
    // One status read: the change it confirmed (if any), the state
    // confirmed now, and the read's rates (0: unknown).
    void Observe(const std::optional<LineChange>& change, LineCondition confirmed, LineRates rates, DiaryTime now);
    // A record without rates: "sleep" or "wake"; after "stop" nothing more
    // is written.
    void Mark(DiaryEvent event, DiaryTime now);
    bool IsWriting() const { return m_bOpen; }

private:
    bool Rotate(const std::string& text, DiaryTime now, int historyDays);
    void Write(DiaryEvent event, LineRates rates, DiaryTime now);
    void Fail(const std::string& what);

    IDiaryFolder& m_folder; // not owned
    Trace m_trace;
    bool m_bOpen = false;
    std::string m_sPending; // goes before the next record: the header, or the end of a torn line
    int64_t m_lastWrite = 0;
    LineRates m_written; // the rates of the last record with rates
};
