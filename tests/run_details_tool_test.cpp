// trelvane-csv's tables of the runs' details, run as a script runs them: their lines, and the exit
// status of the load.
#include "tests/CsvToolRun.h"

#include <gtest/gtest.h>

namespace {

TEST(RunDetailsToolTest, TheTablesCarryTheReportsValuesAndTheExitStatusIsTheLoads) {
    const QString writeOnly =
        QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data/diskspd/vc-writeonly-2.2.0.txt");
    const ToolRun percentiles = RunTool({QStringLiteral("--percentiles"), writeOnly});
    EXPECT_EQ(percentiles.exitCode, 0);
    EXPECT_NE(percentiles.out.find("\r\n0,Write,99.99,,62.504,62.504\r\n"), std::string::npos);
    EXPECT_EQ(percentiles.err, "Report successfully loaded\n");
    // The run whose row failed still has its histogram; the status says the load had an error row.
    const ToolRun histogram =
        RunTool({QStringLiteral("--histogram"),
                 QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data/sqlio/es-random-write-4KB-q0.txt")});
    EXPECT_EQ(histogram.exitCode, 1);
    EXPECT_NE(histogram.out.find("\r\n0,,1,50\r\n"), std::string::npos) << "the error row has no Direction";
    EXPECT_EQ(RunTool({QStringLiteral("--details"), QStringLiteral("--percentiles"), writeOnly}).exitCode, 2);
    EXPECT_EQ(RunTool({QStringLiteral("--details"), QStringLiteral("--partitions")}).exitCode, 2);
    EXPECT_EQ(RunTool({QStringLiteral("--details"), QStringLiteral("/no/such/report.txt")}).exitCode, 2);
    const ToolRun help = RunTool({QStringLiteral("--help")});
    EXPECT_NE(help.out.find("#,Direction,Percentile,Read_ms,Write_ms,Total_ms"), std::string::npos);
}

} // namespace
