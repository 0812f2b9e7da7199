// Memory that runs out in the middle of a user's action on a huge table (copy, sort, a chart, export):
// the action is refused with a message, and nothing is lost: the rows, their order, the clipboard and
// an export file written before all stay as they were. The machine's memory is played by a limit on
// this process's address space, set just above what it holds, so every large request is refused as it
// would be on a machine that has no more.
#include "report/ResultRow.h"
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QItemSelection>
#include <QLocale>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// While it lives, this process may map at most `extra` bytes more than it has mapped now.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t extra) {
        ::getrlimit(RLIMIT_AS, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = MappedBytes() + extra;
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &m_before); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    static rlim_t MappedBytes() {
        unsigned long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%lu", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
    }
    rlimit m_before{};
};

constexpr rlim_t kRoomForSmallThings = rlim_t{4} << 20;
constexpr int kRows = 1500000;

class OutOfMemoryTest : public WindowFixture {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit this test sets";
#endif
        // Every large block gets a mapping of its own and gives it back when freed, so memory freed by
        // one step cannot quietly serve the next one beyond the limit.
        ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        WindowFixture::SetUp();
        CListCtrlEx& list = *m_dialog->m_listData;
        list.SetRedraw(false);
        // The first row's details are as long as an SQLIO error row's whole block can be.
        list.InsertRow(ListRow{"0", "Read", "random", "8KB", "1", "5", "1", "0", "1", "2",
                               std::string(std::size_t{24} << 20, 'x')});
        for (int row = 1; row < kRows; ++row)
            list.InsertRow(ListRow{std::to_string(row), row % 2 ? "Read" : "Write", "random", "8KB",
                                   std::to_string(row % 64), std::to_string(kRows - row), "1", "0", "1", "2",
                                   ""});
        list.SetRedraw(true);
        m_dialog->m_partitionsScanned = true; // the export writes the partition table as it stands
    }
    void TearDown() override {
        WindowFixture::TearDown();
        ::mallopt(M_MMAP_THRESHOLD, 0);
    }
    std::string Cell(int row, int column) const {
        return std::string(m_dialog->m_listData->CellRef(row, column));
    }
    QString Rows() const {
        return QLocale().toString(kRows);
    }
};

TEST_F(OutOfMemoryTest, CopyLeavesTheClipboardAsItWas) {
    CListCtrlEx& list = *m_dialog->m_listData;
    list.selectionModel()->select(QItemSelection(list.model()->index(1, 0), list.model()->index(1000000, 0)),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    {
        const AddressSpaceLimit limit(kRoomForSmallThings);
        list.CopySelectedRows();
    }
    EXPECT_EQ(
        m_prompts->messages,
        QStringList{QStringLiteral("Not enough memory to copy %1 rows. Nothing was copied; Export writes "
                                   "any number of rows.")
                        .arg(QLocale().toString(1000000))});
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
}

TEST_F(OutOfMemoryTest, SortKeepsTheOrderAndAChartThatCannotBeDrawnKeepsTheTable) {
    m_dialog->m_tabCtrl->SetCurSel(6);
    {
        const AddressSpaceLimit limit(kRoomForSmallThings);
        m_dialog->OnSortIOs();
    }
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_EQ(m_prompts->messages[0],
              QStringLiteral("Not enough memory to sort %1 rows. The table keeps its order.").arg(Rows()));
    EXPECT_EQ(m_dialog->m_listData->SortedColumn(), -1);
    EXPECT_EQ(Cell(1, kColNumber), "1");
    EXPECT_EQ(Cell(kRows - 1, kColNumber), std::to_string(kRows - 1));

    {
        const AddressSpaceLimit limit(kRoomForSmallThings);
        m_dialog->m_tabCtrl->SetCurSel(0);
    }
    ASSERT_EQ(m_prompts->messages.size(), 2);
    EXPECT_EQ(m_prompts->messages[1],
              QStringLiteral("Not enough memory to draw the chart of %1 rows. The table "
                             "keeps every row; a filter draws fewer bars.")
                  .arg(Rows()));
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), kRows);

    // With the memory back, both work as before.
    m_dialog->OnSortIOs();
    EXPECT_EQ(Cell(0, kColNumber), std::to_string(kRows - 1));
    EXPECT_GT(m_dialog->m_chart->Model().LineCount(), kRows);
}

TEST_F(OutOfMemoryTest, ExportKeepsTheEarlierFileAndStillWritesTheOther) {
    const QString data = m_folder.filePath(QStringLiteral("Sqlio_Data.csv"));
    {
        QFile earlier(data);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier export");
    }
    m_prompts->folderAnswers.push_back(m_folder.path());
    {
        const AddressSpaceLimit limit(kRoomForSmallThings);
        m_dialog->OnExport();
    }
    EXPECT_EQ(m_prompts->messages,
              QStringList{QStringLiteral("Cannot write file [%1]: not enough memory. Nothing was written.")
                              .arg(QDir::toNativeSeparators(data))});
    QFile earlier(data);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier export"));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("Sqlio_Data.csv"), QStringLiteral("Sqlio_Partitions.csv")}));
}

} // namespace
