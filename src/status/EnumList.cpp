#include "status/EnumList.h"

#include "settings/TextUtil.h"
#include "settings/XVuk.h"

void EnumList::append(const std::string& text)
{
    std::vector<std::string> tokens;
    SplitString(tokens, text, ",");
    if (tokens.size() % 2 != 0)
        throw XVuk("Enum list must have even number of parameters");
    // "0x" with no digits after it reads as 0.
    for (size_t i = 0; i < tokens.size(); i += 2)
        m_entries.emplace_back(ParseNumber(tokens[i]), tokens[i + 1]);
}

const std::string* EnumList::find(uint32_t value) const
{
    for (const auto& entry : m_entries)
        if (entry.first == value)
            return &entry.second;
    return nullptr;
}
