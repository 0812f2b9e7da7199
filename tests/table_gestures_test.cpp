// The tables behave like tables: header clicks sort as the sort buttons do, Ctrl+C copies rows as
// tab-separated text, Ctrl+A selects all, and the context menu offers both.
#include "app/DialogTemplate.h"
#include "report/ResultRow.h"
#include "table/ListTsv.h"
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QItemSelection>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

TEST(ListRowsTsvTest, HeaderThenRowsWithQuotedBreaksAndGuardedFormulas) {
    CListBase list;
    list.AddCol(0, "#", 10, 0);
    list.AddCol(0, "Diag Details", 10, 0);
    list.InsertRow(ListRow{"0", "plain"});
    list.InsertRow(ListRow{"1", "line one\r\nline \"two\"\tend"});
    list.InsertRow(ListRow{"-3.5", "=HYPERLINK(\"x\")"});
    EXPECT_EQ(ListRowsTsv(list, {0, 2}), "#\tDiag Details\n0\tplain\n-3.5\t\"'=HYPERLINK(\"\"x\"\")\"\n");
    EXPECT_EQ(ListRowsTsv(list, {1}), "#\tDiag Details\n1\t\"line one\r\nline \"\"two\"\"\tend\"\n");
    EXPECT_EQ(ListRowsTsv(list, {}), "#\tDiag Details\n");
    for (const std::vector<int>& rows : {std::vector<int>{0, 1, 2}, std::vector<int>{}})
        EXPECT_EQ(RowsTsvBytes(list, rows), ListRowsTsv(list, rows).size());
}

class TableGesturesTest : public WindowFixture {
protected:
    void ShowData() {
        m_dialog->show();
        m_dialog->m_tabCtrl->SetCurSel(6);
        QApplication::setActiveWindow(m_dialog.get());
        m_dialog->m_listData->setFocus();
    }
    // A real mouse click on a column title.
    void ClickHeader(int column) {
        QHeaderView* header = m_dialog->m_listData->horizontalHeader();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
    std::vector<std::string> NumberColumn() const {
        std::vector<std::string> numbers;
        for (int row = 0; row < m_dialog->m_listData->GetItemCount(); ++row)
            numbers.emplace_back(m_dialog->m_listData->CellRef(row, kColNumber));
        return numbers;
    }
    void ExpectIndicator(int column, Qt::SortOrder order) const {
        const QHeaderView* header = m_dialog->m_listData->horizontalHeader();
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), column);
        EXPECT_EQ(header->sortIndicatorOrder(), order);
    }
};

TEST_F(TableGesturesTest, HeaderClickSortsAsTheButtonAndTheIndicatorFollowsEveryOrder) {
    Open(ExamplePath("multi_run_crlf.txt"));
    ShowData();
    ExpectIndicator(kColNumber, Qt::AscendingOrder); // a load ends in report order

    m_dialog->Button(IDC_SORT_MBS)->click();
    const std::vector<std::string> byButton = NumberColumn();
    Open(ExamplePath("multi_run_crlf.txt"));
    ClickHeader(kColMBsPerSec);
    EXPECT_EQ(NumberColumn(), byButton);
    EXPECT_NE(NumberColumn(), (std::vector<std::string>(byButton.rbegin(), byButton.rend())));
    ExpectIndicator(kColMBsPerSec, Qt::AscendingOrder);

    ClickHeader(kColMBsPerSec); // the second click reverses, as the button's does
    EXPECT_EQ(m_dialog->m_listData->SortedAscending(), false);
    ExpectIndicator(kColMBsPerSec, Qt::DescendingOrder);
    m_dialog->Button(IDC_SORT_MBS)->click();
    ExpectIndicator(kColMBsPerSec, Qt::AscendingOrder);

    m_dialog->Button(IDC_SORT_AVG_LATENCY)->click();
    ExpectIndicator(kColAvgLatency, Qt::AscendingOrder);
    const std::vector<std::string> before = NumberColumn();
    const int builds = m_dialog->ChartBuildCount();
    ClickHeader(kColDiagDetails); // no button, no sort, and the indicator stays where the order is
    EXPECT_EQ(NumberColumn(), before);
    ExpectIndicator(kColAvgLatency, Qt::AscendingOrder);
    EXPECT_EQ(m_dialog->ChartBuildCount(), builds);

    // On a chart tab the chart follows a header click as it follows the button.
    m_dialog->m_tabCtrl->SetCurSel(0);
    ClickHeader(kColNumber);
    EXPECT_EQ(m_dialog->ChartBuildCount(), builds + 2);
}

// The runs the user picked stay picked, and the current one in view, whatever sorts the table: a sort
// button, or a real click on a column title (whose press alone used to select the first row).
TEST_F(TableGesturesTest, SelectedRunsStaySelectedAndInViewAcrossEverySort) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("runs.txt"));
    {
        QFile example(ExamplePath("multi_run_crlf.txt"));
        QFile file(path);
        ASSERT_TRUE(example.open(QIODevice::ReadOnly) && file.open(QIODevice::WriteOnly));
        const QByteArray text = example.readAll();
        for (int i = 0; i < 50; ++i) // 1000 runs: far more than the table shows at once
            file.write(text.mid(i == 0 ? 0 : text.indexOf("sqlio v")));
    }
    Open(path);
    ShowData();
    QApplication::processEvents();
    CListCtrlEx& list = *m_dialog->m_listData;
    const auto select = [&](int row, QItemSelectionModel::SelectionFlags how) {
        list.selectionModel()->setCurrentIndex(list.model()->index(row, 0), how | QItemSelectionModel::Rows);
    };
    select(3, QItemSelectionModel::ClearAndSelect);
    select(998, QItemSelectionModel::Select);
    list.scrollTo(list.model()->index(998, 0));
    const auto numbersSelected = [&] {
        std::vector<std::string> numbers;
        for (const int row : list.SelectedRows())
            numbers.emplace_back(list.CellRef(row, kColNumber));
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    };
    const std::vector<std::string> picked{"3", "998"};
    ASSERT_EQ(numbersSelected(), picked);
    const auto expectKept = [&](const char* how) {
        SCOPED_TRACE(how);
        QApplication::processEvents();
        EXPECT_EQ(numbersSelected(), picked);
        ASSERT_TRUE(list.currentIndex().isValid());
        EXPECT_EQ(list.CellRef(list.currentIndex().row(), kColNumber), "998");
        EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(list.currentIndex())));
    };
    m_dialog->Button(IDC_SORT_IOS)->click();
    expectKept("IO/sec button");
    ClickHeader(kColMBsPerSec);
    expectKept("MB/Sec title");
    ClickHeader(kColMBsPerSec);
    expectKept("MB/Sec title again, reversed");
    ClickHeader(kColDiagDetails);
    expectKept("a title that does not sort");
    m_dialog->Button(IDC_SORT_NUMBER)->click();
    expectKept("# button");
    // Every row selected stays every row, as one range.
    list.selectAll();
    m_dialog->Button(IDC_SORT_TYPE)->click();
    EXPECT_EQ(list.SelectedRows().size(), 1000u);
    EXPECT_EQ(list.selectionModel()->selection().size(), 1);
    // A new report starts without a selection.
    Open(ExamplePath("multi_run_crlf.txt"));
    EXPECT_TRUE(list.SelectedRows().empty());
}

TEST_F(TableGesturesTest, CtrlACtrlCAndTheContextMenuCopyRowsWithTheHeaderLine) {
    Open(ExamplePath("one_run_fails.txt"));
    ShowData();
    CListCtrlEx* list = m_dialog->m_listData;
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier); // nothing selected: nothing copied
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QString all = QApplication::clipboard()->text();
    const QStringList lines = all.split(QLatin1Char('\n'));
    EXPECT_EQ(
        lines.first(),
        QStringLiteral("#\tDirection\tType\tSize\tOutstanding IOs\tIO/Sec\tMB/Sec\tMin_Latency\tAvg_Latency\t"
                       "Max_Latency\tDiag Details"));
    EXPECT_EQ(all, QString::fromLocal8Bit(ListRowsTsv(*list, {0, 1, 2})));

    // Rows picked with the mouse, the later one first: they come in the table's order.
    const auto rowCentre = [list](int row) {
        return QPoint(list->columnViewportPosition(1) + 5, list->rowViewportPosition(row) + 5);
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(0));
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{0, 2}));
    list->CopyAction()->trigger(); // the context menu's entry is the same action as Ctrl+C
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLocal8Bit(ListRowsTsv(*list, {0, 2})));

    for (CListCtrlEx* table : {m_dialog->m_listData, m_dialog->m_listPartitions}) {
        EXPECT_EQ(table->contextMenuPolicy(), Qt::ActionsContextMenu);
        // The runs of "Data" also open their Run Details from there.
        QList<QAction*> actions{table->CopyAction(), table->SelectAllAction()};
        if (table == m_dialog->m_listData)
            actions.push_back(m_dialog->RunDetailsAction());
        EXPECT_EQ(table->actions(), actions);
        EXPECT_EQ(table->CopyAction()->text(), QStringLiteral("&Copy"));
        EXPECT_EQ(table->SelectAllAction()->text(), QStringLiteral("Select &All"));
    }
}

// Copy holds its whole text at once, so it stops at a bound it names rather than taking all memory;
// the clipboard then keeps what it had. Up to the bound it copies every row.
TEST_F(TableGesturesTest, CopyRefusesAboveItsBoundsAndSaysWhy) {
    const auto copy = [](CListCtrlEx& list, int firstRow, int lastRow) {
        QApplication::clipboard()->setText(QStringLiteral("untouched"));
        list.selectionModel()->select(
            QItemSelection(list.model()->index(firstRow, 0), list.model()->index(lastRow, 0)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list.CopySelectedRows();
    };
    const QString tooMany = QStringLiteral("Too many rows to copy; use Export\n\nCopy takes at most ");

    // The row bound, on a table of one narrow column: a row more than it holds.
    CListCtrlEx rows;
    QStringList warnings;
    QObject::connect(&rows, &CListCtrlEx::Warning, [&warnings](const QString& text) { warnings << text; });
    rows.AddCol(ColSortNumber, "#", 50, 1);
    rows.SetRedraw(false);
    for (std::size_t row = 0; row <= kCopyRowLimit; ++row) {
        const std::string number = std::to_string(row + 1);
        const std::string_view cell = number;
        rows.InsertRow(1, &cell);
    }
    rows.SetRedraw(true);
    copy(rows, 0, static_cast<int>(kCopyRowLimit));
    EXPECT_EQ(warnings,
              QStringList{tooMany + QStringLiteral("%1 rows, as many as a spreadsheet holds below its "
                                                   "header line; %2 rows are selected.")
                                        .arg(QLocale().toString(1048575), QLocale().toString(1048576))});
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    warnings.clear();
    copy(rows, 1, static_cast<int>(kCopyRowLimit)); // as many as the bound: all of them, and no word
    EXPECT_TRUE(warnings.isEmpty());
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.size(), static_cast<qsizetype>(RowsTsvBytes(rows, rows.SelectedRows())));
    EXPECT_TRUE(copied.startsWith(QStringLiteral("#\n2\n3\n")));
    EXPECT_TRUE(copied.endsWith(QStringLiteral("\n1048575\n1048576\n")));

    // The byte bound, in the window, whose message box says it: a few rows with huge details.
    CListCtrlEx& data = *m_dialog->m_listData;
    for (int row = 0; row < 3; ++row)
        data.InsertRow(ListRow{"1", "Read", "random", "8KB", "1", "10", "1", "0", "1", "2",
                               std::string(std::size_t{50} << 20, 'x')});
    copy(data, 0, 2);
    EXPECT_EQ(m_prompts->messages,
              QStringList{tooMany + QStringLiteral("128 MB of text; the 3 selected rows hold 151 MB.")});
    EXPECT_EQ(m_prompts->messageIcons, std::vector<QMessageBox::Icon>{QMessageBox::Warning});
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
}

TEST_F(TableGesturesTest, PartitionTableCopiesAndItsHeaderDoesNotSort) {
    CListCtrlEx* list = m_dialog->m_listPartitions;
    m_dialog->show();
    m_dialog->m_tabCtrl->SetCurSel(7); // the first visit scans this machine; two rows of ours follow
    list->InsertRow(ListRow{"Disk B", "S2"});
    list->InsertRow(ListRow{"Disk A", "S1"});
    QApplication::setActiveWindow(m_dialog.get());
    list->setFocus();
    QHeaderView* header = list->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_FALSE(header->isSortIndicatorShown());
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Model\tSerial Num\tInterface\t")));
    EXPECT_TRUE(lines[lines.size() - 3].startsWith(QStringLiteral("Disk B\tS2\t")));
    EXPECT_TRUE(lines[lines.size() - 2].startsWith(QStringLiteral("Disk A\tS1\t")));
}

} // namespace
