// The end-of-run report: the error window's text and the block appended to
// the log file.
#include "app/engine/RunReport.h"
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"

namespace velloran::test {
namespace {

using quorvantell::DateTime;

class RunReportTest : public EngineFixture {};

TEST_F(RunReportTest, BlockWithAndWithoutErrors)
{
    const DateTime start{2026, 12, 7, 10, 30, 0}, end{2026, 12, 7, 10, 31, 5};
    EXPECT_EQ(RunReport::LogBlock("Script /s.velloran", start, end, ""),
              "***********Start Sync Script /s.velloran at " + start.ToString() + "***********\r\n\r\n"
              "No errors encountered\r\n\r\n***********End Sync at " + end.ToString() + "***********\r\n\r\n");
    EXPECT_EQ(RunReport::LogBlock("a +> b", start, end, "Error writing file /b/x\r\n"),
              "***********Start Sync a +> b at " + start.ToString() + "***********\r\n\r\n"
              "Error writing file /b/x\r\n\r\n***********End Sync at " + end.ToString() + "***********\r\n\r\n");
    // A name in the description cannot end the start line.
    EXPECT_EQ(RunReport::LogBlock("Script /a\nb\x1B", start, end, "").rfind("***********Start Sync Script /a\\x0Ab\\x1B at ", 0),
              0u);
}

TEST_F(RunReportTest, AppendsToTheLogFileWithPlatformLineEnds)
{
    sync.OLogFile = m_temp / "run.log";
    RunReport(sync).Show("first", DateTime{2026, 1, 2, 3, 4, 5});
    EXPECT_TRUE(host.errorLogs.empty());  // no errors, no error window
    sync.errLog = "Warning: The file \"x\" has the same file change date on each side but different sizes!\r\n";
    RunReport(sync).Show("second", DateTime{2026, 1, 2, 3, 4, 6});
    EXPECT_EQ(host.errorLogs, std::vector<std::string>{sync.errLog});

    const std::string log = ReadFile(sync.OLogFile);
    EXPECT_EQ(log.find('\r'), std::string::npos);
    EXPECT_EQ(log.rfind("***********Start Sync first at ", 0), 0u);
    EXPECT_NE(log.find("\n\nNo errors encountered\n\n***********End Sync at "), std::string::npos);
    EXPECT_NE(log.find("***********Start Sync second at "), std::string::npos);
    EXPECT_NE(log.find("\n\nWarning: The file \"x\" has the same"), std::string::npos);
    EXPECT_TRUE(log.ends_with("***********\n\n"));
}

TEST_F(RunReportTest, UnwritableLogFileIsReported)
{
    sync.OLogFile = m_temp / "no/such/folder/run.log";
    RunReport(sync).Show("x", DateTime{});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Error writing to log file.  Check that the filename is correct and the disk is not write protected.");
    EXPECT_EQ(host.messages[0].caption, "Error saving log");
    EXPECT_EQ(host.messages[0].icon, quorvantell::MB_ICONERROR);
}

TEST_F(RunReportTest, NoLogFileWritesNothing)
{
    sync.errLog = "Error deleting file /x\r\n";
    RunReport(sync).Show("x", DateTime{});
    EXPECT_EQ(host.errorLogs.size(), 1u);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace velloran::test
