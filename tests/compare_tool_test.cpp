// trelvane-csv --compare, run as a script runs it: the comparison table of reports of different kinds,
// repeated runs and error rows, names that need their folder, and every way it refuses.
#include "tests/CsvToolRun.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> Lines(const std::string& text, const char* end) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(end, start)) != std::string::npos; start = at + std::strlen(end))
        lines.push_back(text.substr(start, at - start));
    return lines;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(CompareToolTest, ASqlioBaselineAgainstADiskSpdReportGivesOneLinePerTestWithMeansAndChanges) {
    const ToolRun run = RunTool({QStringLiteral("--compare"), ExamplePath("multi_run_crlf.txt"),
                                 ExamplePath("diskspd_sweep_crlf.txt")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out, "\r\n");
    ASSERT_EQ(lines.size(), 25u); // the header, 20 SQLIO tests and 4 that only the DiskSpd report holds
    const std::string a = "[multi_run_crlf.txt]";
    const std::string b = "[diskspd_sweep_crlf.txt]";
    std::string header = "Direction,Type,Size,Outstanding IOs,Runs " + a + ",Runs " + b;
    for (const char* measure : {"IO/Sec", "MB/Sec", "IO/Sec per Avg_Latency", "Min_Latency", "Avg_Latency",
                                "Max_Latency", "p99_Latency", "p99.9_Latency"})
        header +=
            std::string(",") + measure + " " + a + "," + measure + " " + b + "," + measure + " change % " + b;
    EXPECT_EQ(lines[0], header);
    // Figures read from the two files by hand: 937.20 IO/sec at 17 ms against 61165.02 at 0.515 ms. The
    // baseline's Min_Latency of 0 has no change. SQLIO gives no percentiles; DiskSpd's 99th and 3-nines
    // of the 70/30 mix are 2.625 and 6.394 ms (Total).
    EXPECT_EQ(lines[1],
              "Mixed 70/30,random,8KB,8,0,1,,47349.93,,,369.92,,,70461.21,,,0.12,,,0.67,,,22.21,,,2.62,,,6."
              "39,");
    EXPECT_EQ(lines[5], "Read,random,8KB,8,1,1,937.20,61165.02,+6426.4,7.32,477.85,+6428.0,55.13,118767.03,"
                        "+215333.2,0.00,0.09,,17.00,0.52,-97.0,144.00,17.03,-88.2,,2.01,,,4.90,");
    EXPECT_EQ(lines[13],
              "Read,sequential,512KB,2,0,1,,3989.25,,,1994.62,,,1998.62,,,0.36,,,2.00,,,65.77,,,7.77,,,18."
              "93,");
    EXPECT_EQ(run.err, "multi_run_crlf.txt: Report successfully loaded\n"
                       "diskspd_sweep_crlf.txt: Report successfully loaded\n"
                       "diskspd_sweep_crlf.txt: 6 tests matched, IO/sec x21.356, MB/sec x21.363 (geometric "
                       "means), Avg_Latency -95.9 % (median)\n");
}

TEST(CompareToolTest, RepeatedRunsAverageErrorRowsMatchNothingAndEqualNamesTakeTheirFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("before")));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("after")));
    // The sweep run twice over, the second time 10 % faster in its first run; then one_run_fails, whose
    // error row counts only towards the exit status.
    QByteArray sweep = ReadAll(ExamplePath("multi_run_crlf.txt"));
    QByteArray faster = sweep;
    faster.replace("IOs/sec:   173.66", "IOs/sec:   191.04");
    ASSERT_NE(faster, sweep);
    const QString before = QDir::toNativeSeparators(folder.filePath(QStringLiteral("before/run.txt")));
    const QString after = QDir::toNativeSeparators(folder.filePath(QStringLiteral("after/run.txt")));
    ASSERT_TRUE(WriteAll(before, sweep));
    ASSERT_TRUE(WriteAll(after, sweep + faster));

    const ToolRun run =
        RunTool({QStringLiteral("--compare"), before, after, ExamplePath("one_run_fails.txt")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const std::vector<std::string> lines = Lines(run.out, "\r\n");
    ASSERT_EQ(lines.size(), 21u); // one_run_fails holds no test the sweep lacks
    const std::string sep = QDir::separator() == QLatin1Char('/') ? "/" : "\\";
    const std::string titles = "Direction,Type,Size,Outstanding IOs,Runs [before" + sep +
                               "run.txt],Runs [after" + sep + "run.txt],Runs [one_run_fails.txt],IO/Sec [";
    EXPECT_EQ(lines[0].substr(0, titles.size()), titles);
    // (173.66 + 191.04) / 2 = 182.35, 5 % up; its two runs against one. The error row of one_run_fails
    // was a random write at 8: that test has no run of it.
    EXPECT_EQ(lines[1].substr(0, 50), "Read,random,8KB,1,1,2,0,173.66,182.35,+5.0,,,1.36,");
    EXPECT_EQ(lines[14].substr(0, 43), "Write,random,8KB,8,1,2,0,893.72,893.72,+0.0");
    EXPECT_NE(run.err.find("one_run_fails.txt: Error while loading report."), std::string::npos);
}

TEST(CompareToolTest, AReportThatCannotBeOpenedOrAWrongArgumentWritesNothingAndExitsWithTwo) {
    const QString missing =
        QDir::toNativeSeparators(QDir::temp().filePath(QStringLiteral("no-such-report.txt")));
    ToolRun run = RunTool({QStringLiteral("--compare"), ExamplePath("multi_run_crlf.txt"), missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Cannot open file for read access: " + missing.toStdString() + ": ", 0), 0u)
        << run.err;

    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--compare")},
          QStringList{QStringLiteral("--compare"), QStringLiteral("--partitions"),
                      ExamplePath("multi_run_crlf.txt")}}) {
        run = RunTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: trelvane-csv"), std::string::npos);
    }
    run = RunTool({QStringLiteral("--help")});
    EXPECT_NE(run.out.find("trelvane-csv --compare BASELINE REPORT..."), std::string::npos);
}

} // namespace
