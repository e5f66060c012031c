// The seam for reading another program's profile file (the installer's
// vavevida.ini in the Windows directory). The Win32 build reads it with
// GetPrivateProfileStringA; the host build finds no file; tests install a fake.
#pragma once

#include <cstdint>

class IProfileReader {
public:
    virtual ~IProfileReader() = default;
    // As GetPrivateProfileStringA: the value (or defaultText) cut to size-1
    // characters with a terminator into buffer; the result is the number of
    // characters written. A bare fileName is looked for in the Windows
    // directory. Writes nothing when size is 0.
    virtual uint32_t readString(const char* section, const char* key, const char* defaultText, char* buffer,
                                uint32_t size, const char* fileName) = 0;
};

IProfileReader& CurrentProfileReader();
// Installs reader (nullptr: the platform's) and returns what was installed before.
IProfileReader* SetProfileReader(IProfileReader* reader);
// The platform's reader; defined per platform.
IProfileReader& PlatformProfileReader();

class ScopedProfileReader {
public:
    explicit ScopedProfileReader(IProfileReader& reader) : m_pPrevious(SetProfileReader(&reader)) {}
    ~ScopedProfileReader() { SetProfileReader(m_pPrevious); }
    ScopedProfileReader(const ScopedProfileReader&) = delete;
    ScopedProfileReader& operator=(const ScopedProfileReader&) = delete;

private:
    IProfileReader* m_pPrevious;
};
