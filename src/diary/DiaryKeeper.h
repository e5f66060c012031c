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

    // One status read at tick count `tick`; nothing while no diary is kept
    // or the PC is asleep (a tick that came as it fell asleep).
    void Observe(LineCondition condition, LineRates rates, uint32_t tick, DiaryTime now);
    // The PC goes to sleep or wakes: a record each; after a wake the line
    // is watched afresh, as at the start.
    void Sleep(DiaryTime now);
    void Wake(DiaryTime now);
    // The program ends: "stop", the last record of this run.
    void Stop(DiaryTime now);

private:
    CLineWatch m_watch;
    bool m_bAsleep = false;
    std::unique_ptr<IDiaryFolder> m_folder; // both null while no diary is kept
    std::unique_ptr<CDiaryRecorder> m_recorder;
};
