// A profile reader with values set by the test, cutting like
// GetPrivateProfileStringA; install it with ScopedProfileReader.
#pragma once

#include "settings/ProfileReader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

class FakeProfileReader : public IProfileReader {
public:
    void set(const std::string& file, const std::string& section, const std::string& key, const std::string& value)
    {
        m_values[file + "|" + section + "|" + key] = value;
    }

    uint32_t readString(const char* section, const char* key, const char* defaultText, char* buffer, uint32_t size,
                        const char* file) override
    {
        auto found = m_values.find(std::string(file) + "|" + section + "|" + key);
        std::string value = found != m_values.end() ? found->second : defaultText;
        if (size == 0)
            return 0;
        size_t count = std::min<size_t>(value.size(), size - 1);
        std::memcpy(buffer, value.c_str(), count);
        buffer[count] = '\0';
        return uint32_t(count);
    }

private:
    std::map<std::string, std::string> m_values;
};
