// DiskSpd XML and fio JSON reports: real and hand-made files through the real reading path, the same
// run as XML and as text, documents cut short or broken, the kind told by the content, and the window
// and trelvane-csv reading them alike.
#include "report/DiskSpdXmlReader.h"
#include "report/FioJsonReader.h"
#include "report/ReportFile.h"
#include "report/ReportRows.h"
#include "report/ResultRow.h"
#include "table/ListCsv.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using Row = std::vector<std::string>;

struct Loaded {
    ReportRowsResult result = ReportRowsResult::AllParsed;
    std::vector<std::string> details;
    CListBase table;
};

std::unique_ptr<Loaded> LoadFile(const std::string& path, const RowMemoryBudget& budget = {}) {
    auto loaded = std::make_unique<Loaded>();
    AddResultColumns(loaded->table);
    ReportFile file;
    EXPECT_TRUE(file.Open(path)) << path;
    loaded->result = ReadReportRows(file, path, loaded->table, budget, &loaded->details);
    return loaded;
}

std::string DataPath(const std::string& name) {
    return TestDataPath("").toStdString() + name;
}

class Files {
public:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    QTemporaryDir m_dir;
};

TEST(XmlJsonReportsTest, RealAndHandMadeReportsGiveTheRowsOfTheMapping) {
    const struct {
        const char* file;
        std::vector<Row> rows;
        bool allParsed;
        std::vector<std::string> details;
    } cases[] = {
        // The text output's run as XML: IOCount / TestTimeSeconds, BytesCount in MiB, the 0th and 100th
        // buckets and the average total latency.
        {"diskspd/vc-readwrite-mix-70-30.xml",
         {{"Mixed 70/30", "random", "4KB", "1", "1189.14", "4.65", "0.036", "0.840", "35.257", ""}},
         true,
         {}},
        // UTF-16LE sweep: sums over two threads' targets, a run without -L, an interrupted time span.
        {"diskspd/hand-2.2-sweep-utf16le.xml",
         {{"Read", "random", "8KB", "8", "85276.30", "666.22", "0.052", "0.371", "18.733", ""},
          {"Write", "sequential", "64KB", "2", "10184.53", "636.53", "", "", "", ""},
          {"Read", "random", "4KB", "32", "62701.77", "244.93", "", "", "", ""},
          {"", "", "", "", "", "", "", "", "",
           "DiskSpd XML <Results> 3, <TimeSpan> 2: The test was interrupted before the measurements began. "
           "No results are displayed."}},
         false,
         {}},
        // rw=rw: fio's 50/50; lat_ns weighted by total_ios (369080 reads at 7.891 ms, 1894836 writes at
        // 0.902 ms); bw_bytes in MiB.
        {"fio/benson-3.33-signal-rw.json",
         {{"Mixed 50/50", "sequential", "4KB", "16", "47000.10", "183.59", "0.016", "2.042", "329.411", ""}},
         true,
         {}},
        // No bw_bytes: bw 26456 KiB/s is 25.84 MiB/s.
        {"fio/fioplot-3.1-randread-no-bw-bytes.json",
         {{"Read", "random", "4KB", "1", "6614.07", "25.84", "0.054", "0.148", "13.067", ""}},
         true,
         {}},
        // fio 2.x: "lat" in usec; a job without options takes its direction from iops x runtime.
        {"fio/hand-2.2.10-lat-usec.json",
         {{"Write", "sequential", "1024KB", "8", "39338.07", "153.66", "0.015", "0.902", "322.072", ""},
          {"Mixed 16/84", "", "4KB", "1", "47000.10", "183.59", "0.015", "2.042", "329.411", ""}},
         true,
         {}},
        // Per host, not the "All clients" sum.
        {"fio/hand-3.33-client-server.json",
         {{"Mixed 50/50", "sequential", "4KB", "16", "47000.10", "183.59", "0.016", "2.042", "329.411", ""},
          {"Mixed 50/50", "sequential", "4KB", "16", "23500.05", "91.80", "0.016", "2.042", "329.411", ""}},
         true,
         {}},
        // The last of two complete documents.
        {"fio/hand-3.33-status-interval.log",
         {{"Mixed 50/50", "sequential", "4KB", "16", "47000.10", "183.59", "0.016", "2.042", "329.411", ""}},
         true,
         {}},
        // json+ bins, repeated "filename" with backslashes, split sizes, a trim-only job, an error.
        {"fio/hand-3.35-jsonplus-windows-traps.json",
         {{"Mixed 70/30", "random", "4KB,64KB", "32", "47000.10", "183.59", "0.016", "2.042", "329.411", ""},
          {"", "", "", "", "", "", "", "", "", "fio job [log-writer] (job 3) ended with fio error 5"}},
         false,
         {"1 fio job that only trims was left out: it has no read or write to chart"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto loaded = LoadFile(DataPath(c.file));
        EXPECT_EQ(loaded->result == ReportRowsResult::AllParsed, c.allParsed);
        EXPECT_EQ(loaded->details, c.details);
        ASSERT_EQ(loaded->table.GetItemCount(), static_cast<int>(c.rows.size()));
        for (int row = 0; row < loaded->table.GetItemCount(); ++row) {
            EXPECT_EQ(loaded->table.CellRef(row, kColNumber), std::to_string(row));
            EXPECT_EQ(CellsWithoutNumber(loaded->table, row), c.rows[static_cast<size_t>(row)]);
        }
    }
}

double Cell(const CListBase& table, int column) {
    return std::stod(std::string(table.CellRef(0, column)));
}

TEST(XmlJsonReportsTest, TheXmlAndTheTextOutputOfOneRunGiveTheSameRow) {
    const auto text = LoadFile(DataPath("diskspd/vc-readwrite-mix-70-30.txt"));
    const auto xml = LoadFile(DataPath("diskspd/vc-readwrite-mix-70-30.xml"));
    ASSERT_EQ(text->table.GetItemCount(), 1);
    ASSERT_EQ(xml->table.GetItemCount(), 1);
    for (const int column : {kColDirection, kColType, kColSize, kColOutstanding, kColMinLatency,
                             kColAvgLatency, kColMaxLatency, kColDiagDetails})
        EXPECT_EQ(xml->table.CellRef(0, column), text->table.CellRef(0, column)) << column;
    // The text divides by the exact test time, the XML by its <TestTimeSeconds> of two decimals
    // (30.01): the rates may differ by what that rounding allows, and by the last decimal's rounding.
    const double seconds = 30.01;
    for (const int column : {kColIOsPerSec, kColMBsPerSec}) {
        const double fromText = Cell(text->table, column), fromXml = Cell(xml->table, column);
        EXPECT_LE(std::abs(fromXml - fromText), fromText * 0.005 / seconds + 0.01) << column;
    }
}

TEST(XmlJsonReportsTest, DocumentsCutShortOrBrokenGiveErrorRowsNamingWhatIsMissing) {
    Files files;
    const std::string xml = ReadBytes(DataPath("diskspd/vc-readwrite-mix-70-30.xml"));
    const std::string json = ReadBytes(DataPath("fio/benson-3.33-signal-rw.json"));
    const auto without = [](std::string text, const std::string& part) {
        return text.replace(text.find(part), part.size(), "");
    };
    const struct {
        std::string name, bytes, message;
    } cases[] = {
        {"cut.xml", xml.substr(0, xml.size() / 2),
         "Token [</Results>] not found in DiskSpd XML <Results> 1: the document is cut off"},
        {"time.xml", without(xml, "<TestTimeSeconds>30.01</TestTimeSeconds>"),
         "Token [<TestTimeSeconds>] not found in DiskSpd XML <Results> 1, <TimeSpan> 1"},
        {"ratio.xml", without(xml, "<WriteRatio>30</WriteRatio>"),
         "Token [<WriteRatio>] not found in DiskSpd XML <Results> 1, <TimeSpan> 1"},
        {"max.xml",
         without(xml, "<TotalMilliseconds>35.257</TotalMilliseconds>\n      </Bucket>\n    </Latency>"),
         ""}, // the 100th bucket's total gone with the latency's end: not well-formed
        {"tags.xml", without(xml, "</Thread>"), ""},
        {"cut.json", json.substr(0, 3632), "fio JSON document 1 is cut off at byte 3632"},
        {"comma.json", without(json, "\"groupid\" : 0,").insert(json.find("\"groupid\""), "\"groupid\" : 0"),
         "fio JSON document 1 is not valid at byte 418: Missing a comma or '}' after an object member."},
        {"iops.json", without(json, "\"iops\" : 7662.030309,"),
         "Token [iops] not found in fio job [sequential_read] (job 1)"},
        {"jobs.json", "{\n  \"fio version\" : \"fio-3.33\"\n}\n",
         "Token [jobs] not found in fio JSON document 1"},
        // A status dump cut off after the complete result: its rows, and a row that says so.
        {"interval.json", json + json.substr(0, 900), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto loaded = LoadFile(files.Write(c.name, c.bytes));
        EXPECT_EQ(loaded->result, ReportRowsResult::SomeFailed);
        ASSERT_GE(loaded->table.GetItemCount(), 1);
        const int last = loaded->table.GetItemCount() - 1;
        const std::string_view message = loaded->table.CellRef(last, kColDiagDetails);
        if (!c.message.empty()) {
            EXPECT_EQ(message, c.message);
        } else {
            EXPECT_FALSE(message.empty());
        }
    }
    const auto interval = LoadFile(files.Write("interval2.json", json + json.substr(0, 900)));
    ASSERT_EQ(interval->table.GetItemCount(), 2);
    EXPECT_EQ(interval->table.CellRef(0, kColIOsPerSec), "47000.10");
    EXPECT_EQ(interval->table.CellRef(1, kColDiagDetails),
              "fio JSON document 2 is cut off at byte 8165; the rows above are those of the last complete "
              "document");

    // Every cut of a document ends in rows or error rows, never a crash or a hang.
    for (const std::string& whole : {xml, json}) {
        for (size_t size = 0; size < whole.size(); size += 97) {
            const auto loaded = LoadFile(files.Write("prefix", whole.substr(0, size)));
            for (int row = 0; row < loaded->table.GetItemCount(); ++row)
                EXPECT_EQ(loaded->table.CellRef(row, kColNumber), std::to_string(row));
        }
    }
}

TEST(XmlJsonReportsTest, TheKindIsToldByTheContentInEveryEncodingNeverByTheName) {
    Files files;
    const std::string xml = ReadBytes(DataPath("diskspd/vc-readwrite-mix-70-30.xml"));
    const std::string json = ReadBytes(DataPath("fio/fioplot-3.1-randread-no-bw-bytes.json"));
    std::string utf16;
    for (const char c : json) {
        utf16 += c;
        utf16 += '\0';
    }
    const auto withCrLf = [](const std::string& text) {
        std::string crlf;
        for (const char c : text)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return crlf;
    };
    const struct {
        std::string name, bytes;
        int rows;
        const char* size;
    } cases[] = {
        {"xml-named.txt", xml, 1, "4KB"},
        {"bom-crlf.log", "\xEF\xBB\xBF" + withCrLf(xml), 1, "4KB"},
        {"windows.json", withCrLf(json), 1, "4KB"},
        {"powershell.txt", "\xFF\xFE" + utf16, 1, "4KB"},
        {"noname", "Warning: direct I/O not supported here\n" + json, 1, "4KB"},
        // A SQLIO run that quotes XML and JSON stays a SQLIO run.
        {"sqlio.xml",
         "sqlio v1.5.SG\r\n<Results>\r\n{\r\n\"fio version\" : 1\r\n2 threads reading for 60 secs from x\r\n"
         "\tusing 64KB sequential IOs\r\n\tenabling multiple I/Os per thread with 4 outstanding\r\n"
         "IOs/sec:  100.50\r\nMBs/sec:    6.28\r\nMin_Latency(ms): 1\r\nAvg_Latency(ms): 5\r\n"
         "Max_Latency(ms): 40\r\n",
         1, "64KB"},
        // JSON that is not fio's is no report: an empty table, as any other file.
        {"other.json", "{\n  \"name\" : \"x\"\n}\n", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto loaded = LoadFile(files.Write(c.name, c.bytes));
        EXPECT_EQ(loaded->result, ReportRowsResult::AllParsed);
        ASSERT_EQ(loaded->table.GetItemCount(), c.rows);
        if (c.rows > 0) {
            EXPECT_EQ(loaded->table.CellRef(0, kColSize), c.size);
        }
    }
}

TEST(XmlJsonReportsTest, ADocumentLargerThanTheRowMemoryBoundIsDroppedWithAnErrorRow) {
    const std::string path = DataPath("fio/benson-3.33-signal-rw.json");
    const auto loaded = LoadFile(path, RowMemoryBudget{0, 4096});
    ASSERT_EQ(loaded->table.GetItemCount(), 1);
    EXPECT_EQ(loaded->result, ReportRowsResult::SomeFailed);
    EXPECT_EQ(loaded->table.CellRef(0, kColDiagDetails),
              "Error while reading " + path +
                  ": its fio JSON would take more than 0 MB of memory: too much for a file of this size");
}

// The XML reader takes its text in pieces as the file is read, and a piece may end anywhere: inside a
// start or an end tag, in text between documents that names the tags or a tag that begins alike, in a
// document that is broken. Whatever the pieces, the rows and the messages (with their byte offsets) are
// those of the whole text.
TEST(XmlJsonReportsTest, XmlReadInPiecesOfAnySizeGivesTheRowsOfTheWholeText) {
    const std::string xml = ReadBytes(DataPath("diskspd/vc-readwrite-mix-70-30.xml"));
    std::string broken = xml;
    broken.replace(broken.find("</Thread>"), 9, "");
    const std::string text = "diskspd -Rxml: <Results is the root, </Results> its end <ResultsSummary>\n" +
                             xml + "\n" + broken + "</Results><Results\tx='1'/>RRR</Result" + xml +
                             "<?xml version=\"1.0\"?>" + xml + xml.substr(0, xml.size() / 3);
    const auto rows = [&](size_t piece) {
        CListBase table;
        AddResultColumns(table);
        DiskSpdXmlStream stream(table);
        for (size_t at = 0; at < text.size(); at += piece)
            stream.Feed(std::string_view(text).substr(at, piece));
        stream.Finish();
        return ListCsvText(table);
    };
    const std::string whole = rows(text.size());
    EXPECT_NE(whole.find("not well-formed at byte"), std::string::npos);
    EXPECT_NE(whole.find("the document is cut off"), std::string::npos);
    for (const size_t piece : {1, 2, 3, 7, 9, 10, 11, 64, 997, 4096})
        EXPECT_EQ(rows(piece), whole) << piece;
}

TEST(XmlJsonReportsTest, FioBlockSizesAreWrittenAsTheTextReadersWriteThem) {
    const std::pair<const char*, const char*> cases[] = {{"4k", "4KB"},
                                                         {"4K", "4KB"},
                                                         {"1m", "1024KB"},
                                                         {"512", "512B"},
                                                         {"4096B", "4KB"},
                                                         {"64KiB", "64KB"},
                                                         {"4k,64k", "4KB,64KB"},
                                                         {"8k,16k,4k", "8KB,16KB"},
                                                         {"1536", "1536B"},
                                                         {"big", "big"},
                                                         {"4x", "4x"}};
    for (const auto& [option, cell] : cases)
        EXPECT_EQ(FioSizeCell(option), cell) << option;
}

using XmlJsonWindowTest = WindowFixture;

TEST_F(XmlJsonWindowTest, XmlAndJsonReportsLoadThroughFileOpenAsTrelvaneCsvReadsThem) {
    for (const char* name :
         {"diskspd/hand-2.2-sweep-utf16le.xml", "fio/hand-3.35-jsonplus-windows-traps.json"}) {
        SCOPED_TRACE(name);
        const QString path = TestDataPath(name);
        Open(path);
        EXPECT_EQ(
            m_prompts->openFilters.back(),
            QStringLiteral("Sqlio Reports (.txt) (*.txt);;Benchmark reports (*.txt *.xml *.json *.log);;"
                           "All files (*)"));
        const auto loaded = LoadFile(path.toStdString());
        ASSERT_EQ(m_dialog->m_listData->GetItemCount(), loaded->table.GetItemCount());
        EXPECT_EQ(m_dialog->m_status->text(),
                  QStringLiteral("Error while loading report.  For details please see Raw Data list."));

        QProcess tool;
        tool.start(QStringLiteral(TRELVANE_CSV_TOOL), {path});
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 1);
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(), ListCsvText(*m_dialog->m_listData));
        // Standard error is text: Windows ends its lines in CR LF.
        const QString status = QString::fromUtf8(tool.readAllStandardError()).remove(QLatin1Char('\r'));
        if (path.endsWith(QStringLiteral(".json"))) {
            const QString detail =
                QStringLiteral("1 fio job that only trims was left out: it has no read or write to chart");
            EXPECT_EQ(m_dialog->m_status->toolTip(), detail);
            EXPECT_TRUE(status.endsWith(detail + QStringLiteral("\n"))) << status.toStdString();
        } else {
            EXPECT_EQ(m_dialog->m_status->toolTip(), QString());
        }
    }
}

} // namespace
