#include "settings/ProfileReader.h"

namespace {

IProfileReader* g_pInstalledReader = nullptr;

} // namespace

IProfileReader& CurrentProfileReader()
{
    return g_pInstalledReader ? *g_pInstalledReader : PlatformProfileReader();
}

IProfileReader* SetProfileReader(IProfileReader* reader)
{
    IProfileReader* previous = g_pInstalledReader;
    g_pInstalledReader = reader;
    return previous;
}
