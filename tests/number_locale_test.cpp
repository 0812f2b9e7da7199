// Numbers under a locale whose decimal point is a comma (de_DE): the window's partition cells, their
// sorting and both CSV files written by the window and by trelvane-csv in that locale.
#include "disks/MemoryWmiSource.h"
#include "disks/PartitionRow.h"
#include "disks/WmiRequest.h"
#include "tests/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

// The C library's name of German (Germany) on each platform.
const char* const kCommaLocale = TRELVANE_WINDOWS_BUILD ? "German_Germany.1252" : "de_DE.UTF-8";

std::string ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + path.toStdString() + ">";
    return file.readAll().toStdString();
}

bool UseCommaLocale() {
    return std::setlocale(LC_ALL, kCommaLocale) != nullptr &&
           std::string(std::localeconv()->decimal_point) == ",";
}

// Switches the process (C library, Qt's default locale and the environment trelvane-csv inherits) to
// de_DE.UTF-8. A system without it gets one made by localedef in the build folder, found through
// LOCPATH, which needs neither root nor a change to the system.
class CommaLocaleTest : public WindowFixture {
protected:
    static void SetUpTestSuite() {
        s_saved = std::setlocale(LC_ALL, nullptr);
        const QString folder = QStringLiteral(TRELVANE_BINARY_DIR "/locales");
        const QString made = folder + QLatin1Char('/') + QLatin1String(kCommaLocale);
        if (!UseCommaLocale() && !TRELVANE_WINDOWS_BUILD) {
            // Made before LOCPATH is tried: the C library remembers a locale it once failed to find.
            if (!QFile::exists(made + QStringLiteral("/LC_NUMERIC"))) {
                QDir().mkpath(folder);
                QProcess localedef;
                localedef.start(QStringLiteral("localedef"),
                                {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                                 QStringLiteral("UTF-8"), made});
                const bool ran = localedef.waitForFinished(120000);
                s_localedef = ran ? localedef.readAllStandardError().trimmed().toStdString()
                                  : "localedef could not be run (package locales)";
            }
            qputenv("LOCPATH", folder.toLocal8Bit());
            UseCommaLocale();
        }
        s_ready = std::string(std::localeconv()->decimal_point) == ",";
        if (!s_ready) {
            std::setlocale(LC_ALL, s_saved.c_str());
            return;
        }
        qputenv("LC_ALL", kCommaLocale);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    static void TearDownTestSuite() {
        std::setlocale(LC_ALL, s_saved.c_str());
        qunsetenv("LC_ALL");
        QLocale::setDefault(QLocale::c());
    }
    void SetUp() override {
        if (!s_ready)
            GTEST_SKIP() << "no locale with a decimal comma: " << kCommaLocale
                         << " is not installed and localedef could not make it (" << s_localedef << ")";
        WindowFixture::SetUp();
    }

    void Export() {
        m_prompts->folderAnswers.push_back(m_folder.path());
        m_dialog->OnExport();
    }
    QString Path(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }

    static std::string RunTool(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(TRELVANE_CSV_TOOL), arguments);
        process.waitForFinished(60000);
        return process.readAllStandardOutput().toStdString();
    }

    static inline std::string s_saved;
    static inline std::string s_localedef;
    static inline bool s_ready = false;
};

// One NTFS volume with 64 KB clusters on one drive.
void AddVolume(MemoryWmiSource& source, const std::string& id, const std::string& offset,
               const std::string& root, const std::string& size) {
    PropertyObject partition;
    partition.Text("DeviceID", id).Text("StartingOffset", offset).Null("Status").Null("ErrorDescription");
    source.Answer(WmiRequest::AllPartitions()).objects.push_back({0, partition});
    PropertyObject drive;
    drive.Text("Model", "ST1000DM003").Text("DeviceID", "\\\\.\\PHYSICALDRIVE0").Text("InterfaceType", "IDE");
    source.Answer(WmiRequest::DrivesOfPartition(id)).objects.push_back({0, drive});
    source.Answer(WmiRequest::MediaOfDrive("\\\\.\\PHYSICALDRIVE0"));
    PropertyObject disk;
    disk.Text("FileSystem", "NTFS").Text("Name", root).Null("VolumeName").Text("Size", size);
    source.Answer(WmiRequest::LogicalDisksOfPartition(id)).objects.push_back({0, disk});
    source.SetGeometry(root, 128, 512);
}

TEST_F(CommaLocaleTest, PartitionCellsSortAndExportWithAPoint) {
    auto source = std::make_unique<MemoryWmiSource>();
    // 31.7 KB before 31.2 KB: read up to a comma, both would be 31 and sorting would keep this order.
    AddVolume(*source, "Disk #0, Partition #0", "32461", "E:", "270582939648");
    AddVolume(*source, "Disk #0, Partition #1", "31949", "F:", "1073741823");
    OpenWindow(std::move(source));
    m_dialog->m_tabCtrl->SetCurSel(7);
    const CListBase& table = *m_dialog->m_listPartitions;
    ASSERT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(table.CellRef(0, kPartOffset), "31.7 KB");
    EXPECT_EQ(table.CellRef(0, kPartDiskSize), "252.0 GB");
    EXPECT_EQ(table.CellRef(0, kPartFilesystem), "NTFS (64 KB)");
    EXPECT_EQ(table.CellRef(1, kPartDiskSize), "1.0 GB");

    m_dialog->m_listPartitions->SortColumn(kPartOffset, true, true);
    EXPECT_EQ(table.CellRef(0, kPartOffset), "31.2 KB");
    Export();
    const std::string csv = ReadAll(Path("Sqlio_Partitions.csv"));
    EXPECT_NE(csv.find(",31.2 KB,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",252.0 GB,31.7 KB,"), std::string::npos) << csv;
}

TEST_F(CommaLocaleTest, WindowExportsEqualTheCommandLineInTheSameLocale) {
    Open(ExamplePath("multi_run_crlf.txt"));
    ASSERT_GT(m_dialog->m_listData->GetItemCount(), 0);
    // The averages chart's labels: "Sequential MB/sec 12.34" and so on.
    const std::string label(m_dialog->m_chartAverages->Model().Lines().at(1).text);
    EXPECT_EQ(label.find(','), std::string::npos) << label;
    EXPECT_NE(label.find('.'), std::string::npos) << label;

    Export();
    EXPECT_EQ(ReadAll(Path("Sqlio_Data.csv")), RunTool({ExamplePath("multi_run_crlf.txt")}));
    EXPECT_EQ(ReadAll(Path("Sqlio_Partitions.csv")), RunTool({QStringLiteral("--partitions")}));
}

} // namespace
