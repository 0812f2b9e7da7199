// Reading a report file: line ends, encodings, block cutting, and files that are not reports.
#include "report/ReportFile.h"
#include "report/ReportLoad.h"
#include "report/ReportParser.h"
#include "report/ReportRows.h"
#include "report/ReportText.h"
#include "report/ResultRow.h"
#include "report/RunParser.h"
#include "table/ListCsv.h"
#include "tests/NonRegularFiles.h"
#include "tests/TestSupport.h"
#include "tests/reference/ReferenceReading.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct Loaded {
    bool opened = false;
    bool readOk = false;
    bool allParsed = true;
    std::vector<TestBlock> blocks;
    CListBase table;
};

class LoadingTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::unique_ptr<Loaded> Load(const std::string& path) {
        auto loaded = std::make_unique<Loaded>();
        AddResultColumns(loaded->table);
        ReportFile file;
        loaded->opened = file.Open(path);
        if (loaded->opened)
            loaded->readOk = file.ReadBlockViews([&](std::string_view block, RunCut cut) {
                loaded->blocks.push_back({std::string(block), cut});
                if (!ParseReadBlock(block, cut, loaded->table))
                    loaded->allParsed = false;
            });
        return loaded;
    }

    QTemporaryDir dir;
};

const char* const kRun = "sqlio v1.5.SG\n"
                         "2 threads reading for 60 secs from file x\n"
                         "\tusing 64KB sequential IOs\n"
                         "\tenabling multiple I/Os per thread with 4 outstanding\n"
                         "IOs/sec:  100.50\n"
                         "MBs/sec:    6.28\n"
                         "Min_Latency(ms): 1\n"
                         "Avg_Latency(ms): 5\n"
                         "Max_Latency(ms): 40\n";

std::string WithLineEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += end;
        else
            out += c;
    }
    return out;
}

TEST_F(LoadingTest, EveryLineEndGivesTheSameRowsAndNoCRInACell) {
    const std::string report = std::string("preamble line\n") + kRun + kRun + kRun;
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        auto loaded = Load(Write("report.txt", WithLineEnds(report, end)));
        ASSERT_TRUE(loaded->opened);
        ASSERT_TRUE(loaded->readOk);
        EXPECT_TRUE(loaded->allParsed);
        ASSERT_EQ(loaded->table.GetItemCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(loaded->table.CellRef(row, kColNumber), std::to_string(row));
            EXPECT_EQ(loaded->table.CellRef(row, kColMaxLatency), "40");
            for (int column = 0; column < kResultColumnCount; ++column)
                EXPECT_EQ(loaded->table.CellRef(row, column).find('\r'), std::string::npos);
        }
        EXPECT_EQ(loaded->table.CellRef(0, kColIOsPerSec), "100.50");
    }
}

TEST_F(LoadingTest, BlocksStartOnlyAtLinesThatBeginWithSqlioV) {
    const std::string report = std::string("intro sqlio v1 not a start\r\n") + WithLineEnds(kRun, "\r\n") +
                               "   sqlio v1.5 indented stays in the block\r\n" + WithLineEnds(kRun, "\r\n");
    auto loaded = Load(Write("r.txt", report));
    ASSERT_EQ(loaded->blocks.size(), 2u);
    const std::string& first = loaded->blocks[0].text;
    EXPECT_EQ(first.rfind("sqlio v1.5.SG\r\n", 0), 0u);
    EXPECT_NE(first.find("   sqlio v1.5 indented stays in the block\r\n"), std::string::npos);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
}

TEST_F(LoadingTest, FailingRunGivesAnErrorRowBetweenGoodRows) {
    std::string broken = kRun;
    broken.replace(broken.find("MBs/sec:"), 8, "MBs/sex:");
    auto loaded = Load(Write("r.txt", WithLineEnds(std::string(kRun) + broken + kRun, "\r\n")));
    EXPECT_FALSE(loaded->allParsed);
    ASSERT_EQ(loaded->table.GetItemCount(), 3);
    EXPECT_EQ(loaded->table.CellRef(1, kColNumber), "1");
    EXPECT_EQ(loaded->table.CellRef(1, kColDiagDetails)
                  .rfind("Token [MBs/sec:] not found in test: sqlio v1.5.SG\r\n", 0),
              0u);
    EXPECT_EQ(loaded->table.CellRef(2, kColNumber), "2");
}

TEST_F(LoadingTest, Utf16ReportsDecodeLikeTheirUtf8Twin) {
    const std::string text = WithLineEnds(std::string(kRun) + kRun, "\r\n");
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char c : text) {
        le += c;
        le += '\0';
        be += '\0';
        be += c;
    }
    for (const std::string& bytes : {le, be, "\xEF\xBB\xBF" + text}) {
        auto loaded = Load(Write("u.txt", bytes));
        ASSERT_TRUE(loaded->allParsed);
        ASSERT_EQ(loaded->table.GetItemCount(), 2);
        EXPECT_EQ(loaded->table.CellRef(1, kColSize), "64KB");
        EXPECT_EQ(loaded->table.CellRef(1, kColMBsPerSec), "6.28");
    }
    auto example = Load(ExamplePath("powershell_utf16le.txt").toStdString());
    EXPECT_TRUE(example->allParsed);
    EXPECT_EQ(example->table.GetItemCount(), 4);
}

TEST_F(LoadingTest, DecoderHandlesSplitUnitsSurrogatesAndOddEndings) {
    // "é" and "😀" in UTF-16LE, fed one byte at a time, then a dangling odd byte.
    const std::string bytes = std::string("\xFF\xFE\xE9\x00", 4) + std::string("\x3D\xD8\x00\xDE", 4) + "A";
    ReportTextDecoder decoder;
    std::string out;
    for (char c : bytes)
        decoder.Feed(std::string_view(&c, 1), out);
    decoder.Finish(out);
    EXPECT_EQ(out, "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");

    std::string lone;
    ReportTextDecoder second;
    second.Feed(std::string("\xFE\xFF\xD8\x3D\x00\x41", 6), lone); // high surrogate, then 'A'
    second.Finish(lone);
    EXPECT_EQ(lone, "\xEF\xBF\xBD"
                    "A");
}

TEST_F(LoadingTest, EveryExampleAndFixtureReadsAsThePlainReferenceReadsIt) {
    // The file reader's buffers, the block reader's stretches and ParseTest's vector scans against the
    // line-by-line, byte-by-byte reading of the same bytes: the same blocks, cells and results.
    QStringList paths;
    for (const QString& folder :
         {QStringLiteral(TRELVANE_SOURCE_DIR "/examples"), QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data"),
          QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data/diskspd")})
        for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files))
            paths << file.filePath();
    ASSERT_GE(paths.size(), 10);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        auto loaded = Load(path.toStdString());
        std::vector<TestBlock> blocks;
        ASSERT_TRUE(ReadBlocksLineByLine(path.toStdString(), blocks));
        EXPECT_EQ(loaded->blocks, blocks);
        CListBase reference;
        AddResultColumns(reference);
        bool allParsed = true;
        for (const TestBlock& block : blocks)
            allParsed = ReferenceParseBlock(block, reference) && allParsed;
        EXPECT_EQ(ListCsvText(loaded->table), ListCsvText(reference));
        EXPECT_EQ(loaded->allParsed, allParsed);
    }
}

TEST_F(LoadingTest, FilesThatAreNotReportsGiveNoRowsAndNoFailure) {
    for (const std::string& bytes : {std::string(), std::string("just some text\r\nno runs\r\n"),
                                     std::string("\x00\x01\x02\xFF\xFE binary\x00", 13)}) {
        auto loaded = Load(Write("n.txt", bytes));
        EXPECT_TRUE(loaded->opened);
        EXPECT_TRUE(loaded->readOk);
        EXPECT_TRUE(loaded->allParsed);
        EXPECT_EQ(loaded->table.GetItemCount(), 0);
    }
}

TEST_F(LoadingTest, MissingFilesAndFoldersDoNotOpen) {
    ReportFile file;
    EXPECT_FALSE(file.Open(dir.filePath("missing.txt").toStdString()));
    if (kWindowsBuild) {
        EXPECT_EQ(file.Error(), 2); // ERROR_FILE_NOT_FOUND
    } else {
        EXPECT_EQ(file.ErrorText(), std::generic_category().message(ENOENT));
    }
    EXPECT_FALSE(file.Open(dir.path().toStdString()));
    if (!kWindowsBuild) {
        EXPECT_EQ(file.Error(), EISDIR);
    }
}

TEST_F(LoadingTest, FifosSocketsAndDevicesAreRefusedAtOnce) {
    // A FIFO without a writer blocks a plain open() for ever and /dev/zero never ends; a hang here
    // becomes a failure instead of a stuck test run.
    // Windows has neither FIFOs nor Unix sockets in its file system; its null device is checked there.
    FailIfStillWaitingAfter(20);
    std::vector<std::string> paths;
    std::string why;
    const std::string fifo = dir.filePath(QStringLiteral("f.txt")).toStdString();
    if (MakeFifo(QString::fromStdString(fifo), why))
        paths.push_back(fifo);
    else
        ASSERT_TRUE(kWindowsBuild) << why;
    const std::string socketPath = dir.filePath(QStringLiteral("s.txt")).toStdString();
    BoundSocket socket;
    if (socket.Bind(socketPath, why))
        paths.push_back(socketPath);
    else
        ASSERT_TRUE(kWindowsBuild) << why;
    for (const QString& device : DevicePaths())
        paths.push_back(device.toStdString());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        ReportFile file;
        EXPECT_FALSE(file.Open(path));
        EXPECT_EQ(file.Error(), ReportFile::kNotRegularFile);
        EXPECT_EQ(file.ErrorText(), "not a regular file");
    }
    FailIfStillWaitingAfter(0);
}

TEST_F(LoadingTest, TinyBrokenRunsStopAtTheMemoryBudgetWithoutGapsAndRealRunsNeverDo) {
    // Each "sqlio v" line is a run of its own whose error row costs fifty times its bytes.
    std::string junk;
    for (int i = 0; i < 1000; ++i)
        junk += "sqlio v\n";
    const std::string path = Write("junk.txt", junk);
    ReportFile file;
    ASSERT_TRUE(file.Open(path));
    CListBase table;
    AddResultColumns(table);
    EXPECT_EQ(ReadReportRows(file, path, table, RowMemoryBudget{4, 0}), ReportRowsResult::SomeFailed);
    const int rows = table.GetItemCount();
    ASSERT_GT(rows, 10);
    ASSERT_LT(rows, 200);
    for (int row = 0; row + 1 < rows; ++row) {
        EXPECT_EQ(table.CellRef(row, kColNumber), std::to_string(row));
        EXPECT_EQ(table.CellRef(row, kColDiagDetails), "Token [ threads ] not found in test: sqlio v\r\n");
    }
    EXPECT_EQ(table.CellRef(rows - 1, kColDiagDetails),
              "Error while reading " + path + ": " + std::to_string(1000 - (rows - 1)) +
                  " more runs were left out, as their rows would take more than 0 MB of memory: too much "
                  "for a file of this size");

    // Real runs, even failing ones, take less memory than their text: no run is ever left out.
    std::string broken = kRun;
    broken.replace(broken.find("MBs/sec:"), 8, "MBs/sex:");
    std::string real;
    for (int i = 0; i < 200; ++i)
        real += i % 2 == 0 ? std::string(kRun) : broken;
    const std::string realPath = Write("real.txt", real);
    ASSERT_TRUE(file.Open(realPath));
    CListBase realTable;
    AddResultColumns(realTable);
    EXPECT_EQ(ReadReportRows(file, realPath, realTable, RowMemoryBudget{4, 0}), ReportRowsResult::SomeFailed);
    EXPECT_EQ(realTable.GetItemCount(), 200);
}

TEST_F(LoadingTest, AGrowingFileIsReadAsItStoodWhenOpened) {
    if (kWindowsBuild)
        GTEST_SKIP() << "grows its file with a POSIX shell";
    // Such a file once kept the load reading for as long as anyone waited.
    FailIfStillWaitingAfter(60);
    const std::string path = Write("growing.txt", WithLineEnds(std::string(kRun) + kRun, "\r\n"));
    ReportFile file;
    ASSERT_TRUE(file.Open(path));
    // A writer that adds a gigabyte (of holes, so nothing is written) every 20 ms.
    QProcess writer;
    writer.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("while :; do truncate -s +1G \"$0\"; sleep 0.02; done"),
                  QString::fromStdString(path)});
    ASSERT_TRUE(writer.waitForStarted());
    while (std::filesystem::file_size(path) == file.Size())
        QThread::msleep(5);
    CListBase table;
    AddResultColumns(table);
    EXPECT_EQ(ReadReportRows(file, path, table), ReportRowsResult::AllParsed);
    writer.kill();
    writer.waitForFinished();
    EXPECT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(file.BytesRead(), file.Size());
    ReportLoadDetails details;
    AddReadDetails(file, details);
    EXPECT_EQ(details,
              ReportLoadDetails{"The file grew while it was read: only the " + std::to_string(file.Size()) +
                                " bytes it held when it was opened were loaded."});
    FailIfStillWaitingAfter(0);
}

TEST_F(LoadingTest, ARunLongerThanTheBoundKeepsItsRowOnlyWhereTheRestCannotChangeIt) {
    // Three runs of more than 16 MiB between good ones: one whose values come before the bound keeps its
    // row; one whose values lie past it, and one with a line of more than 16 MiB, are error rows that say
    // why, without quoting 16 MiB of text. The runs after them read as usual.
    const std::string run = WithLineEnds(kRun, "\r\n");
    const std::string line = std::string(98, 'x').append("\r\n");
    std::string lines;
    while (lines.size() <= (16u << 20))
        lines += line;
    const std::string valuesFirst = run + lines;
    const std::string valuesPast = "sqlio v1.5.SG\r\n" + lines + run.substr(run.find('\n') + 1);
    const std::string longLine = run + std::string((16u << 20) + 1, 'y') + "\r\n";
    const std::string path = Write("long.txt", run + valuesFirst + valuesPast + longLine + run);
    ReportFile file;
    ASSERT_TRUE(file.Open(path));
    CListBase table;
    AddResultColumns(table);
    EXPECT_EQ(ReadReportRows(file, path, table), ReportRowsResult::SomeFailed);
    ASSERT_EQ(table.GetItemCount(), 5);
    for (const int row : {0, 1, 4}) {
        EXPECT_EQ(table.CellRef(row, kColNumber), std::to_string(row));
        EXPECT_EQ(table.CellRef(row, kColMaxLatency), "40");
    }
    for (const int row : {2, 3}) {
        ListRow cells(kResultColumnCount);
        cells[kColNumber] = std::to_string(row);
        cells[kColDiagDetails] = "Run longer than 16 MiB; only its first 16 MiB were read";
        EXPECT_EQ(table.Row(row), cells);
    }
}

TEST_F(LoadingTest, ReadingNeverChangesTheFile) {
    const std::string path = Write("keep.txt", WithLineEnds(kRun, "\r\n"));
    const auto before = std::filesystem::last_write_time(path);
    const auto size = std::filesystem::file_size(path);
    Load(path);
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(std::filesystem::file_size(path), size);
}

} // namespace
