// Export from the window (folder prompt answered by the test, real files on disk), its failure paths on
// real read-only and full mounts, and the command-line companion against the window's bytes.
#include "app/TrelvaneDlg.h"
#include "disks/PartitionRow.h"
#include "disks/SystemWmiSource.h"
#include "report/ResultRow.h"
#include "table/ListCsv.h"
#include "tests/CsvToolRun.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString kData = QStringLiteral("Sqlio_Data.csv");
const QString kPartitions = QStringLiteral("Sqlio_Partitions.csv");
const char* const kHostileReport = "export_hostile_cells.txt";

std::string ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + path.toStdString() + ">";
    return file.readAll().toStdString();
}

void WriteAll(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The records of a CSV text whose fields hold no line breaks, each split at its commas.
std::vector<QStringList> SimpleRecords(const std::string& csv) {
    std::vector<QStringList> records;
    for (const QString& line : QString::fromStdString(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        records.push_back(line.split(QLatin1Char(',')));
    return records;
}

// A mount made for one test and taken away after it.
class ScopedMount {
public:
    ScopedMount() = default;
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    ~ScopedMount() {
        if (!m_target.empty())
            ::umount2(m_target.c_str(), MNT_DETACH);
    }
    // source bound read-only at target; false with the system's reason when the system refuses.
    bool ReadOnlyBind(const QString& source, const QString& target, std::string& reason) {
        const std::string from = QFile::encodeName(source).toStdString();
        const std::string to = QFile::encodeName(target).toStdString();
        if (::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return Refused(reason);
        m_target = to;
        if (::mount("none", to.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return Refused(reason);
        return true;
    }
    bool Tmpfs(const QString& target, const char* options, std::string& reason) {
        const std::string to = QFile::encodeName(target).toStdString();
        if (::mount("tmpfs", to.c_str(), "tmpfs", 0, options) != 0)
            return Refused(reason);
        m_target = to;
        return true;
    }

private:
    static bool Refused(std::string& reason) {
        reason = std::strerror(errno);
        return false;
    }
    std::string m_target;
};

// This machine's partition source, counting its scans (each scan connects anew) and calling onConnect
// as each one begins.
class CountingSource : public WmiSource {
public:
    explicit CountingSource(std::function<void()> onConnect)
        : m_inner(CreateSystemWmiSource()), m_onConnect(std::move(onConnect)) {}
    WmiStatus InitSecurity() override { return m_inner->InitSecurity(); }
    void ReleaseSecurity() override { m_inner->ReleaseSecurity(); }
    WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) override {
        ++scans;
        m_onConnect();
        return m_inner->CreateLocator(locator);
    }
    bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) override {
        return m_inner->GetVolumeGeometry(rootPath, geometry);
    }
    int scans = 0;

private:
    std::unique_ptr<WmiSource> m_inner;
    std::function<void()> m_onConnect;
};

class ExportTest : public WindowFixture {
protected:
    void Load(const QString& path) { Open(path); }
    void Export(const QString& folder) {
        m_prompts->folderAnswers.push_back(folder);
        m_dialog->OnExport();
    }
    QString Path(const QString& name) const { return m_folder.filePath(name); }
    // A window whose partition source counts its scans.
    CountingSource& UseCountingSource(std::function<void()> onConnect) {
        auto source = std::make_unique<CountingSource>(std::move(onConnect));
        CountingSource& counting = *source;
        OpenWindow(std::move(source));
        return counting;
    }
};

TEST_F(ExportTest, WritesBothFilesIntoThePickedFolderReplacingAnOldOneWhole) {
    Load(TestDataPath(kHostileReport));
    WriteAll(Path(kData), std::string(1 << 20, 'J'));
    Export(m_folder.path());

    ASSERT_EQ(m_prompts->folderTitles, QStringList{QStringLiteral("Select Export Path")});
    EXPECT_EQ(m_prompts->folderStarts, QStringList{QDir::currentPath()});
    // The one message says where both files went.
    EXPECT_EQ(m_prompts->messages,
              QStringList{QStringLiteral("Both tables were exported to ") + m_folder.path() +
                          QStringLiteral(":\nSqlio_Data.csv\nSqlio_Partitions.csv")});
    EXPECT_EQ(m_prompts->messageIcons, std::vector<QMessageBox::Icon>{QMessageBox::Information});
    EXPECT_EQ(Entries(m_folder.path()), (QStringList{kData, kPartitions}));
    EXPECT_EQ(ReadAll(Path(kData)), ListCsvText(*m_dialog->m_listData));
    EXPECT_EQ(ReadAll(Path(kPartitions)).substr(0, 34), "Model,Serial Num,Interface,Drive,F");
    EXPECT_TRUE(m_dialog->m_partitionsScanned);
    EXPECT_EQ(m_dialog->m_listPartitions->m_exportFileName, "Sqlio_Partitions.csv");
    EXPECT_EQ(m_dialog->m_listData->m_exportFolder, QFile::encodeName(m_folder.path()).toStdString());
}

TEST_F(ExportTest, TheFirstExportScansOnceAfterWritingTheResultFileAndNothingScansAgain) {
    bool dataWrittenBeforeScan = false;
    CountingSource& source =
        UseCountingSource([&] { dataWrittenBeforeScan = QFile::exists(m_folder.filePath(kData)); });
    Load(ExamplePath("multi_run_crlf.txt"));
    Export(m_folder.path());
    EXPECT_EQ(source.scans, 1);
    EXPECT_TRUE(dataWrittenBeforeScan);
    EXPECT_EQ(ReadAll(Path(kPartitions)), ListCsvText(*m_dialog->m_listPartitions));

    QTemporaryDir second;
    Export(second.path());
    m_dialog->m_tabCtrl->setCurrentIndex(7);
    m_dialog->ShowTab(7);
    EXPECT_EQ(source.scans, 1);
    EXPECT_EQ(ReadAll(second.filePath(kPartitions)), ReadAll(Path(kPartitions)));
    EXPECT_EQ(m_prompts->messages,
              (QStringList{ExportDoneText(m_folder.path()), ExportDoneText(second.path())}));
}

TEST_F(ExportTest, RejectedFolderIsNamedInAWarningAndNothingIsWrittenOrScanned) {
    WriteAll(Path(QStringLiteral("a file")), "x");
    const QString missing = Path(QStringLiteral("no such folder"));
    const QString file = Path(QStringLiteral("a file"));
    Export(missing);
    Export(file);
    Export(QStringLiteral("Computer")); // names no place in the file system: shown as an empty path

    EXPECT_EQ(
        m_prompts->messages,
        (QStringList{QStringLiteral("This path does not exist: [") + missing + QStringLiteral("]\t\t\t\t"),
                     QStringLiteral("This path does not exist: [") + file + QStringLiteral("]\t\t\t\t"),
                     QStringLiteral("This path does not exist: []\t\t\t\t")}));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m_prompts->messageButtons[i], QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(m_prompts->messageIcons[i], QMessageBox::Warning);
    }
    EXPECT_EQ(Entries(m_folder.path()), QStringList{QStringLiteral("a file")});
    EXPECT_FALSE(m_dialog->m_partitionsScanned);
}

TEST_F(ExportTest, CancelledPickerDoesNothing) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
    Export(QString());
    QDir::setCurrent(before);

    EXPECT_EQ(m_prompts->folderStarts, QStringList{QDir(m_folder.path()).canonicalPath()});
    EXPECT_TRUE(m_prompts->messages.isEmpty());
    EXPECT_TRUE(Entries(m_folder.path()).isEmpty());
    EXPECT_FALSE(m_dialog->m_partitionsScanned);
}

TEST_F(ExportTest, FiltersLeaveTheFileAloneAndSortingReordersIt) {
    Load(ExamplePath("multi_run_crlf.txt"));
    QTemporaryDir plain, filtered, sorted;
    Export(plain.path());

    m_dialog->m_comboType->SetCurSel(m_dialog->m_comboType->FindStringExact(QStringLiteral("random")));
    m_dialog->m_comboDirection->SetCurSel(
        m_dialog->m_comboDirection->FindStringExact(QStringLiteral("Read")));
    m_dialog->OnFilterChange();
    Export(filtered.path());
    EXPECT_EQ(ReadAll(filtered.filePath(kData)), ReadAll(plain.filePath(kData)));

    m_dialog->OnSortIOs();
    Export(sorted.path());
    const std::vector<QStringList> records = SimpleRecords(ReadAll(sorted.filePath(kData)));
    ASSERT_EQ(records.size(), 21u);
    double previous = -1.0;
    for (size_t row = 1; row < records.size(); ++row) {
        EXPECT_EQ(records[row][kColNumber].toStdString(),
                  m_dialog->m_listData->CellRef(static_cast<int>(row - 1), kColNumber));
        const double ios = records[row][kColIOsPerSec].toDouble();
        EXPECT_GE(ios, previous) << "row " << row;
        previous = ios;
    }
    EXPECT_NE(records[1][kColNumber], QStringLiteral("0")); // the order did change
}

TEST_F(ExportTest, ANameTakenByAFolderIsReportedAndTheOtherFileIsStillWritten) {
    Load(TestDataPath(kHostileReport));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(kData));
    Export(m_folder.path());

    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("Cannot write file [") + Path(kData) +
                                                  QStringLiteral("]: ")))
        << m_prompts->messages[0].toStdString();
    EXPECT_TRUE(m_prompts->messages[0].contains(QStringLiteral("directory")));
    EXPECT_EQ(m_prompts->messageIcons[0], QMessageBox::Warning);
    EXPECT_TRUE(Entries(Path(kData)).isEmpty());
    EXPECT_EQ(Entries(m_folder.path()), (QStringList{kData, kPartitions}));
    EXPECT_EQ(ReadAll(Path(kPartitions)), ListCsvText(*m_dialog->m_listPartitions));
}

// The export's names are fixed, so in a shared folder another user may have planted symbolic links
// under them: each is replaced by a new file of that name, as a new file gets it, and what the link
// pointed to stays as it was, or absent.
TEST_F(ExportTest, LinksUnderTheFixedNamesAreReplacedNeverWrittenThrough) {
    Load(ExamplePath("multi_run_crlf.txt"));
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim.txt"));
    const QString planted = elsewhere.filePath(QStringLiteral("planted.csv"));
    WriteAll(victim, "precious");
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(Path(kData)).constData()),
              0);
    ASSERT_EQ(
        ::symlink(QFile::encodeName(planted).constData(), QFile::encodeName(Path(kPartitions)).constData()),
        0);
    WriteAll(Path(QStringLiteral("fresh")), "");
    Export(m_folder.path());

    EXPECT_EQ(m_prompts->messages, QStringList{ExportDoneText(m_folder.path())});
    EXPECT_EQ(ReadAll(victim), "precious");
    EXPECT_EQ(Entries(elsewhere.path()), QStringList{QStringLiteral("victim.txt")});
    EXPECT_EQ(Entries(m_folder.path()), (QStringList{kData, kPartitions, QStringLiteral("fresh")}));
    for (const QString& name : {kData, kPartitions}) {
        const QFileInfo file(Path(name));
        EXPECT_FALSE(file.isSymLink()) << name.toStdString();
        EXPECT_EQ(file.permissions(), QFileInfo(Path(QStringLiteral("fresh"))).permissions())
            << name.toStdString();
    }
    EXPECT_EQ(ReadAll(Path(kData)), ListCsvText(*m_dialog->m_listData));
    EXPECT_EQ(ReadAll(Path(kPartitions)), ListCsvText(*m_dialog->m_listPartitions));
}

TEST_F(ExportTest, AReadOnlyFolderIsReportedForEachFileAndOldFilesStayAsTheyWere) {
    QTemporaryDir source;
    WriteAll(source.filePath(kData), "old data");
    const QString target = Path(QStringLiteral("ro"));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("ro")));
    ScopedMount mount;
    std::string reason;
    if (!mount.ReadOnlyBind(source.path(), target, reason))
        GTEST_SKIP() << "a read-only bind mount is refused here (" << reason << "); run as root to test it";

    Load(TestDataPath(kHostileReport));
    Export(target);

    ASSERT_EQ(m_prompts->messages.size(), 2);
    const QString files[] = {kData, kPartitions};
    for (int i = 0; i < 2; ++i) {
        const QString& message = m_prompts->messages[i];
        EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot write file [") + target + QLatin1Char('/') +
                                       files[i] + QStringLiteral("]: ")))
            << message.toStdString();
        // Qt names a file that exists "not writable" before the system is asked.
        EXPECT_TRUE(message.contains(QStringLiteral("Read-only file system")) ||
                    message.contains(QStringLiteral("is not writable")))
            << message.toStdString();
    }
    EXPECT_EQ(Entries(target), QStringList{kData});
    EXPECT_EQ(ReadAll(source.filePath(kData)), "old data");
}

TEST_F(ExportTest, AFullDiskIsReportedLeavesNoHalfWrittenFileAndTheOtherFileIsStillTried) {
    const QString target = Path(QStringLiteral("full"));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("full")));
    ScopedMount mount;
    std::string reason;
    if (!mount.Tmpfs(target, "size=64k", reason))
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << reason << "); run as root to test it";
    WriteAll(target + QLatin1Char('/') + kData, "old data");
    // Leave two pages free: the result file (about 30 KB) runs out of room half-way, the small partition
    // file fits once the failed one's temporary file is gone.
    struct statvfs space {};
    ASSERT_EQ(::statvfs(QFile::encodeName(target).constData(), &space), 0);
    const QString filler = target + QStringLiteral("/filler");
    WriteAll(filler, std::string(space.f_bavail * space.f_frsize - 2 * 4096, 'f'));
    QTemporaryDir reports;
    const QString big = reports.filePath(QStringLiteral("big.txt"));
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += ReadAll(TestDataPath(kHostileReport));
    WriteAll(big, text);
    Load(big);
    ASSERT_GT(ListCsvText(*m_dialog->m_listData).size(), 3u * 4096);

    Export(target);
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("Cannot write file [") + target +
                                                  QLatin1Char('/') + kData))
        << m_prompts->messages[0].toStdString();
    EXPECT_TRUE(m_prompts->messages[0].contains(QStringLiteral("No space left on device")));
    EXPECT_EQ(ReadAll(target + QLatin1Char('/') + kData), "old data");
    EXPECT_EQ(ReadAll(target + QLatin1Char('/') + kPartitions), ListCsvText(*m_dialog->m_listPartitions));

    // With no room at all, both files fail and neither leaves anything behind.
    ASSERT_TRUE(QFile::remove(target + QLatin1Char('/') + kPartitions));
    QFile more(filler);
    ASSERT_TRUE(more.open(QIODevice::Append | QIODevice::Unbuffered));
    const QByteArray page(4096, 'f');
    while (more.write(page) == page.size()) {
    }
    more.close();
    m_prompts->messages.clear();
    Export(target);
    ASSERT_EQ(m_prompts->messages.size(), 2);
    for (const QString& message : m_prompts->messages)
        EXPECT_TRUE(message.contains(QStringLiteral("No space left on device"))) << message.toStdString();
    EXPECT_EQ(Entries(target), (QStringList{kData, QStringLiteral("filler")}));
    EXPECT_EQ(ReadAll(target + QLatin1Char('/') + kData), "old data");
}

// The command-line companion.

TEST_F(ExportTest, CommandLineWritesTheWindowsBytesAndItsStatus) {
    QTemporaryDir empty;
    WriteAll(empty.filePath(QStringLiteral("empty.txt")), "");
    const QString reports[] = {TestDataPath(kHostileReport),
                               ExamplePath("multi_run_crlf.txt"),
                               ExamplePath("one_run_fails.txt"),
                               ExamplePath("powershell_utf16le.txt"),
                               empty.filePath(QStringLiteral("empty.txt")),
                               QStringLiteral("/proc/self/pagemap"), // gives no size, never ends
                               QStringLiteral("/proc/self/mem")};    // opens, then fails to read
    for (const QString& report : reports) {
        SCOPED_TRACE(report.toStdString());
        QTemporaryDir folder;
        Load(report);
        Export(folder.path());
        const ToolRun run = RunTool({report});
        EXPECT_EQ(run.out, ReadAll(folder.filePath(kData)));
        // The status, then its details: the window's tooltip of the status line.
        const QString details = m_dialog->m_status->toolTip();
        EXPECT_EQ(QString::fromStdString(run.err),
                  m_dialog->m_status->text() + QLatin1Char('\n') + details + (details.isEmpty() ? "" : "\n"));
        if (report.endsWith(QStringLiteral("pagemap"))) {
            EXPECT_EQ(run.err,
                      "Report successfully loaded\nThe file gives its size as 0 bytes, as the kernel's "
                      "files do, but holds more: only its first 67108864 bytes were loaded.\n");
        }
        const bool allParsed = m_dialog->m_status->text() == QStringLiteral("Report successfully loaded");
        EXPECT_EQ(run.exitCode, allParsed ? 0 : 1);
    }
}

TEST_F(ExportTest, CommandLineExitsWithTwoOnAnyFileOrArgumentTrouble) {
    const QString missing = Path(QStringLiteral("missing.txt"));
    ToolRun run = RunTool({missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "Cannot open file for read access: " + missing.toStdString() + ": No such file or directory\n");

    EXPECT_EQ(RunTool({m_folder.path()}).exitCode, 2); // a folder is no report
    // Control bytes of an echoed name reach the terminal as text, never as codes; a backslash stays
    // one, or every Windows path would be echoed garbled.
    run = RunTool({Path(QStringLiteral("\x1b]0;pwned\x07\\\x1b[2J.txt"))});
    EXPECT_EQ(run.err, "Cannot open file for read access: " + m_folder.path().toStdString() +
                           "/\\x1b]0;pwned\\x07\\\\x1b[2J.txt: No such file or directory\n");
    EXPECT_EQ(
        RunTool({QStringLiteral("--\x1b[31m")}).err.rfind("trelvane-csv: unknown option --\\x1b[31m\n", 0),
        0u);
    // Neither a FIFO nor a device is waited on or read without end.
    const QString fifo = Path(QStringLiteral("fifo.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& odd : {fifo, QStringLiteral("/dev/zero")}) {
        run = RunTool({odd});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "Cannot open file for read access: " + odd.toStdString() + ": not a regular file\n");
    }
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("--bogus")},
                                         QStringList{ExamplePath("multi_run_crlf.txt"), missing}}) {
        run = RunTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: trelvane-csv"), std::string::npos);
    }

    run = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Usage: trelvane-csv", 0), 0u);
    EXPECT_NE(run.out.find("\n  SQLIO text output"), std::string::npos);
    EXPECT_NE(run.out.find("\n  DiskSpd text output"), std::string::npos);
    // The version is the one the window's title shows.
    run = RunTool({QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "trelvane-csv " + m_dialog->windowTitle().section(QLatin1Char(' '), 1).toStdString() + "\n");

    // A report whose name starts with a dash is reached after "--".
    const QString dashed = Path(QStringLiteral("-report.txt"));
    ASSERT_TRUE(QFile::copy(ExamplePath("multi_run_crlf.txt"), dashed));
    run = RunTool({QStringLiteral("--"), dashed});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, RunTool({ExamplePath("multi_run_crlf.txt")}).out);
}

TEST_F(ExportTest, CommandLinePartitionsAreTheWindowsPartitionFileWithOnlyCsvOnStandardOutput) {
    Export(m_folder.path());
    const ToolRun run = RunTool({QStringLiteral("--partitions")});
    EXPECT_EQ(run.out, ReadAll(Path(kPartitions)));
    // A failed scan leaves one error row: its message in "Details", every other cell empty.
    const CListBase& table = *m_dialog->m_listPartitions;
    bool scanFailed = table.GetItemCount() == 1;
    for (int column = 0; column < kPartDetails; ++column)
        scanFailed = scanFailed && table.CellRef(0, column).empty();
    EXPECT_EQ(run.exitCode, scanFailed ? 1 : 0) << run.err;
    EXPECT_EQ(RunTool({QStringLiteral("--partitions"), ExamplePath("multi_run_crlf.txt")}).exitCode, 2);
}

// Reports that once took all memory: two million runs of one line each (16 MB whose error rows took
// nearly 1 GB), and one DiskSpd run of 20,000 broken sections (480 KB, whose error rows took 9.6 GB).
class MemoryTest : public ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        std::string text;
        for (int i = 0; i < 2000000; ++i)
            text += "sqlio v\n";
        WriteAll(junk, text);
        // DiskSpd's head, so that the lines after it are a run's sections.
        text = "Command Line: x\r\n\r\nInput parameters:\r\n\r\n\ttimespan:   1\r\n";
        for (int i = 0; i < 20000; ++i)
            text += "Results for timespan 1\r\n";
        WriteAll(sections, text);
    }
    // Runs program with its address space capped at bytes.
    static ToolRun RunLimited(const QString& program, const QStringList& arguments, rlim_t bytes) {
        QProcess process;
        process.setChildProcessModifier([bytes] {
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
        });
        process.start(program, arguments);
        process.waitForFinished(120000);
        ToolRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    const QString junk = Path(QStringLiteral("junk.txt"));
    const QString sections = Path(QStringLiteral("sections.txt"));
};

TEST_F(MemoryTest, CommandLineKeepsToItsMemoryBudgetAndFailsCleanlyWhenMemoryRunsOut) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit this test sets";
#else
    const QString tool = QStringLiteral(TRELVANE_CSV_TOOL);
    // Within a limit well under what the rows of every run would take, the runs past the budget are
    // counted in a last error row.
    ToolRun run = RunLimited(tool, {junk}, rlim_t{600} << 20);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    size_t lastRecord = run.out.rfind("\r\n", run.out.size() - 3);
    ASSERT_NE(lastRecord, std::string::npos);
    EXPECT_NE(run.out.find("more runs were left out", lastRecord), std::string::npos);

    // Every section has its row, which names it and quotes only the start of the run.
    run = RunLimited(tool, {sections}, rlim_t{600} << 20);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_LT(run.out.size(), size_t{24} << 20);
    lastRecord = run.out.rfind("\r\n19999,,,,,,,,,,\"Token [performing] not found in section 20000 ");
    EXPECT_NE(lastRecord, std::string::npos);

    // Too little memory for even that (the junk's rows up to the budget now take about 20 MB): a
    // message and status 2, never an abort, and no half a table.
    run = RunLimited(tool, {junk}, rlim_t{24} << 20);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Not enough memory to read " + junk.toStdString() + "\n");
    EXPECT_EQ(run.out, "");
#endif
}

TEST_F(MemoryTest, TheWindowDropsTheRowsReadWhenMemoryRunsOutAndDrawsOnlyTheErrorRow) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit this test sets";
#else
    // The tool caps its memory itself, once its window is up: a few megabytes beyond that.
    for (const QString& report : {junk, sections}) {
        SCOPED_TRACE(report.toStdString());
        const ToolRun run =
            RunLimited(QStringLiteral(LIMITED_LOAD_TOOL), {report, QStringLiteral("8")}, RLIM_INFINITY);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "1 rows\nError while loading report.  For details please see Raw Data list.\n"
                           "Not enough memory to load " +
                               report.toStdString() + ".\n");
    }
#endif
}

TEST_F(ExportTest, CommandLineFailsWhenItsOutputCannotBeWritten) {
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(TRELVANE_CSV_TOOL), {ExamplePath("multi_run_crlf.txt")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().startsWith("Cannot write standard output: "));
}

} // namespace
