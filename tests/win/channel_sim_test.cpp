// The channel and its typed requests against the simulated modem driver,
// configured through its control tool adslsim.exe (skipped when the simulator
// is not running, unless MODAVI_REQUIRE_SIM=1 asks for it); the package
// version from the Windows directory; modavi-query.exe's command line.
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "settings/ProgramPaths.h"
#include "settings/TextUtil.h"

#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

using testsupport::RunProcess;

namespace {

std::string SimDir()
{
    return testsupport::ThisProgramDir() + "..\\..\\sim\\";
}

// Writes the Windows directory's vavevida.ini for the length of a test and
// puts back what was there before.
class ScopedInstallerFile {
public:
    explicit ScopedInstallerFile(const std::string& content) : m_path(JoinPath(GetWindowsDir(), "vavevida.ini"))
    {
        std::ifstream old(m_path, std::ios::binary);
        m_existed = bool(old);
        m_previous.assign(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>());
        old.close();
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << content;
    }
    ~ScopedInstallerFile()
    {
        if (m_existed)
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << m_previous;
        else
            DeleteFileA(m_path.c_str());
    }

private:
    std::string m_path;
    std::string m_previous;
    bool m_existed = false;
};

// The control device appears once Wine's device host has loaded the driver,
// which may still be under way when this program starts: poll with a bound.
bool ControlDeviceOpens()
{
    ULONGLONG deadline = GetTickCount64() + 10000;
    for (;;) {
        HANDLE device = CreateFileA("\\\\.\\AdslSimControl", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        if (device != INVALID_HANDLE_VALUE) {
            CloseHandle(device);
            return true;
        }
        if (GetTickCount64() > deadline)
            return false;
        Sleep(100);
    }
}

bool SimulatorRequired()
{
    const char* required = std::getenv("MODAVI_REQUIRE_SIM");
    return required && std::strcmp(required, "1") == 0;
}

class ChannelSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_available = ControlDeviceOpens();
    }

    void SetUp() override
    {
        if (!s_available) {
            if (SimulatorRequired())
                FAIL() << "MODAVI_REQUIRE_SIM=1 but \\\\.\\AdslSimControl does not open";
            GTEST_SKIP() << "the simulated modem driver is not running";
        }
        sim("reset");
        setRememberedDeviceIndex(0);
    }

    void TearDown() override
    {
        if (s_available)
            RunProcess("\"" + SimDir() + "adslsim.exe\" reset");
    }

    // Runs one control-tool command; its output when it succeeded.
    std::string sim(const std::string& arguments)
    {
        testsupport::ProcessResult result = RunProcess("\"" + SimDir() + "adslsim.exe\" " + arguments);
        EXPECT_TRUE(result.started) << "adslsim.exe did not start from " << SimDir();
        EXPECT_EQ(result.exitCode, 0u) << "adslsim " << arguments << "\n" << result.output;
        return result.output;
    }

    void setDword(uint32_t command, uint32_t value, const std::string& extra = "")
    {
        char text[64];
        std::snprintf(text, sizeof text, "set 0x%04x --dword %u", command, value);
        sim(text + extra);
    }

    static bool s_available;
};

bool ChannelSimTest::s_available = false;

} // namespace

TEST_F(ChannelSimTest, TypedRequestsGiveTheValuesSet)
{
    setDword(Command::kLineState, 2);
    EXPECT_TRUE(isLineUp());
    setDword(Command::kLineState, 1);
    EXPECT_FALSE(isLineUp());

    const std::pair<uint32_t, const char*> letters[] = {{0, "A"}, {3, "B"}, {1, "C"}, {2, ""}};
    for (const auto& letter : letters) {
        setDword(Command::kAnnex, letter.first);
        EXPECT_EQ(getAnnexLetter(), letter.second) << "annex value " << letter.first;
    }

    setDword(Command::kDualBitmap, 1);
    EXPECT_TRUE(isDualBitmap());
    setDword(Command::kDualBitmap, 0);
    EXPECT_FALSE(isDualBitmap());

    setDword(Command::kCellCount301, 0x12345678);
    EXPECT_EQ(getCellCount301(), 0x12345678u);
    sim("count 0x0381 7 --start 4294967295");
    EXPECT_EQ(getCellCount381(), 0xFFFFFFFFu);
    EXPECT_EQ(getCellCount381(), 6u);

    setDword(Command::kRate103, 8000);
    uint32_t value = 0;
    EXPECT_FALSE(requestDword(Command::kRate103, value));
    EXPECT_EQ(value, 8000u);
}

TEST_F(ChannelSimTest, AnswersAreCopiedAsTheLayoutSays)
{
    // A length beyond the caller's size: the caller's size is copied.
    uint16_t status = 9, length = 0;
    sim("set 0x01e4 --bytes 00112233445566778899");
    uint8_t four[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(requestCommand(Command::kText1E4, status, length, four, 4));
    EXPECT_EQ(length, 10);
    EXPECT_EQ(four[3], 0x33);
    EXPECT_EQ(four[4], 0xEE);

    // A refusal copies the data; a failed call reads the zeroed answer.
    setDword(Command::kRate107, 5, " --status 7");
    uint32_t value = 0;
    EXPECT_TRUE(requestDword(Command::kRate107, value));
    EXPECT_EQ(value, 5u);
    EXPECT_FALSE(requestCommand(Command::kRate107, status, length, &value, 4));
    EXPECT_EQ(status, 7);

    sim("fail 0x0110");
    status = 9;
    length = 9;
    EXPECT_TRUE(requestCommand(Command::kDivisor110, status, length, four, 4));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(length, 0);
}

TEST_F(ChannelSimTest, CombinedRates)
{
    setDword(Command::kSelector104, 1);
    setDword(Command::kMultiplicand10F, 100);
    setDword(Command::kMultiplicand112, 999);
    setDword(Command::kDivisor110, 8);
    setDword(Command::kRate103, 1000);
    uint32_t value = 0;
    EXPECT_FALSE(requestDword(Command::kCombinedRate1, value));
    EXPECT_EQ(value, 1000u + 100u * 32u / 8u + 32u);

    setDword(Command::kSelector108, 0);
    setDword(Command::kMultiplicand10B, 999);
    setDword(Command::kMultiplicand10E, 0x08000001); // times 32 wraps to 32
    setDword(Command::kDivisor10C, 0);
    setDword(Command::kRate107, 500);
    EXPECT_FALSE(requestDword(Command::kCombinedRate2, value));
    EXPECT_EQ(value, 500u + 32u + 32u);

    sim("fail 0x0108");
    EXPECT_TRUE(requestDword(Command::kCombinedRate2, value));
}

TEST_F(ChannelSimTest, PciAdapterIsUsedWhenItIsTheOnlyDevice)
{
    sim("devices pci");
    setDword(Command::kLineState, 2);
    sim("stats --clear");

    EXPECT_TRUE(isLineUp());
    EXPECT_EQ(getRememberedDeviceIndex(), 1u);
    EXPECT_TRUE(isLineUp());
    std::string stats = sim("stats");
    EXPECT_NE(stats.find("open VukPciAdapter 2"), std::string::npos) << stats;
    EXPECT_EQ(stats.find("open ADSLUSB"), std::string::npos) << stats;
    EXPECT_NE(stats.find("cmd 0x0004 2"), std::string::npos) << stats;

    sim("devices none");
    uint16_t status = 0, length = 33;
    uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_TRUE(requestCommand(Command::kLineState, status, length, buffer, sizeof buffer));
    EXPECT_EQ(status, kStatusNoDevice);
    EXPECT_EQ(length, 33);
    EXPECT_EQ(buffer[0], 1);
}

TEST_F(ChannelSimTest, PackageVersionIsReadFromTheWindowsDirectoryWithoutOpeningADevice)
{
    char text[32];
    uint16_t status = 9, length = 9;
    {
        ScopedInstallerFile file("[SystemInfo]\r\nSetupSoftwareKey=english\r\nPackageVersion=3.14.15\r\n");
        sim("stats --clear");
        EXPECT_FALSE(requestCommand(Command::kPackageVersion, status, length, text, sizeof text));
        EXPECT_EQ(sim("stats"), "") << "no device opened, no command sent";
        EXPECT_EQ(status, 0);
        EXPECT_EQ(length, 7);
        EXPECT_STREQ(text, "3.14.15");

        EXPECT_FALSE(requestCommand(Command::kPackageVersion, status, length, text, 5));
        EXPECT_STREQ(text, "3.14");
        EXPECT_EQ(length, 4);
    }
    ScopedInstallerFile file("[SystemInfo]\r\nSetupSoftwareKey=english\r\n");
    EXPECT_TRUE(requestCommand(Command::kPackageVersion, status, length, text, sizeof text));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(length, 0);
}

TEST_F(ChannelSimTest, QueryToolReportsTheDriverAnswer)
{
    setDword(Command::kLineState, 2);
    testsupport::ProcessResult result = RunProcess("\"" + SimDir() + "modavi-query.exe\" 0x0004");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "failed 0\nstatus 0\nlength 4\ndata 02 00 00 00\n"
                             "hex 0x00000002\nunsigned 2\nreal 2\ntext \x02\nbytes 02-00-00-00\n"
                             "versionhex\nversiondec\n");

    sim("devices none");
    result = RunProcess("\"" + SimDir() + "modavi-query.exe\" 4 --size 8");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "failed 1\nstatus 65535\nlength 0\ndata\n"
                             "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n");
}

// modavi-query.exe for the codes the program answers itself and for bad arguments.
TEST(QueryToolTest, ExitCodesAndOutputWithoutADevice)
{
    const char* const kUnavailable = "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n";
    const struct { std::string arguments; DWORD exitCode; std::string output; } cases[] = {
        {"0x10003", 0, "failed 0\nstatus 0\nlength 6\ndata 34 2e 32 2e 34 00\nhex\nunsigned\nreal\ntext 4.2.4\n"
                       "bytes 34-2e-32-2e-34-00\nversionhex\nversiondec\n"},
        {"--size 5 65539", 0, std::string("failed 1\nstatus 4\nlength 6\ndata 00 00 00 00 00\n") + kUnavailable},
        {"0x10003 --size 65", 0, "failed 0\nstatus 0\nlength 6\ndata 34 2e 32 2e 34 00\n"},
        {"0x10006", 3, "error Command 0x10006 not valid\n"},
        {"0x10001 --size 3", 3, "error Command 0x10001 buf too small\n"},
        {"", 2, ""}, {"0x1G", 2, ""}, {"-4", 2, ""}, {"4 5", 2, ""}, {"4 --size", 2, ""}, {"4 --size 0x", 2, ""},
        {"4 --size 4294967296", 2, ""}, {"4 --bogus", 2, ""}, {"0x100000000", 2, ""},
    };
    for (const auto& c : cases) {
        testsupport::ProcessResult result = RunProcess("\"" + SimDir() + "modavi-query.exe\" " + c.arguments);
        ASSERT_TRUE(result.started) << "modavi-query.exe is missing";
        EXPECT_EQ(result.exitCode, c.exitCode) << "arguments: " << c.arguments;
        EXPECT_EQ(result.output, c.output) << "arguments: " << c.arguments;
    }
}
