#include "tray/TrayIcons.h"

#include "settings/ProgramIcons.h"
#include "settings/ResourceIds.h"
#include "settings/XVuk.h"

const std::array<int, kTrayIconCount> kTrayIconGroups = {
    IDI_TRAY_UP_QUIET, IDI_TRAY_UP_BOTH, IDI_TRAY_UP_UP,   IDI_TRAY_UP_DOWN,
    IDI_TRAY_UNREADABLE, IDI_TRAY_TRAINING, IDI_TRAY_DOWN,
};

int TrafficIconIndex(bool downstreamChanged, bool upstreamChanged)
{
    if (downstreamChanged && upstreamChanged)
        return kTrayIconBoth;
    if (downstreamChanged)
        return kTrayIconDownstream;
    if (upstreamChanged)
        return kTrayIconUpstream;
    return kTrayIconQuiet;
}

CTrayIcons::CTrayIcons(int size) : m_nSize(size)
{
    for (int index = 0; index < kTrayIconCount; ++index) {
        m_icons[size_t(index)].reset(LoadProgramIcon(kTrayIconGroups[size_t(index)], size));
        if (!m_icons[size_t(index)])
            throw XVuk("Can't load icon resource %d", kTrayIconGroups[size_t(index)]);
    }
}

HICON CTrayIcons::Get(int index) const
{
    if (index < 0 || index >= kTrayIconCount)
        return nullptr;
    return m_icons[size_t(index)].get();
}
