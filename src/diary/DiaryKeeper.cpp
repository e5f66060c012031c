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
    if (!m_recorder)
        return;
    const std::optional<LineChange> change = m_watch.Observe(condition, tick, rates);
    m_recorder->Observe(change, m_watch.Confirmed(), rates, now);
}
