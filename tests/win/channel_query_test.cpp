// modavi-query.exe's command line, exit codes and output for the codes the
// program answers itself (no modem needed).
#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::RunProcess;

namespace {

testsupport::ProcessResult Query(const std::string& arguments)
{
    return RunProcess("\"" + testsupport::ThisProgramDir() + "..\\..\\sim\\modavi-query.exe\" " + arguments);
}

} // namespace

TEST(QueryToolTest, BadArgumentsExitWithTwo)
{
    for (const char* arguments : {"", "0x1G", "-4", "4 5", "4 --size", "4 --size 0x", "4 --size 4294967296",
                                  "4 --bogus", "0x100000000"}) {
        testsupport::ProcessResult result = Query(arguments);
        ASSERT_TRUE(result.started) << "modavi-query.exe is missing";
        EXPECT_EQ(result.exitCode, 2u) << "arguments: " << arguments;
        EXPECT_EQ(result.output, "") << "arguments: " << arguments;
    }
}

TEST(QueryToolTest, ProgramVersionIsAnsweredWithoutDevice)
{
    testsupport::ProcessResult result = Query("0x10003");
    ASSERT_TRUE(result.started) << "modavi-query.exe is missing";
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "failed 0\nstatus 0\nlength 6\ndata 34 2e 32 2e 34 00\n"
                             "hex\nunsigned\nreal\ntext 4.2.4\nbytes 34-2e-32-2e-34-00\nversionhex\nversiondec\n");

    result = Query("--size 5 65539");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "failed 1\nstatus 4\nlength 6\ndata 00 00 00 00 00\n"
                             "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n");

    result = Query("0x10003 --size 65");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, "failed 0\nstatus 0\nlength 6\ndata 34 2e 32 2e 34 00\n");
}

TEST(QueryToolTest, ErrorsOfVirtualCommandsExitWithThree)
{
    testsupport::ProcessResult result = Query("0x10006");
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_EQ(result.output, "error Command 0x10006 not valid\n");

    result = Query("0x10001 --size 3");
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_EQ(result.output, "error Command 0x10001 buf too small\n");
}
