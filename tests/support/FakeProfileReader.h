// A profile reader with values set by the test, behaving like
// GetPrivateProfileStringA (cut to size-1 characters, terminator written).
// Install it with ScopedProfileReader.
#pragma once

#include "driver/ProfileReader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

class FakeProfileReader : public IProfileReader {
public:
    void set(const std::string& fileName, const std::string& section, const std::string& key,
             const std::string& value)
    {
        m_values[fileName + "|" + section + "|" + key] = value;
    }
    void clear() { m_values.clear(); }

    uint32_t readString(const char* section, const char* key, const char* defaultText, char* buffer, uint32_t size,
                        const char* fileName) override
    {
        if (size == 0 || !buffer)
            return 0;
        auto found = m_values.find(std::string(fileName) + "|" + section + "|" + key);
        std::string value = found != m_values.end() ? found->second : defaultText;
        size_t count = std::min<size_t>(value.size(), size - 1);
        std::memcpy(buffer, value.data(), count);
        buffer[count] = '\0';
        return uint32_t(count);
    }

private:
    std::map<std::string, std::string> m_values;
};
