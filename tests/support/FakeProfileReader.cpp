#include "support/FakeProfileReader.h"

#include <cstring>

void FakeProfileReader::set(const std::string& fileName, const std::string& section, const std::string& key,
                            const std::string& value)
{
    m_values[std::make_tuple(fileName, section, key)] = value;
}

uint32_t FakeProfileReader::readString(const char* section, const char* key, const char* defaultText, char* buffer,
                                       uint32_t size, const char* fileName)
{
    ++m_nReads;
    if (size == 0 || !buffer)
        return 0;
    auto found = m_values.find(std::make_tuple(std::string(fileName ? fileName : ""),
                                               std::string(section ? section : ""), std::string(key ? key : "")));
    std::string value = found != m_values.end() ? found->second : std::string(defaultText ? defaultText : "");
    size_t count = value.size() < size ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return uint32_t(count);
}
