// The recording debug-mode plug-in DbgMode.dll from the simulator folder:
// its four exports by name, its started flag, and the log of calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::wstring SimDir()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"..\\..\\sim\\";
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// An export as a function of the given type (through void*, as with any FARPROC).
template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class DbgModePlugin : public ::testing::Test {
protected:
    using IsStarted = int(__cdecl*)();
    using Start = void(__cdecl*)(void*);
    using Action = void(__cdecl*)();

    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_log = std::wstring(temp) + L"dbgmode_test_" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(m_log.c_str());
        m_module = LoadLibraryW((SimDir() + L"DbgMode.dll").c_str());
        ASSERT_NE(m_module, nullptr) << "DbgMode.dll not found beside the test folder";
        m_isStarted = Export<IsStarted>(m_module, "isDebugModeStarted");
        m_start = Export<Start>(m_module, "startDebugMode");
        m_stop = Export<Action>(m_module, "stopDebugMode");
        m_generate = Export<Action>(m_module, "generateLogFile");
        ASSERT_TRUE(m_isStarted && m_start && m_stop && m_generate) << "an export is missing";
    }

    void TearDown() override
    {
        SetEnvironmentVariableW(L"DBGMODE_LOG", nullptr);
        if (m_module != nullptr) {
            m_stop();
            FreeLibrary(m_module);
        }
        DeleteFileW(m_log.c_str());
    }

    std::wstring m_log;
    HMODULE m_module = nullptr;
    IsStarted m_isStarted = nullptr;
    Start m_start = nullptr;
    Action m_stop = nullptr;
    Action m_generate = nullptr;
};

TEST_F(DbgModePlugin, KeepsItsStartedFlagAndRecordsEveryCallInOrder)
{
    ASSERT_TRUE(SetEnvironmentVariableW(L"DBGMODE_LOG", m_log.c_str()));
    EXPECT_EQ(m_isStarted() & 0xFF, 0);
    int window = 0;
    m_start(&window);
    EXPECT_NE(m_isStarted() & 0xFF, 0);
    m_generate();
    m_stop();
    EXPECT_EQ(m_isStarted() & 0xFF, 0);
    const std::string calls =
        "isDebugModeStarted\n"
        "startDebugMode\n"
        "isDebugModeStarted\n"
        "generateLogFile\n"
        "stopDebugMode\n"
        "isDebugModeStarted\n";
    EXPECT_EQ(ReadFile(m_log), calls);

    m_generate();
    EXPECT_EQ(ReadFile(m_log), calls + "generateLogFile\n") << "appended";
}

TEST_F(DbgModePlugin, WritesNothingWithoutTheVariable)
{
    SetEnvironmentVariableW(L"DBGMODE_LOG", nullptr);
    m_start(nullptr);
    EXPECT_NE(m_isStarted(), 0);
    m_generate();
    m_stop();
    EXPECT_EQ(GetFileAttributesW(m_log.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
