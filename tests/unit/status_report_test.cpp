// The query tool's report of one answer.
#include "status/AnswerReport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(AnswerReportTest, GoodDwordAnswer)
{
    std::vector<uint8_t> buffer = {0x40, 0x1F, 0, 0};
    EXPECT_EQ(ReportAnswer(0x0103, false, 0, 4, buffer.data(), 4),
              "failed 0\nstatus 0\nlength 4\ndata 40 1f 00 00\n"
              "hex 0x00001f40\nunsigned 8000\nreal 8000\ntext @\x1f\nbytes 40-1f-00-00\nversionhex\nversiondec\n");
}

TEST(AnswerReportTest, FailedRequestShowsFieldsAsUnavailable)
{
    std::vector<uint8_t> buffer(64, 0);
    EXPECT_EQ(ReportAnswer(0x0004, true, 0xFFFF, 0, buffer.data(), 64),
              "failed 1\nstatus 65535\nlength 0\ndata\nhex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n");
}

TEST(AnswerReportTest, DataLineShowsAtMostTheBufferAndFormsOnlyUpTo64Bytes)
{
    std::vector<uint8_t> buffer = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(ReportAnswer(0x0001, false, 5, 10, buffer.data(), 3),
              "failed 0\nstatus 5\nlength 10\ndata 01 02 03\n"
              "hex\nunsigned\nreal\ntext\nbytes\nversionhex\nversiondec\n");
    EXPECT_EQ(ReportAnswer(0x0001, false, 0, 2, buffer.data(), 8).substr(0, 49),
              "failed 0\nstatus 0\nlength 2\ndata 01 02\nhex 0x0201\n");

    std::vector<uint8_t> large(65, 0xAB);
    EXPECT_EQ(ReportAnswer(0x0001, false, 0, 1, large.data(), 65), "failed 0\nstatus 0\nlength 1\ndata ab\n");
}

TEST(AnswerReportTest, VersionLines)
{
    std::vector<uint8_t> buffer = {1, 2, 3, 4, 5, 6, 7, 0};
    std::string report = ReportAnswer(0x0001, false, 0, 7, buffer.data(), 8);
    EXPECT_NE(report.find("\nversionhex 1.23.4567\nversiondec 1.02.0006\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\nhex\nunsigned\nreal\n"), std::string::npos) << report;
}
