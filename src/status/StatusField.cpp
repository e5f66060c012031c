#include "status/StatusField.h"

#include "settings/ByteOrder.h"
#include "driver/Channel.h"
#include "status/NumberText.h"
#include "settings/XVuk.h"

#include <algorithm>
#include <cstring>

void StatusField::init(uint32_t command, uint32_t type, const std::string& enumList, float scale, float offset,
                       const std::string& unavailableText)
{
    m_nCommand = command;
    m_nType = type;
    m_nStatus = kStatusRequestFailed;
    m_fScale = scale;
    m_fOffset = offset;
    m_unavailableText = unavailableText;
    m_enumList.append(enumList);
}

void StatusField::fetch()
{
    const bool failed = requestCommand(m_nCommand, m_nStatus, m_nLength, m_data.data(), uint32_t(m_data.size()));
    m_bNoDevice = failed && m_nStatus == kStatusNoDevice;
    if (failed)
        m_nStatus = kStatusRequestFailed;
}

void StatusField::setAnswer(uint16_t status, uint16_t length, const void* data, size_t count)
{
    m_nStatus = status;
    m_bNoDevice = false;
    m_nLength = length;
    m_data.fill(0);
    if (data)
        std::memcpy(m_data.data(), data, std::min(count, m_data.size()));
}

uint32_t StatusField::rawValue() const
{
    return ReadLeUnsigned(m_data.data(), m_nLength);
}

double StatusField::scaledValue() const
{
    return double(rawValue()) * double(m_fScale) + double(m_fOffset);
}

uint32_t StatusField::getDword(uint32_t def) const
{
    if (isInvalid())
        return def;
    if (m_nLength > 4)
        throw XVuk("StatusField getDword data too big");
    return TruncateToUint32(scaledValue());
}

bool StatusField::readDword(uint32_t& value) const
{
    value = 0;
    if (isInvalid() || m_nLength > 4)
        return false;
    value = TruncateToUint32(scaledValue());
    return true;
}

uint32_t StatusField::getDwordOr(uint32_t def) const
{
    uint32_t value = 0;
    return readDword(value) ? value : def;
}
