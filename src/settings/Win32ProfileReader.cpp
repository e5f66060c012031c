// The platform's profile reader on Windows.
#include "settings/ProfileReader.h"

#include <windows.h>

namespace {

class Win32ProfileReader : public IProfileReader {
public:
    uint32_t readString(const char* section, const char* key, const char* defaultText, char* buffer, uint32_t size,
                        const char* fileName) override
    {
        if (size == 0 || !buffer)
            return 0;
        return GetPrivateProfileStringA(section, key, defaultText, buffer, size, fileName);
    }
};

} // namespace

IProfileReader& PlatformProfileReader()
{
    static Win32ProfileReader reader;
    return reader;
}
