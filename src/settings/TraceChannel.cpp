#include "settings/TraceChannel.h"

#include "settings/IniFile.h"
#include "settings/TextUtil.h"

CTraceChannel::CTraceChannel(const char* moduleName)
    : m_hMutex(CreateMutexA(nullptr, FALSE, kTraceMutexName)), m_name(moduleName)
{
    // Read directly: a missing settings file leaves the channel off, raising nothing.
    m_bEnabled = IsTraceSetting(ReadProfileString(SettingsFilePath(), Settings::kDebug, "", 260));
}

CTraceChannel::~CTraceChannel()
{
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

bool CTraceChannel::IsTraceSetting(const std::string& value)
{
    return ToUpperAscii(value) == "TRACE";
}
