// A named trace channel: it shares the trace log's cross-process mutex and
// is switched on by the setting Debug=TRACE (any letter case). The program
// writes no trace lines; the channel only holds the mutex and the switch.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kTraceMutexName[] = "KORVANTIS_ADSL_CPL_LOGFILE_MUTEX";
inline constexpr char kTraceLogName[] = "VukCpl.log";

class CTraceChannel {
public:
    explicit CTraceChannel(const char* moduleName);
    virtual ~CTraceChannel();
    CTraceChannel(const CTraceChannel&) = delete;
    CTraceChannel& operator=(const CTraceChannel&) = delete;

    bool IsEnabled() const { return m_bEnabled; }
    HANDLE GetMutex() const { return m_hMutex; }
    const std::string& GetName() const { return m_name; }

    // True when the Debug setting's value switches tracing on.
    static bool IsTraceSetting(const std::string& value);

private:
    HANDLE m_hMutex = nullptr; // owned; null when creation failed
    std::string m_name;
    bool m_bEnabled = false;
};
