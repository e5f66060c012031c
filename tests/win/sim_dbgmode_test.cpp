// The recording debug-mode plug-in DbgMode.dll from the simulator folder:
// its four exports by name, its started flag, and the log of calls.
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST(DbgModePlugin, KeepsItsStartedFlagAndRecordsEveryCallInOrder)
{
    HMODULE module = LoadLibraryA((testsupport::ThisProgramDir() + "..\\..\\sim\\DbgMode.dll").c_str());
    ASSERT_NE(module, nullptr);
    auto isStarted = Export<int(__cdecl*)()>(module, "isDebugModeStarted");
    auto start = Export<void(__cdecl*)(void*)>(module, "startDebugMode");
    auto stop = Export<void(__cdecl*)()>(module, "stopDebugMode");
    auto generate = Export<void(__cdecl*)()>(module, "generateLogFile");
    ASSERT_TRUE(isStarted && start && stop && generate);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "dbgmode_test_" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log.c_str());

    // Without the variable nothing is written.
    SetEnvironmentVariableA("DBGMODE_LOG", nullptr);
    generate();
    EXPECT_EQ(GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES);

    SetEnvironmentVariableA("DBGMODE_LOG", log.c_str());
    EXPECT_EQ(isStarted(), 0);
    start(&temp);
    EXPECT_EQ(isStarted(), 1);
    generate();
    stop();
    EXPECT_EQ(isStarted(), 0);
    std::stringstream text;
    text << std::ifstream(log, std::ios::binary).rdbuf();
    EXPECT_EQ(text.str(), "isDebugModeStarted\nstartDebugMode\nisDebugModeStarted\ngenerateLogFile\nstopDebugMode\n"
                          "isDebugModeStarted\n");
    SetEnvironmentVariableA("DBGMODE_LOG", nullptr);
    FreeLibrary(module);
    DeleteFileA(log.c_str());
}
