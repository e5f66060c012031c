#include "dib/FileBytes.h"

#include <windows.h>

#include <new>

namespace {

class ScopedFile {
public:
    explicit ScopedFile(HANDLE handle) : m_handle(handle) {}
    ~ScopedFile()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

FileReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return FileReadResult::CantOpen;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return FileReadResult::CantGetInfo;
    if (uint64_t(size.QuadPart) > kMaxFileBytes)
        return FileReadResult::OutOfMemory;
    try {
        bytes.assign(size_t(size.QuadPart), 0);
    } catch (const std::bad_alloc&) {
        return FileReadResult::OutOfMemory;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr) || got == 0)
            break;
        done += got;
    }
    if (done < bytes.size()) {
        bytes.clear();
        return FileReadResult::ShortRead;
    }
    return FileReadResult::Ok;
}
