#include "settings/InstallerRecord.h"

#include "settings/ProfileReader.h"
#include "settings/SettingsKeys.h"

uint32_t ReadInstalledPackageVersion(char* buffer, uint32_t size)
{
    return CurrentProfileReader().readString(Settings::kSection, Settings::kPackageVersion, "", buffer, size,
                                             Settings::kInstallerFile);
}
