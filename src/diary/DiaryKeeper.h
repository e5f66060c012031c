// The running program's line diary: a debounced line state of its own, fed
// with the status reads of one reader (the tray icon's while it is shown,
// else the status window's), driving the recorder.
#pragma once

#include "diary/DiaryRecorder.h"
#include "status/LineWatch.h"

#include <memory>

class CDiaryKeeper {
public:
    // Keeps the diary in `folder`: old records move out, then it is opened.
    void Start(std::unique_ptr<IDiaryFolder> folder, int historyDays, DiaryTime now);
    bool IsKept() const { return bool(m_recorder); }

    // One status read at tick count `tick`; nothing while no diary is kept.
    void Observe(LineCondition condition, LineRates rates, uint32_t tick, DiaryTime now);

private:
    CLineWatch m_watch;
    std::unique_ptr<IDiaryFolder> m_folder; // both null while no diary is kept
    std::unique_ptr<CDiaryRecorder> m_recorder;
};
