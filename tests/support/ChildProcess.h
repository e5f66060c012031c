// Runs a console program and collects what it writes to its standard output,
// for Windows tests that drive the simulator's control tool or the query tool.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE get() const { return m_handle; }
    HANDLE* put() { reset(); return &m_handle; }
    bool valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    void reset()
    {
        if (valid())
            CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

struct ProcessResult {
    bool started = false;
    DWORD exitCode = 0;
    std::string output; // standard output
};

// The folder of this test program, ending in "\".
inline std::string ThisProgramDir()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

// Runs commandLine (the program path quoted by the caller when needed) and
// waits for it at most timeoutMs; a program that does not end is killed.
inline ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 30000)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    OwnedHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0))
        return result;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info))
        return result;
    OwnedHandle process(info.hProcess), thread(info.hThread);
    writeEnd.reset(); // the pipe ends when the child's copy closes

    result.started = true;
    // Poll the pipe and the process together, so a child that hangs cannot
    // hold the test past the bound.
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    char chunk[4096];
    for (;;) {
        DWORD available = 0;
        DWORD count = 0;
        if (PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            if (ReadFile(readEnd.get(), chunk, sizeof chunk, &count, nullptr) && count > 0)
                result.output.append(chunk, count);
            continue;
        }
        if (WaitForSingleObject(process.get(), 10) == WAIT_OBJECT_0) {
            while (PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
                   ReadFile(readEnd.get(), chunk, sizeof chunk, &count, nullptr) && count > 0)
                result.output.append(chunk, count);
            break;
        }
        if (GetTickCount64() > deadline) {
            TerminateProcess(process.get(), 255);
            WaitForSingleObject(process.get(), 5000);
            break;
        }
    }
    GetExitCodeProcess(process.get(), &result.exitCode);
    // Text-mode children end lines in "\r\n"; the tests compare "\n" lines.
    std::string clean;
    for (char c : result.output)
        if (c != '\r')
            clean += c;
    result.output = clean;
    return result;
}

} // namespace testsupport
