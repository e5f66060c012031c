// The settings writer's file operations with the system's calls: the new
// file is created beside the old one, flushed, and put in its place with
// ReplaceFileW (which keeps the old file's attributes and permissions), or
// MoveFileExW when there was none.
#include "settings/SettingsFiles.h"

#include "settings/SystemMessage.h"
#include "settings/WideText.h"

#include <windows.h>

#include <memory>

namespace {

// Larger files are no settings file of ours and are not read whole.
constexpr DWORD kMaxSettingsFileSize = 1 << 20;

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

FileHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

ISettingsFiles::Failure LastFailure()
{
    const DWORD error = GetLastError();
    return {error == ERROR_ACCESS_DENIED, SystemMessage(error)};
}

class CWin32SettingsFiles : public ISettingsFiles {
public:
    bool Read(const std::string& path, Content& content, Failure& failure) override
    {
        content = Content();
        // The link itself, not what it leads to: a link is not written through.
        FileHandle file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
        BY_HANDLE_FILE_INFORMATION info = {};
        if (!file) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return true;
            failure = LastFailure();
            return false;
        }
        if (!GetFileInformationByHandle(file.get(), &info)) {
            failure = LastFailure();
            return false;
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || info.nFileSizeHigh || info.nFileSizeLow > kMaxSettingsFileSize) {
            failure = {false, "it is a folder or larger than a settings file can be"};
            return false;
        }
        content.exists = true;
        content.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        content.link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || info.nNumberOfLinks > 1;
        content.text.resize(info.nFileSizeLow);
        DWORD got = 0;
        if (!content.text.empty() && (!ReadFile(file.get(), content.text.data(), info.nFileSizeLow, &got, nullptr) ||
                                      got != info.nFileSizeLow)) {
            failure = LastFailure();
            return false;
        }
        return true;
    }

    bool Create(const std::string& path, const std::string& text, Failure& failure) override
    {
        FileHandle file = OpenFile(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        DWORD written = 0;
        if (!file || (!text.empty() && !WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr)) ||
            written != text.size() || !FlushFileBuffers(file.get())) {
            failure = LastFailure();
            return false;
        }
        return true;
    }

    bool Replace(const std::string& target, const std::string& replacement, Failure& failure) override
    {
        const std::wstring to = WideFromUtf8(target), from = WideFromUtf8(replacement);
        if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES &&
            MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        failure = LastFailure();
        return false;
    }

    void Remove(const std::string& path) override { DeleteFileW(WideFromUtf8(path).c_str()); }

    bool NeedsRights(const std::string& path) override
    {
        // A file beside it (deleted again when closed), and the file itself opened for writing.
        FileHandle beside = OpenFile(path + ".probe", GENERIC_WRITE, 0, CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
        if (!beside && GetLastError() == ERROR_ACCESS_DENIED)
            return true;
        const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return false; // read-only by choice: the writer says so, rights would not help
        FileHandle file = OpenFile(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   OPEN_EXISTING, 0);
        return !file && GetLastError() == ERROR_ACCESS_DENIED;
    }
};

} // namespace

ISettingsFiles& PlatformSettingsFiles()
{
    static CWin32SettingsFiles files;
    return files;
}
