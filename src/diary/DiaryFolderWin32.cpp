#include "diary/DiaryFolder.h"

#include "settings/WideText.h"

#include <windows.h>
#include <shlobj.h>

namespace {

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~CFileHandle() { Reset(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = handle;
    }
    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

bool WriteAll(HANDLE file, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        DWORD wrote = 0;
        if (!WriteFile(file, text.data() + done, DWORD(text.size() - done), &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return FlushFileBuffers(file) != 0;
}

class CWin32DiaryFolder : public IDiaryFolder {
public:
    explicit CWin32DiaryFolder(const std::string& path) : m_path(WideFromUtf8(path)) {}

    std::optional<std::string> Read(const std::string& name) override
    {
        // The diary may be open for appending meanwhile.
        CFileHandle file(CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen())
            return std::nullopt;
        std::string text;
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
            text.append(buffer, got);
        return text;
    }

    bool Replace(const std::string& name, const std::string& text) override
    {
        const std::wstring fresh = Path(name) + L".new";
        bool written;
        {
            CFileHandle file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.IsOpen())
                return Failed();
            written = WriteAll(file.Get(), text);
        }
        if (!written || !MoveFileExW(fresh.c_str(), Path(name).c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            Failed();
            DeleteFileW(fresh.c_str());
            return false;
        }
        return true;
    }

    bool OpenAppend(const std::string& name) override
    {
        CreateDirectoryW(m_path.c_str(), nullptr); // there already, or the open below fails
        m_file.Reset(CreateFileW(Path(name).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        return m_file.IsOpen() || Failed();
    }

    bool Append(const std::string& text) override
    {
        return (m_file.IsOpen() && WriteAll(m_file.Get(), text)) || Failed();
    }

    std::vector<std::string> Names() override
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found = {};
        const HANDLE search = FindFirstFileW((m_path + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> closer(search, FindClose);
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(Utf8FromWide(found.cFileName));
        } while (FindNextFileW(search, &found));
        return names;
    }

    std::string Describe() const override
    {
        return Utf8FromWide(m_path) + ": system error " + std::to_string(m_error);
    }

private:
    std::wstring Path(const std::string& name) const { return m_path + L"\\" + WideFromUtf8(name); }
    bool Failed()
    {
        m_error = GetLastError();
        return false;
    }

    std::wstring m_path;
    DWORD m_error = 0;
    CFileHandle m_file; // the diary, open for appending
};

} // namespace

std::unique_ptr<IDiaryFolder> MakeDiaryFolder(const std::string& path)
{
    return std::make_unique<CWin32DiaryFolder>(path);
}

std::string UserDiaryFolderPath()
{
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return Utf8FromWide(folder) + "\\Modavi";
}

DiaryTime DiaryNow()
{
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    if (!FileTimeToLocalFileTime(&utc, &local))
        local = utc;
    auto ticks = [](const FILETIME& t) { return int64_t((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime); };
    const int64_t unixEpoch = 116444736000000000; // 1970-01-01 in 100 ns steps since 1601
    const int64_t offsetMinutes = (ticks(local) - ticks(utc)) / 600000000;
    return {(ticks(utc) - unixEpoch) / 10000000, int(offsetMinutes)};
}

void DiaryTrace(const std::string& message)
{
    OutputDebugStringA((message + "\n").c_str());
}
