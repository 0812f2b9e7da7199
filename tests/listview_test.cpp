// The table view over a list: column widths, redraw switching and the model's contract.
#include "report/ResultRow.h"
#include "widgets/ListCtrlEx.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(ListView, ColumnsKeepTheirWidthsThroughChanges) {
    CListCtrlEx list;
    AddResultColumns(list);
    EXPECT_EQ(list.columnWidth(0), 44);
    EXPECT_EQ(list.columnWidth(4), 122);
    list.setColumnWidth(2, 150); // as if the user dragged it
    list.InsertRow(ListRow{"0", "Read", "random"});
    list.SortColumn(kColType, true, true);
    list.DeleteAllItems(false);
    EXPECT_EQ(list.columnWidth(2), 150);
    // "Diag Details" starts at its width of 71, or wider where its title needs more.
    EXPECT_EQ(list.columnWidth(10), std::max(71, list.horizontalHeader()->sectionSizeHint(10)));
}

TEST(ListView, RowsAddedWhileRedrawIsOffAppearWhenItIsOn) {
    CListCtrlEx list;
    AddResultColumns(list);
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.SetRedraw(false);
    for (int i = 0; i < 3; ++i)
        list.InsertRow(ListRow{std::to_string(i), "Write"});
    EXPECT_EQ(list.model()->rowCount(), 0);
    list.SetRedraw(true);
    ASSERT_EQ(list.model()->rowCount(), 3);
    EXPECT_EQ(list.model()->data(list.model()->index(2, 1)).toString(), QStringLiteral("Write"));
    EXPECT_EQ(list.model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Outstanding IOs"));
}

TEST(ListView, HugeCellsAreShownShortButKeptWhole) {
    CListCtrlEx list;
    AddResultColumns(list);
    const std::string huge(100000, 'x');
    list.InsertRow(ListRow{"0", "", "", "", "", "", "", "", "", "", huge});
    EXPECT_LT(list.model()->data(list.model()->index(0, 10)).toString().size(), 3000);
    EXPECT_EQ(list.CellRef(0, 10), huge);
}

} // namespace
