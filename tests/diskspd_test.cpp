// DiskSpd reports: real and hand-made outputs of every shape through the real reading path, the error
// rows of runs cut short, and reports that mix SQLIO and DiskSpd runs.
#include "report/DiskSpdParser.h"
#include "report/ReportBlocks.h"
#include "report/ReportFile.h"
#include "report/ReportRows.h"
#include "report/ReportText.h"
#include "report/ResultRow.h"
#include "report/RunParser.h"
#include "table/ListCsv.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tests/reference/ReferenceReading.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using Row = std::vector<std::string>;

struct Loaded {
    bool allParsed = false;
    CListBase table;
};

std::unique_ptr<Loaded> LoadFile(const std::string& path) {
    auto loaded = std::make_unique<Loaded>();
    AddResultColumns(loaded->table);
    ReportFile file;
    EXPECT_TRUE(file.Open(path)) << path;
    loaded->allParsed = ReadReportRows(file, path, loaded->table) == ReportRowsResult::AllParsed;
    return loaded;
}

std::string DataPath(const std::string& name) {
    return TestDataPath("diskspd/").toStdString() + name;
}

TEST(DiskSpdTest, EveryShapeOfRealAndHandMadeOutputGivesItsRows) {
    const struct {
        const char* file;
        std::vector<Row> rows;
    } cases[] = {
        // 2.0.21: no command line, MiB/s, -D and -L, a mix ratio.
        {"vc-readwrite-mix-70-30.txt",
         {{"Mixed 70/30", "random", "4KB", "1", "1189.03", "4.64", "0.036", "0.840", "35.257", ""}}},
        // 2.2.0: "4KiB", "per thread: 3", Socket/Node/Group/Core CPU table, N/A reads, 2242082.85
        // wider than its column.
        {"vc-writeonly-2.2.0.txt",
         {{"Write", "random", "4KB", "3", "2242082.85", "8758.14", "0.013", "0.861", "5543.894", ""}}},
        // Five targets: one percentile table per target, then the total one.
        {"vc-write8k-five-targets-excerpt.txt",
         {{"Write", "random", "8KB", "22", "330118.77", "2579.05", "0.015", "7.681", "3134.107", ""}}},
        // 2.0.x console log, CR LF: MB/s, interlocked sequential, then a run without -L.
        {"hand-2.0-console-mb-crlf.txt",
         {{"Read", "sequential", "64KB", "8", "21258.12", "1328.63", "0.128", "0.752", "48.214", ""},
          {"Write", "random", "8KB", "16", "12014.93", "93.87", "", "", "", ""}}},
        // UTF-16LE from PowerShell: two timespans with their own parameters, then "Totals:".
        {"hand-2.1-xml-two-timespans-utf16le.txt",
         {{"Read", "random", "8KB", "8", "80592.53", "629.63", "0.087", "1.541", "52.441", ""},
          {"Mixed 70/30", "sequential", "64KB", "4", "21906.80", "1369.17", "0.204", "3.279", "102.556",
           ""}}},
        // Windows-1251 text before a run without command line, LF, -D without -L.
        {"hand-2.1-cp1251-before-run-lf.txt",
         {{"Read", "sequential", "512KB", "2", "2784.27", "1392.13", "", "", "", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto loaded = LoadFile(DataPath(c.file));
        EXPECT_TRUE(loaded->allParsed);
        ASSERT_EQ(loaded->table.GetItemCount(), static_cast<int>(c.rows.size()));
        for (int row = 0; row < loaded->table.GetItemCount(); ++row) {
            EXPECT_EQ(loaded->table.CellRef(row, kColNumber), std::to_string(row));
            EXPECT_EQ(CellsWithoutNumber(loaded->table, row), c.rows[static_cast<size_t>(row)]);
        }
    }
}

// The last run of text as the reading of a report cuts it.
std::string RunBlock(const std::string& text) {
    const std::vector<TestBlock> blocks = CutLineByLine(text);
    return blocks.empty() ? std::string() : blocks.back().text;
}

// An error row's details: prefix, then the run whole, or its start (at most a kilobyte, cut at a line
// end or between two characters) and the count of the bytes left out.
void ExpectQuotesRun(const std::string& details, const std::string& prefix, const std::string& block) {
    ASSERT_EQ(details.rfind(prefix, 0), 0u) << details.substr(0, 200);
    const std::string quoted = details.substr(prefix.size());
    if (quoted == block)
        return;
    const std::string shown = quoted.substr(0, quoted.rfind("[... "));
    EXPECT_LE(shown.size(), 1024u);
    EXPECT_GT(shown.size(), 900u);
    EXPECT_EQ(block.rfind(shown, 0), 0u);
    EXPECT_EQ(QString::fromUtf8(shown).toUtf8().toStdString(), shown); // no character cut in two
    EXPECT_EQ(quoted.substr(shown.size()),
              "[... " + std::to_string(block.size() - shown.size()) + " more bytes]\r\n");
}

TEST(DiskSpdTest, RunsCutShortBecomeErrorRowsNamingWhatIsMissingAndQuotingTheRun) {
    const std::string whole = ReadBytes(DataPath("vc-writeonly-2.2.0.txt"));
    const auto cutAt = [&](const char* text) { return whole.substr(0, whole.find(text)); };
    const auto without = [&](const char* text) {
        std::string changed = whole;
        changed.replace(changed.find(text), std::strlen(text), "");
        return changed;
    };
    const struct {
        std::string text;
        const char* token;
    } cases[] = {
        {cutAt("Results for timespan"), "Results for timespan"},
        {cutAt("Total IO"), "Total IO"},
        {cutAt("---------------------------------------------------------------------------------------------"
               "---"
               "------------------\ntotal:"),
         "total:"},                           // cut among the thread rows
        {cutAt("| 2242082.85"), "I/O per s"}, // cut inside the total: line
        {cutAt("\n\n\n\ntotal:"), "%-ile"},   // latencies measured, percentiles cut off
        {cutAt("    max |"), "max"},          // percentile table cut mid-way
        {without("        block size: 4KiB\n"), "block size:"},
        {without("        performing write test\n"), "performing"},
        {without("        number of outstanding I/O operations per thread: 3\n"),
         "number of outstanding I/O operations"},
    };
    CListBase table;
    AddResultColumns(table);
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.token);
        const std::string block = RunBlock(c.text);
        EXPECT_FALSE(ParseDiskSpdRun(block, table));
        ASSERT_EQ(table.GetItemCount(), row + 1);
        Row cells = CellsWithoutNumber(table, row);
        EXPECT_EQ(cells, (Row{"", "", "", "", "", "", "", "", "", cells.back()}));
        const std::string section = c.token == std::string("Results for timespan")
                                        ? ""
                                        : "section 1 (\"Results for timespan 1\") of ";
        ExpectQuotesRun(cells.back(),
                        "Token [" + std::string(c.token) + "] not found in " + section + "test: ", block);
        ++row;
    }
    // A first line longer than the quote is cut between two characters, never inside one.
    std::string wide = "Command Line: x";
    for (int i = 0; i < 600; ++i)
        wide += "\xC3\xA9"; // é
    EXPECT_FALSE(ParseDiskSpdRun(wide + "\r\n", table));
    ExpectQuotesRun(std::string(table.CellRef(row, kColDiagDetails)),
                    "Token [Results for timespan] not found in test: ", wide + "\r\n");
}

TEST(DiskSpdTest, RequestCountStandsInForTheTargetsOutstandingCount) {
    // -F4 -O32: DiskSpd prints the requests per thread among the results, not per target.
    std::string text = ReadBytes(DataPath("vc-writeonly-2.2.0.txt"));
    const std::string perTarget = "        number of outstanding I/O operations per thread: 3\n";
    const std::string threads = "thread count:        800\n";
    text.replace(text.find(perTarget), perTarget.size(), "");
    text.insert(text.find(threads) + threads.size(), "request count:\t\t32\n");
    CListBase table;
    AddResultColumns(table);
    EXPECT_TRUE(ParseDiskSpdRun(RunBlock(text), table));
    EXPECT_EQ(table.CellRef(0, kColOutstanding), "32");
}

TEST(DiskSpdTest, OneBrokenTimespanLeavesTheOtherRow) {
    std::string text = ReadBytes(DataPath("hand-2.1-xml-two-timespans-utf16le.txt"));
    ReportTextDecoder decoder;
    std::string decoded;
    decoder.Feed(text, decoded);
    // The first timespan loses the total: line of its Total IO table.
    decoded.replace(decoded.find("total:       19806420992"), 6, "tot4l:");
    CListBase table;
    AddResultColumns(table);
    const std::string block = RunBlock(decoded);
    EXPECT_FALSE(ParseDiskSpdRun(block, table));
    ASSERT_EQ(table.GetItemCount(), 2);
    ExpectQuotesRun(std::string(table.CellRef(0, kColDiagDetails)),
                    "Token [total:] not found in section 1 (\"Results for timespan 1\") of test: ", block);
    EXPECT_EQ(table.CellRef(1, kColDirection), "Mixed 70/30");
    EXPECT_EQ(table.CellRef(1, kColDiagDetails), "");
}

TEST(DiskSpdTest, TheMemoryBudgetIsMetInsideARunOfThousandsOfBrokenSections) {
    // Each section is an error row of its own: the rows stop at the budget with none missing before,
    // and the last row counts the rest.
    std::string text = "Command Line: x\r\n\r\nInput parameters:\r\n\r\n\ttimespan:   1\r\n";
    for (int i = 0; i < 4000; ++i)
        text += "Results for timespan 1\r\n";
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("sections.txt")).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    ReportFile file;
    ASSERT_TRUE(file.Open(path));
    CListBase table;
    AddResultColumns(table);
    EXPECT_EQ(ReadReportRows(file, path, table, RowMemoryBudget{4, 0}), ReportRowsResult::SomeFailed);
    const int rows = table.GetItemCount();
    ASSERT_GT(rows, 10);
    ASSERT_LT(rows, 1000);
    ExpectQuotesRun(std::string(table.CellRef(rows - 2, kColDiagDetails)),
                    "Token [performing] not found in section " + std::to_string(rows - 1) +
                        " (\"Results for timespan 1\") of test: ",
                    text);
    EXPECT_EQ(table.CellRef(rows - 1, kColDiagDetails)
                  .rfind("Error while reading " + path + ": " + std::to_string(4000 - (rows - 1)) +
                             " more runs were left out",
                         0),
              0u);
}

TEST(DiskSpdTest, BlockSizesAreWrittenInKilobytesOrBytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"4096", "4KB"},         {"4KiB", "4KB"}, {"65536", "64KB"}, {"64KiB", "64KB"},
        {"1MiB", "1024KB"},      {"512", "512B"}, {"512B", "512B"},  {"1.50KiB", "1536B"},
        {"2.00MiB", "2048KB"},   {"8K", "8KB"},   {"big", "big"},    {"4 XiB", "4 XiB"},
        {"0.333KiB", "0.333KiB"}};
    for (const auto& [text, cell] : cases)
        EXPECT_EQ(DiskSpdSizeCell(text), cell) << text;
}

const char* const kSqlioRun = "sqlio v1.5.SG\r\n"
                              "2 threads reading for 60 secs from file x\r\n"
                              "\tusing 64KB sequential IOs\r\n"
                              "\tenabling multiple I/Os per thread with 4 outstanding\r\n"
                              "IOs/sec:  100.50\r\nMBs/sec:    6.28\r\n"
                              "Min_Latency(ms): 1\r\nAvg_Latency(ms): 5\r\nMax_Latency(ms): 40\r\n";

// The blocks the program's reader cuts text into.
std::vector<std::string> Blocks(const std::string& text) {
    std::vector<std::string> blocks;
    ReportBlockReader reader([&](std::string_view block, RunCut) { blocks.emplace_back(block); });
    reader.Feed(text);
    reader.Finish();
    return blocks;
}

// The rows of text read as the program reads it, and whether every run parsed.
bool ReadRows(const std::string& text, CListBase& table) {
    AddResultColumns(table);
    bool allParsed = true;
    for (const std::string& block : Blocks(text))
        allParsed = ParseRun(block, table) && allParsed;
    return allParsed;
}

TEST(DiskSpdTest, ADiskSpdRunStartsAtItsCommandLineOrParametersOnlyWhereDiskSpdsTextFollows) {
    const std::string text = "prompt>\n"
                             "Command Line: a\n\nInput parameters:\n\n\ttimespan:   1\n"
                             "sqlio v1.5\n"
                             "Command Line: echoed by a batch file\n"
                             "Input parameters: a note\n"
                             "Command Line: x\n\nInput parameters:\n\nx\n"
                             " Command Line: indented\n"
                             "Command Line: c\n\n\n\n\n\n\n\n\n\n" // more empty lines than are looked past
                             "Input parameters:\n\n\n    timespan:   1\n"
                             "Command Line: last, nothing follows";
    EXPECT_EQ(
        Blocks(text),
        (std::vector<std::string>{
            "Command Line: a\r\n\r\nInput parameters:\r\n\r\n\ttimespan:   1\r\n",
            "sqlio v1.5\r\nCommand Line: echoed by a batch file\r\nInput parameters: a note\r\n"
            "Command Line: x\r\n\r\nInput parameters:\r\n\r\nx\r\n"
            " Command Line: indented\r\nCommand Line: c\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n",
            "Input parameters:\r\n\r\n\r\n    timespan:   1\r\nCommand Line: last, nothing follows\r\n"}));
}

TEST(DiskSpdTest, ASqlioRunHoldingACommandLineOrParametersNoteStaysOneGoodRow) {
    std::string run = kSqlioRun;
    run.insert(run.find("2 threads"), "Command Line: sqlio -kR -s60 -frandom -o4 -b64 E:\\t.dat\r\n\r\n"
                                      "Input parameters: as planned\r\n");
    CListBase table;
    EXPECT_TRUE(ReadRows(run + kSqlioRun, table));
    ASSERT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(CellsWithoutNumber(table, 0), CellsWithoutNumber(table, 1));
    EXPECT_EQ(table.CellRef(0, kColIOsPerSec), "100.50");
}

TEST(DiskSpdTest, ADiskSpdRunCutShortAfterItsParametersIsStillAnErrorRowOfItsOwn) {
    const std::string whole = ReadBytes(DataPath("vc-writeonly-2.2.0.txt"));
    const std::string parameters = whole.substr(0, whole.find("Results for timespan"));
    CListBase table;
    EXPECT_FALSE(ReadRows(kSqlioRun + parameters + kSqlioRun, table));
    ASSERT_EQ(table.GetItemCount(), 3);
    EXPECT_EQ(table.CellRef(0, kColDirection), "Read");
    EXPECT_EQ(table.CellRef(1, kColDiagDetails)
                  .rfind("Token [Results for timespan] not found in test: Command Line:", 0),
              0u);
    EXPECT_EQ(table.CellRef(2, kColDirection), "Read");
}

TEST(DiskSpdTest, MixedReportReadsBothBenchmarksInOneSequenceThroughTheCommandLine) {
    // SQLIO, DiskSpd (two rows), SQLIO, a DiskSpd run cut short, DiskSpd: in one CR LF file.
    std::string diskspd = ReadBytes(DataPath("hand-2.0-console-mb-crlf.txt"));
    const std::string cut = ReadBytes(DataPath("vc-writeonly-2.2.0.txt")).substr(0, 600);
    const std::string report = std::string(kSqlioRun) + diskspd + kSqlioRun + cut + "\r\n" +
                               ReadBytes(DataPath("vc-readwrite-mix-70-30.txt"));
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("mixed.txt")).toStdString();
    std::ofstream(path, std::ios::binary) << report;

    const auto loaded = LoadFile(path);
    EXPECT_FALSE(loaded->allParsed);
    const CListBase& table = loaded->table;
    ASSERT_EQ(table.GetItemCount(), 6);
    const std::vector<std::string> directions = {"Read", "Read", "Write", "Read", "", "Mixed 70/30"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(table.CellRef(row, kColNumber), std::to_string(row));
        EXPECT_EQ(table.CellRef(row, kColDirection), directions[static_cast<size_t>(row)]) << row;
    }
    EXPECT_EQ(table.CellRef(3, kColIOsPerSec), "100.50");
    EXPECT_EQ(
        table.CellRef(4, kColDiagDetails)
            .rfind("Token [Results for timespan] not found in test: Command Line: C:\\VirtualClient", 0),
        0u);

    // trelvane-csv reads the same rows, exits with 1 for the error row, and writes the table's CSV.
    QProcess tool;
    tool.start(QStringLiteral(TRELVANE_CSV_TOOL), {QString::fromStdString(path)});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    const std::string csv = tool.readAllStandardOutput().toStdString();
    EXPECT_EQ(csv, ListCsvText(table));
    EXPECT_NE(csv.find("\r\n1,Read,sequential,64KB,8,21258.12,1328.63,0.128,0.752,48.214,\r\n"),
              std::string::npos);
}

using DiskSpdWindowTest = WindowFixture;

TEST_F(DiskSpdWindowTest, TheWindowShowsTheExampleAsTrelvaneCsvWritesItAndFiltersByItsCells) {
    Open(ExamplePath("diskspd_sweep_crlf.txt"));
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    ASSERT_EQ(m_dialog->m_listData->GetItemCount(), 10);
    QStringList directions;
    for (int i = 0; i < m_dialog->m_comboDirection->GetCount(); ++i)
        directions << m_dialog->m_comboDirection->GetLBText(i);
    EXPECT_EQ(directions, (QStringList{"<All>", "Mixed 70/30", "Read", "Write"}));

    QProcess tool;
    tool.start(QStringLiteral(TRELVANE_CSV_TOOL), {ExamplePath("diskspd_sweep_crlf.txt")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_EQ(tool.readAllStandardOutput().toStdString(), ListCsvText(*m_dialog->m_listData));
}

} // namespace
