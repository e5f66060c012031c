#include "settings/SettingsWriteRequest.h"

#include "settings/IniFile.h"
#include "settings/ProgramIdentity.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsRequest.h"
#include "settings/SettingsWriter.h"
#include "settings/WideText.h"

#include <windows.h>

#include <iterator>

namespace {

void Trace(const std::string& message)
{
    OutputDebugStringA(("Modavi: settings request: " + message + "\n").c_str());
}

// The request file: a plain file on a disk, not larger than a request can be.
bool ReadRequestFile(const std::wstring& path, std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
              !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && info.nFileSizeHigh == 0 &&
              info.nFileSizeLow <= kMaxRequestSize;
    if (ok) {
        text.resize(info.nFileSizeLow);
        DWORD got = 0;
        ok = text.empty() || (ReadFile(file, text.data(), DWORD(text.size()), &got, nullptr) && got == text.size());
    }
    CloseHandle(file);
    return ok;
}

// True when the program file's path leads to it without a link: no junction or
// symbolic link on the way that could be turned to another folder once
// this instance runs with an administrator's rights. (The folders of a
// running program cannot be renamed, so the path stays where it leads.)
bool ReachedWithoutLink()
{
    const std::wstring path = GetProgramPathW();
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    wchar_t final[MAX_PATH * 2] = {};
    const DWORD length = GetFinalPathNameByHandleW(file, final, DWORD(std::size(final)), VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= std::size(final))
        return false;
    std::wstring resolved(final, length);
    if (resolved.compare(0, 4, L"\\\\?\\") == 0)
        resolved.erase(0, 4);
    return CompareStringOrdinal(resolved.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

bool IsSettingsWriteRequest(const std::vector<std::wstring>& arguments)
{
    return !arguments.empty() &&
           CompareStringOrdinal(arguments[0].c_str(), -1, kSettingsWriteSwitch, -1, TRUE) == CSTR_EQUAL;
}

int RunSettingsWriteRequest(const std::vector<std::wstring>& arguments)
{
    if (arguments.size() != 2 || !IsSettingsRequestPath(Utf8FromWide(arguments[1]))) {
        Trace("refused: the arguments are not the switch and a request file");
        return kRequestRefused;
    }
    std::string text;
    if (!ReadRequestFile(arguments[1], text)) {
        Trace("refused: the request file cannot be read or is too large");
        return kRequestRefused;
    }
    const RequestCheck request = ParseSettingsRequest(text);
    if (!request.accepted) {
        Trace("refused: " + request.reason);
        return kRequestRefused;
    }
    // Only the settings file of this program's own folder.
    if (!ReachedWithoutLink()) {
        Trace("refused: the program's folder is reached through a link");
        return kRequestRefused;
    }
    const std::string path = Utf8FromWide(WideFromAnsi(SettingsFilePath()));
    const SettingsWrite written = WriteSettingsFile(PlatformSettingsFiles(), path, std::nullopt, request.changes);
    if (written.outcome != WriteOutcome::Written) {
        Trace(written.error);
        return kRequestFailed;
    }
    return kRequestWritten;
}
