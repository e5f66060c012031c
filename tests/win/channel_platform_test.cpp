// The channel's Win32 seams without the simulator: the installer's profile
// file in the Windows directory and a device path that does not exist.
#include "driver/Channel.h"
#include "driver/CommandCodes.h"
#include "driver/DeviceIo.h"
#include "settings/ProgramPaths.h"
#include "settings/TextUtil.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

namespace {

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

} // namespace

TEST(ChannelPlatformTest, PackageVersionFromTheWindowsDirectory)
{
    char text[32];
    uint16_t status = 9, length = 9;
    {
        ScopedInstallerFile file("[SystemInfo]\r\nSetupSoftwareKey=english\r\nPackageVersion=3.14.15\r\n");
        EXPECT_FALSE(requestCommand(Command::kPackageVersion, status, length, text, sizeof text));
        EXPECT_EQ(status, 0);
        EXPECT_EQ(length, 7);
        EXPECT_STREQ(text, "3.14.15");

        EXPECT_FALSE(requestCommand(Command::kPackageVersion, status, length, text, 5));
        EXPECT_STREQ(text, "3.14");
        EXPECT_EQ(length, 4);
    }
    {
        ScopedInstallerFile file("[SystemInfo]\r\nSetupSoftwareKey=english\r\n");
        EXPECT_TRUE(requestCommand(Command::kPackageVersion, status, length, text, sizeof text));
        EXPECT_EQ(status, 2);
        EXPECT_EQ(length, 0);
    }
}

TEST(ChannelPlatformTest, MissingDeviceDoesNotOpen)
{
    IDeviceIo& io = PlatformDeviceIo();
    EXPECT_EQ(io.open("\\\\.\\ModaviNoSuchDevice"), kNoDeviceHandle);
}
