// The display forms of a status field.
#include "status/StatusField.h"

#include "status/DriverText.h"
#include "status/NumberText.h"

#include <algorithm>

namespace {

const char* const kModeNames[8] = {"?", "ANS", "QU", "ANS/QA", "CG", "CG/ANS", "CG/QA", "CG/QA/ANS"};
const char* const kLetterNames[4] = {"?", "A", "B", "A/B"};

constexpr uint16_t kVersionLength = 7;

} // namespace

std::string StatusField::format() const
{
    if (isInvalid())
        return m_unavailableText;

    const bool numeric = m_nLength <= 4;
    const uint8_t* d = m_data.data();
    switch (m_nType) {
    case FieldHex:
        if (!numeric)
            break;
        return FormatPrintf("0x%0*x", 2 * m_nLength, TruncateToUint32(scaledValue()));
    case FieldUnsigned:
        if (!numeric)
            break;
        return FormatPrintf("%u", TruncateToUint32(scaledValue()));
    case FieldReal:
        if (!numeric)
            break;
        return FormatPrintf("%g", scaledValue());
    case FieldText:
        return formatText();
    case FieldEnum:
        if (!numeric)
            break;
        return formatEnum();
    case FieldByteList:
        return formatByteList();
    case FieldVersionHex:
        if (m_nLength != kVersionLength)
            break;
        if (d[0] & 0x80)
            return formatVersionModes();
        return FormatPrintf("%x.%x%x.%x%x%x%x", unsigned(d[0]), unsigned(d[1]), unsigned(d[2]), unsigned(d[3]),
                            unsigned(d[4]), unsigned(d[5]), unsigned(d[6]));
    case FieldVersionDec:
        if (m_nLength != kVersionLength)
            break;
        if (d[0] & 0x80)
            return formatVersionModes();
        return FormatPrintf("%d.%02d.%04d", int(d[0]), int(d[1]), int(d[5]));
    default:
        break;
    }
    return m_unavailableText;
}

std::string StatusField::formatVersionModes() const
{
    const uint8_t* d = m_data.data();
    return FormatPrintf("%x.%02x.%04x (%s,%s)", unsigned(d[4]), unsigned(d[5]), unsigned(d[6]), kModeNames[d[1] & 7],
                        kLetterNames[d[2] & 3]);
}

std::string StatusField::formatText() const
{
    // Without a zero inside the 64 bytes, the text is those 64 bytes.
    return TextFromDriverBytes(m_data.data(), m_data.size());
}

std::string StatusField::formatEnum() const
{
    uint32_t raw = rawValue();
    if (const std::string* label = m_enumList.find(raw))
        return *label;
    return FormatPrintf("%#0*x", 2 * m_nLength + 2, raw);
}

std::string StatusField::formatByteList() const
{
    // A reported length above 64 shows the 64 bytes the field holds.
    size_t count = std::min<size_t>(m_nLength, m_data.size());
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += FormatPrintf("%02x-", unsigned(m_data[i]));
    if (!text.empty())
        text.pop_back();
    return text;
}
