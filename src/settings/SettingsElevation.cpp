#include "settings/SettingsElevation.h"

#include "settings/ProgramIdentity.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsRequest.h"
#include "settings/SystemMessage.h"
#include "settings/WideText.h"

#include <shellapi.h>


namespace {

// The elevated writer reads a few hundred bytes and writes one small file.
constexpr DWORD kElevatedWaitMs = 30000;

class CShellElevation : public ISettingsElevation {
public:
    bool Run(HWND owner, const std::wstring& requestPath, DWORD& exitCode, std::string& reason) override
    {
        const std::wstring program = GetProgramPathW();
        const std::wstring parameters = std::wstring(kSettingsWriteSwitch) + L" \"" + requestPath + L"\"";
        SHELLEXECUTEINFOW info = {sizeof info};
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = L"runas";
        info.lpFile = program.c_str();
        info.lpParameters = parameters.c_str();
        info.nShow = SW_HIDE;
        if (!ShellExecuteExW(&info)) {
            const DWORD error = GetLastError();
            reason = error == ERROR_CANCELLED ? "administrator rights were not given" : SystemMessage(error);
            return false;
        }
        if (!info.hProcess) {
            reason = "the program was not started";
            return false;
        }
        const bool ended = WaitForSingleObject(info.hProcess, kElevatedWaitMs) == WAIT_OBJECT_0;
        const bool got = ended && GetExitCodeProcess(info.hProcess, &exitCode);
        CloseHandle(info.hProcess);
        if (!got)
            reason = "the program writing as administrator did not end in time";
        return got;
    }
};

// A new request file in the temporary folder, named as the elevated instance expects.
std::wstring MakeRequestFile(const std::string& text, std::string& reason)
{
    wchar_t folder[MAX_PATH + 1], path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, WideFromUtf8(kRequestFilePrefix).c_str(), 0, path)) {
        reason = SystemMessage(GetLastError());
        return std::wstring();
    }
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
                    written == text.size();
    reason = ok ? std::string() : SystemMessage(GetLastError());
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok)
        DeleteFileW(path);
    return ok ? std::wstring(path) : std::wstring();
}

} // namespace

ISettingsElevation& PlatformSettingsElevation()
{
    static CShellElevation elevation;
    return elevation;
}

SettingsWrite WriteSettingsElevated(ISettingsElevation& elevation, HWND owner, const std::string& settingsPath,
                                    const SettingChanges& changes)
{
    SettingsWrite result;
    const std::string failed = "Can't write " + settingsPath + " with administrator rights: ";
    std::string reason;
    const std::wstring request = MakeRequestFile(FormatSettingsRequest(changes), reason);
    if (request.empty()) {
        result.error = failed + "the request file could not be written: " + reason;
        return result;
    }
    DWORD exitCode = 0;
    const bool ran = elevation.Run(owner, request, exitCode, reason);
    DeleteFileW(request.c_str());
    if (ran && exitCode == DWORD(kRequestWritten))
        result.outcome = WriteOutcome::Written;
    else if (!ran)
        result.error = failed + reason;
    else if (exitCode == DWORD(kRequestRefused))
        result.error = failed + "the settings were refused; the file is unchanged";
    else
        result.error = failed + "the write failed (code " + std::to_string(exitCode) + "); the file is unchanged";
    return result;
}
