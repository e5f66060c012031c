// Runs a console program and collects what it writes to its standard output,
// for Windows tests that drive the simulator's control tool or the query tool.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
    bool started = false;
    DWORD exitCode = 0;
    std::string output; // standard output, "\r\n" turned into "\n"
};

// The folder of this test program, ending in "\".
inline std::string ThisProgramDir()
{
    char path[MAX_PATH];
    std::string text(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return text.substr(0, text.find_last_of("\\/") + 1);
}

// Runs commandLine (the program path quoted by the caller when needed) and
// waits for it at most timeoutMs; a program that does not end is killed.
inline ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 30000)
{
    using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &inherit, 0))
        return result;
    Handle readEnd(readPipe, CloseHandle), writeEnd(writePipe, CloseHandle);
    SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writePipe;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return result;
    Handle process(info.hProcess, CloseHandle), thread(info.hThread, CloseHandle);
    writeEnd.reset(); // the pipe ends when the child's copy closes
    result.started = true;
    // Poll the pipe and the process together, so a child that hangs cannot
    // hold the test past the bound.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    auto drain = [&] {
        DWORD available = 0, count = 0;
        char chunk[4096];
        bool any = false;
        while (PeekNamedPipe(readPipe, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ReadFile(readPipe, chunk, sizeof chunk, &count, nullptr) && count > 0) {
            for (DWORD i = 0; i < count; ++i)
                if (chunk[i] != '\r')
                    result.output += chunk[i];
            any = true;
        }
        return any;
    };
    for (;;) {
        if (drain())
            continue;
        if (WaitForSingleObject(info.hProcess, 10) == WAIT_OBJECT_0) {
            drain();
            break;
        }
        if (GetTickCount64() > deadline) {
            TerminateProcess(info.hProcess, 255);
            WaitForSingleObject(info.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(info.hProcess, &result.exitCode);
    return result;
}

} // namespace testsupport
