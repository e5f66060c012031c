// The host build's platform profile reader: there is no Windows directory,
// so every key reads as its default.
#include "settings/ProfileReader.h"

#include <cstring>

namespace {

class NullProfileReader : public IProfileReader {
public:
    uint32_t readString(const char*, const char*, const char* defaultText, char* buffer, uint32_t size,
                        const char*) override
    {
        if (size == 0 || !buffer)
            return 0;
        size_t count = defaultText ? std::strlen(defaultText) : 0;
        if (count > size - 1)
            count = size - 1;
        if (count)
            std::memcpy(buffer, defaultText, count);
        buffer[count] = '\0';
        return uint32_t(count);
    }
};

} // namespace

IProfileReader& PlatformProfileReader()
{
    static NullProfileReader reader;
    return reader;
}
