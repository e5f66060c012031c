// One displayed value: the command that fetches it, its last answer (64 data
// bytes, the reported length and the status word), how to show it, and the
// text to show when no valid value exists. Texts are UTF-8.
#pragma once

#include "status/EnumList.h"

#include <array>
#include <cstdint>
#include <string>

enum FieldType : uint32_t {
    FieldHex = 0,        // scaled number, "0x" and two digits per data byte
    FieldUnsigned,       // scaled number, unsigned decimal
    FieldReal,           // scaled number, "%g"
    FieldText,           // zero-terminated text
    FieldEnum,           // unscaled number looked up in the enumeration list
    FieldByteList,       // data bytes as hex pairs joined by "-"
    FieldVersionHex,     // seven-byte version, hexadecimal digits
    FieldVersionDec,     // seven-byte version, decimal parts
};

constexpr size_t kFieldDataSize = 64;
constexpr uint16_t kStatusNeverFetched = 1;

class StatusField {
public:
    StatusField() = default;
    virtual ~StatusField() = default;

    // Sets command, type, status 3, scale, offset and unavailable text, then
    // appends the pairs of enumList ("value,label,..."; values decimal or
    // "0x" hexadecimal) to those already held. Raises XVuk "Enum list must
    // have even number of parameters" for an odd token count, appending none.
    void init(uint32_t command, uint32_t type, const std::string& enumList, float scale, float offset,
              const std::string& unavailableText);

    // Requests the command into the 64 data bytes. A failed request sets
    // status 3; otherwise the status is the driver's.
    void fetch();

    // Keeps an answer obtained elsewhere, as fetch would (at most 64 bytes
    // of data are kept; the rest of the 64 become 0).
    void setAnswer(uint16_t status, uint16_t length, const void* data, size_t count);

    bool isInvalid() const { return m_nStatus != 0; }
    // The last fetch failed because no control device opened.
    bool noDevice() const { return m_bNoDevice; }

    // The scaled number, truncated toward zero to 32 bits; def when invalid.
    // Raises XVuk "StatusField getDword data too big" when the answer is
    // longer than 4 bytes.
    uint32_t getDword(uint32_t def) const;

    // For displays polled by timers: like getDword, but an answer longer than
    // 4 bytes counts as invalid instead of raising. False (value 0) when invalid.
    bool readDword(uint32_t& value) const;
    uint32_t getDwordOr(uint32_t def) const;

    // The display text of the type; the unavailable text when invalid or when
    // the answer does not have the shape the type needs. Never fails.
    std::string format() const;
    // The long version form of types 6 and 7: "%x.%02x.%04x (MODE,LETTER)".
    std::string formatVersionModes() const;

    uint32_t command() const { return m_nCommand; }
    uint32_t type() const { return m_nType; }
    uint16_t status() const { return m_nStatus; }
    uint16_t length() const { return m_nLength; }
    const uint8_t* data() const { return m_data.data(); }
    float scale() const { return m_fScale; }
    float offset() const { return m_fOffset; }
    const std::string& unavailableText() const { return m_unavailableText; }
    const EnumList& enumList() const { return m_enumList; }

private:
    // The first length bytes (length at most 4) as a little-endian number.
    uint32_t rawValue() const;
    double scaledValue() const;
    std::string formatText() const;
    std::string formatByteList() const;
    std::string formatEnum() const;

    uint32_t m_nCommand = 0;
    std::array<uint8_t, kFieldDataSize> m_data{};
    uint16_t m_nLength = 0;
    uint16_t m_nStatus = kStatusNeverFetched;
    bool m_bNoDevice = false;
    uint32_t m_nType = FieldHex;
    EnumList m_enumList;
    float m_fScale = 1.0f;
    float m_fOffset = 0.0f;
    std::string m_unavailableText;
};
