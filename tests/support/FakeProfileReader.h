// A profile reader with values set by the test, behaving like
// GetPrivateProfileStringA (cut to size-1 characters, terminator written).
// Install it with ScopedProfileReader.
#pragma once

#include "settings/ProfileReader.h"

#include <map>
#include <string>
#include <tuple>

class FakeProfileReader : public IProfileReader {
public:
    void set(const std::string& fileName, const std::string& section, const std::string& key,
             const std::string& value);
    void clear() { m_values.clear(); }
    size_t readCount() const { return m_nReads; }

    uint32_t readString(const char* section, const char* key, const char* defaultText, char* buffer, uint32_t size,
                        const char* fileName) override;

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> m_values;
    size_t m_nReads = 0;
};
