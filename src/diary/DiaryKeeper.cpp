#include "diary/DiaryKeeper.h"

void CDiaryKeeper::Start(std::unique_ptr<IDiaryFolder> folder, int historyDays, DiaryTime now)
{
    m_recorder.reset();
    m_folder = std::move(folder);
    if (!m_folder)
        return;
    m_recorder = std::make_unique<CDiaryRecorder>(*m_folder, DiaryTrace);
    m_recorder->Start(now, historyDays);
}

void CDiaryKeeper::Observe(LineCondition condition, LineRates rates, uint32_t tick, DiaryTime now)
{
    if (!m_recorder || m_bAsleep)
        return;
    const std::optional<LineChange> change = m_watch.Observe(condition, tick, rates);
    m_recorder->Observe(change, m_watch.Confirmed(), rates, now);
}

void CDiaryKeeper::Sleep(DiaryTime now)
{
    m_bAsleep = true;
    if (m_recorder)
        m_recorder->Mark(DiaryEvent::Sleep, now);
}

void CDiaryKeeper::Wake(DiaryTime now)
{
    m_watch = CLineWatch();
    m_bAsleep = false;
    if (m_recorder)
        m_recorder->Mark(DiaryEvent::Wake, now);
}

void CDiaryKeeper::Stop(DiaryTime now)
{
    if (m_recorder)
        m_recorder->Mark(DiaryEvent::Stop, now);
}
