// The value-to-label table of an enumeration field, read from a text of
// comma-separated tokens in pairs: "0,Idle,2,Up". Empty tokens are skipped,
// tokens are not trimmed; a value token is "0x" hexadecimal or read like atoi
// and kept as 32 bits (so -1 matches a four-byte answer of all ones).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class EnumList {
public:
    // Appends the pairs of text. Raises XVuk "Enum list must have even
    // number of parameters" for an odd token count, appending nothing.
    void append(const std::string& text);

    // The label of the first pair whose value equals value; null when none does.
    const std::string* find(uint32_t value) const;

    size_t size() const { return m_entries.size(); }
    const std::pair<uint32_t, std::string>& entry(size_t index) const { return m_entries[index]; }

private:
    std::vector<std::pair<uint32_t, std::string>> m_entries;
};
