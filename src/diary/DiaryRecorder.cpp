#include "diary/DiaryRecorder.h"

#include "diary/DiaryArchive.h"

#include <map>
#include <unordered_set>
#include <vector>

namespace {

std::optional<uint32_t> Known(uint32_t rate)
{
    return rate ? std::optional<uint32_t>(rate) : std::nullopt;
}

// The text's lines without their line breaks; a torn last line is left out.
std::vector<std::string> WholeLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

CDiaryRecorder::CDiaryRecorder(IDiaryFolder& folder, Trace trace) : m_folder(folder), m_trace(std::move(trace))
{
}

void CDiaryRecorder::Start(DiaryTime now, int historyDays)
{
    std::optional<std::string> text = m_folder.Read(kDiaryFileName);
    if (text && Rotate(*text, now, historyDays > 0 ? historyDays : kDefaultHistoryDays))
        text = m_folder.Read(kDiaryFileName);
    if (!m_folder.OpenAppend(kDiaryFileName)) {
        Fail("cannot be opened");
        return;
    }
    m_bOpen = true;
    if (!text || text->empty())
        m_sPending = std::string(kDiaryHeader) + "\n";
    else if (text->back() != '\n')
        m_sPending = kDiaryTornEnd;
    Write(DiaryEvent::Start, {}, now);
}

bool CDiaryRecorder::Rotate(const std::string& text, DiaryTime now, int historyDays)
{
    const int64_t cutoff = now.utc - int64_t(historyDays) * 86400;
    std::map<std::string, std::vector<std::string>> old; // by month
    std::string kept = std::string(kDiaryHeader) + "\n";
    for (const std::string& line : WholeLines(text)) {
        const std::optional<DiaryRecord> record = ParseDiaryLine(line);
        if (!record)
            continue; // the header, torn lines
        if (record->time.utc < cutoff)
            old[DiaryMonth(record->time)].push_back(line);
        else
            kept += line + "\n";
    }
    if (old.empty())
        return false;
    for (const auto& [month, lines] : old) {
        const std::string name = DiaryMonthFileName(month);
        std::string archive = m_folder.Read(name).value_or("");
        // A start that failed after this file was written left the lines in
        // both files: they go in once.
        const std::vector<std::string> present = WholeLines(archive);
        const std::unordered_set<std::string> there(present.begin(), present.end());
        if (archive.empty())
            archive = std::string(kDiaryHeader) + "\n";
        else if (archive.back() != '\n')
            archive += kDiaryTornEnd;
        for (const std::string& line : lines)
            if (!there.count(line))
                archive += line + "\n";
        if (!m_folder.Replace(name, archive)) {
            m_trace("Modavi: the line diary's old records could not be moved to " + name + " (" +
                    m_folder.Describe() + "); they stay in " + kDiaryFileName);
            return false;
        }
    }
    if (!m_folder.Replace(kDiaryFileName, kept)) {
        m_trace(std::string("Modavi: ") + kDiaryFileName + " could not be renewed (" + m_folder.Describe() +
                "); its old records stay in it");
        return false;
    }
    return true;
}

void CDiaryRecorder::Observe(const std::optional<LineChange>& change, LineCondition confirmed, LineRates rates,
                             DiaryTime now)
{
    if (!m_bOpen)
        return;
    if (change) {
        if (change->from == LineCondition::NoModem)
            Write(DiaryEvent::ModemFound, {}, now);
        if (change->to == LineCondition::Up)
            Write(DiaryEvent::Up, change->rates, now);
        else if (change->to == LineCondition::Down)
            Write(DiaryEvent::Down, {}, now);
        else if (change->to == LineCondition::NoModem)
            Write(DiaryEvent::ModemLost, {}, now);
        return;
    }
    if (confirmed == LineCondition::Unknown)
        return;
    if (confirmed != LineCondition::Up)
        rates = {};
    const bool changed = rates.downstreamKbps && rates.upstreamKbps &&
                         (rates.downstreamKbps != m_written.downstreamKbps ||
                          rates.upstreamKbps != m_written.upstreamKbps);
    // A clock set back makes the minute's record due at once, not in hours.
    if (changed || now.utc - m_lastWrite >= kDiaryRateInterval || now.utc < m_lastWrite)
        Write(DiaryEvent::Rate, rates, now);
}

void CDiaryRecorder::Mark(DiaryEvent event, DiaryTime now)
{
    Write(event, {}, now);
    if (event == DiaryEvent::Stop)
        m_bOpen = false;
}

void CDiaryRecorder::Write(DiaryEvent event, LineRates rates, DiaryTime now)
{
    if (!m_bOpen)
        return;
    const DiaryRecord record{now, event, Known(rates.downstreamKbps), Known(rates.upstreamKbps)};
    if (!m_folder.Append(m_sPending + FormatDiaryLine(record) + "\n")) {
        Fail("cannot be written");
        return;
    }
    m_sPending.clear();
    m_lastWrite = now.utc;
    if (record.downstreamKbps && record.upstreamKbps)
        m_written = rates;
}

void CDiaryRecorder::Fail(const std::string& what)
{
    m_bOpen = false;
    m_trace(std::string("Modavi: the line diary ") + kDiaryFileName + " " + what + " (" + m_folder.Describe() +
            "); nothing more is recorded until the program starts again");
}
