// The filter lists and the sort buttons, driven through the real window.
#include "analysis/Filters.h"
#include "app/DialogTemplate.h"
#include "report/ResultRow.h"
#include "table/CellNumber.h"
#include "tests/filters_support.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

SqlioRun Make(const char* direction, const char* type, const char* outstanding) {
    SqlioRun run;
    run.direction = direction;
    run.type = type;
    run.outstanding = outstanding;
    return run;
}

class FiltersTest : public AnalysisWindowTest {};

TEST_F(FiltersTest, ListsHoldAllThenTheDistinctValuesInTheirOrder) {
    SqlioRun broken = Make("reading", "random", "4");
    broken.broken = true;
    Load({Make("writing", "random", "8"), Make("reading", "sequential", "1"), broken,
          Make("reading", "Random", "16"), Make("writing", "random", "2"), Make("reading", "1st", "8")});
    ASSERT_EQ(m_dialog->m_listData->GetItemCount(), 6);

    // Sorted ignoring case, equal ones in order of appearance; "<All>" stays first although "1st"
    // orders ahead of "<" byte-wise.
    EXPECT_EQ(Entries(*m_dialog->m_comboType), (Texts{"<All>", "1st", "random", "Random", "sequential"}));
    EXPECT_EQ(Entries(*m_dialog->m_comboDirection), (Texts{"<All>", "Read", "Write"}));
    // First appearance after the numeric sort: 16 after 8, not between 1 and 2 as text would put it.
    // The error row's outstanding count (its run said 4) is not in the table, so it adds nothing.
    EXPECT_EQ(Entries(*m_dialog->m_comboOutstanding), (Texts{"<All>", "1", "2", "8", "16"}));
    for (MComboBox* list : {m_dialog->m_comboType, m_dialog->m_comboDirection, m_dialog->m_comboOutstanding})
        EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(m_dialog->ReadFilterSelection().direction.empty());
    // The load's two sorts leave the table in report order.
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(m_dialog->m_listData->CellRef(row, kColNumber), std::to_string(row));

    // The value that sorts ahead of "<All>" is still a filter value.
    PickEntry(*m_dialog->m_comboType, QStringLiteral("1st"));
    EXPECT_EQ(m_dialog->ReadFilterSelection().type, "1st");
    EXPECT_EQ(DetailLabels(), (Texts{"5. Read 1st 8KB 8O: 1.00"}));
}

TEST_F(FiltersTest, ListsBeforeAndAcrossLoads) {
    for (MComboBox* list : {m_dialog->m_comboType, m_dialog->m_comboDirection, m_dialog->m_comboOutstanding})
        EXPECT_EQ(list->GetCount(), 0);
    const FilterSelection none = m_dialog->ReadFilterSelection();
    EXPECT_FALSE(none.Any());

    // A report without a single run: only "<All>".
    Open(WriteReport({}, "empty.txt"));
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 0);
    EXPECT_EQ(Entries(*m_dialog->m_comboType), (Texts{"<All>"}));
    EXPECT_EQ(Entries(*m_dialog->m_comboOutstanding), (Texts{"<All>"}));

    const QString report = WriteReport({Make("reading", "random", "2"), Make("writing", "sequential", "4")});
    Open(report);
    PickEntry(*m_dialog->m_comboDirection, QStringLiteral("Write"));
    PickEntry(*m_dialog->m_comboOutstanding, QStringLiteral("4"));

    // Selections persist across tab switches and sorts.
    SelectTab(6);
    SelectTab(3);
    m_dialog->Button(IDC_SORT_IOS)->click();
    FilterSelection kept = m_dialog->ReadFilterSelection();
    EXPECT_EQ(kept.direction, "Write");
    EXPECT_EQ(kept.outstanding, "4");

    // A file that cannot be opened leaves the lists and selections as they were; the table is emptied.
    m_prompts->messageAnswers.push_back(QMessageBox::No);
    Open(m_folder.filePath(QStringLiteral("missing.txt")));
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 0);
    kept = m_dialog->ReadFilterSelection();
    EXPECT_EQ(kept.direction, "Write");
    EXPECT_EQ(Entries(*m_dialog->m_comboOutstanding), (Texts{"<All>", "2", "4"}));

    // A load that opens resets every list to "<All>".
    Open(report);
    EXPECT_FALSE(m_dialog->ReadFilterSelection().Any());
}

TEST_F(FiltersTest, CellBytesThatAreNotTextStillFilter) {
    // A byte that is not valid UTF-8 shows as a replacement character but filters by its own bytes.
    CListCtrlEx& table = *m_dialog->m_listData;
    for (const char* type : {"rand\xFFom", "random"}) {
        ListRow row(kResultColumnCount);
        row[kColNumber] = std::to_string(table.GetItemCount());
        row[kColType] = type;
        table.InsertRow(row);
    }
    m_dialog->FillFilterCombo(*m_dialog->m_comboType, kColType);
    ASSERT_EQ(m_dialog->m_comboType->GetCount(), 3);
    const int odd = m_dialog->m_comboType->GetLBText(1) == QStringLiteral("random") ? 2 : 1;
    m_dialog->m_comboType->SetCurSel(odd);
    const FilterSelection selection = m_dialog->ReadFilterSelection();
    EXPECT_EQ(selection.type, "rand\xFFom");
    EXPECT_TRUE(PassesFilters(table, 0, selection));
    EXPECT_FALSE(PassesFilters(table, 1, selection));
}

struct SortButton {
    int id;
    int column;
};

TEST_F(FiltersTest, EachSortButtonOrdersItsColumnAndASecondClickReverses) {
    // Every column orders the rows differently, so a button wired to the wrong column shows.
    std::vector<SqlioRun> runs;
    const char* directions[] = {"writing", "reading", "writing", "reading", "reading"};
    const char* types[] = {"sequential", "random", "random", "sequential", "random"};
    const char* sizes[] = {"64KB", "8KB", "256KB", "16KB", "4KB"};
    const char* outstanding[] = {"2", "16", "1", "8", "4"};
    const char* ios[] = {"900.5", "80.25", "1200", "7.5", "300"};
    const char* mbs[] = {"3.5", "90", "12", "45.25", "0.5"};
    const char* minLatency[] = {"4", "0", "9", "2", "1"};
    const char* avgLatency[] = {"3", "12", "7", "1", "25"};
    const char* maxLatency[] = {"150", "40", "99", "1000", "70"};
    for (int i = 0; i < 5; ++i) {
        SqlioRun run = Make(directions[i], types[i], outstanding[i]);
        run.size = sizes[i];
        run.ios = ios[i];
        run.mbs = mbs[i];
        run.minLatency = minLatency[i];
        run.avgLatency = avgLatency[i];
        run.maxLatency = maxLatency[i];
        runs.push_back(run);
    }
    Load(runs);
    SelectTab(0);
    CListCtrlEx& table = *m_dialog->m_listData;

    const SortButton buttons[] = {
        {IDC_SORT_NUMBER, kColNumber},
        {IDC_SORT_DIRECTION, kColDirection},
        {IDC_SORT_TYPE, kColType},
        {IDC_SORT_SIZE, kColSize},
        {IDC_SORT_OUTSTANDING, kColOutstanding},
        {IDC_SORT_IOS, kColIOsPerSec},
        {IDC_SORT_MBS, kColMBsPerSec},
        {IDC_SORT_MIN_LATENCY, kColMinLatency},
        {IDC_SORT_AVG_LATENCY, kColAvgLatency},
        {IDC_SORT_MAX_LATENCY, kColMaxLatency},
    };
    const auto ordered = [&](int column, bool ascending) {
        for (int row = 1; row < table.GetItemCount(); ++row) {
            const std::string_view a = table.CellRef(row - 1, column);
            const std::string_view b = table.CellRef(row, column);
            if (table.Column(column).sortType == ColSortText) {
                if (ascending ? a > b : a < b) // these cells all begin with a capital or all with lower case
                    return false;
            } else if (ascending ? LeadingNumber(a) > LeadingNumber(b)
                                 : LeadingNumber(a) < LeadingNumber(b)) {
                return false;
            }
        }
        return true;
    };
    // Right after a load the table is sorted by "#": a click on "#" reverses it.
    m_dialog->Button(IDC_SORT_NUMBER)->click();
    EXPECT_EQ(table.CellRef(0, kColNumber), "4");

    // Start from an order that no column has, so the first click of every button sorts ascending.
    for (const SortButton& button : buttons) {
        m_dialog->Button(IDC_SORT_MAX_LATENCY)->click();
        if (button.id == IDC_SORT_MAX_LATENCY)
            m_dialog->Button(IDC_SORT_MIN_LATENCY)->click();
        const int builds = m_dialog->ChartBuildCount();
        m_dialog->Button(button.id)->click();
        EXPECT_EQ(m_dialog->ChartBuildCount(), builds + 1) << button.id;
        EXPECT_TRUE(ordered(button.column, true)) << "ascending, button " << button.id;
        m_dialog->Button(button.id)->click();
        EXPECT_TRUE(ordered(button.column, false)) << "descending, button " << button.id;
        m_dialog->Button(button.id)->click();
        EXPECT_TRUE(ordered(button.column, true)) << "third click, button " << button.id;
    }

    // The chart follows the table's order.
    m_dialog->Button(IDC_SORT_MBS)->click();
    m_dialog->Button(IDC_SORT_MBS)->click();
    EXPECT_EQ(DetailLabels().front(), "1. Read random 8KB 16O: 90.00");
    EXPECT_EQ(DetailLabels().back(), "4. Read random 4KB 4O: 0.50");

    // A load always ends in report order, whatever the user's last sort was.
    m_dialog->Button(IDC_SORT_OUTSTANDING)->click();
    m_dialog->Button(IDC_SORT_OUTSTANDING)->click();
    Load(runs);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(table.CellRef(row, kColNumber), std::to_string(row));
    EXPECT_EQ(Entries(*m_dialog->m_comboOutstanding), (Texts{"<All>", "1", "2", "4", "8", "16"}));
}

TEST_F(FiltersTest, EveryChangeRebuildsTheVisibleTabOnce) {
    Load({Make("reading", "random", "1"), Make("writing", "sequential", "2")});
    SelectTab(1);
    int builds = m_dialog->ChartBuildCount();

    PickEntry(*m_dialog->m_comboDirection, QStringLiteral("Write"));
    EXPECT_EQ(m_dialog->ChartBuildCount(), ++builds);
    m_dialog->Button(IDC_SORT_TYPE)->click();
    EXPECT_EQ(m_dialog->ChartBuildCount(), ++builds);
    SelectTab(4);
    EXPECT_EQ(m_dialog->ChartBuildCount(), ++builds);
    Load({Make("reading", "random", "1")});
    EXPECT_EQ(m_dialog->ChartBuildCount(), ++builds);

    // On "Data" a filter change or sort re-runs that tab's view only: no chart is built.
    SelectTab(6);
    PickEntry(*m_dialog->m_comboType, QStringLiteral("random"));
    m_dialog->Button(IDC_SORT_SIZE)->click();
    EXPECT_EQ(m_dialog->ChartBuildCount(), builds);
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    SelectTab(0);
    EXPECT_EQ(m_dialog->ChartBuildCount(), builds + 1);
    EXPECT_EQ(ChartLines()[6].text, "Details ***Filtered***");
}

// A Direction entry longer than its box ("Mixed 70/30") reads whole in the open list, and the box's
// tooltip names the mixed runs beside Read and Write.
TEST_F(FiltersTest, TheOpenListIsAsWideAsItsLongestEntry) {
    m_dialog->show();
    Open(ExamplePath("diskspd_sweep_crlf.txt"));
    MComboBox& direction = *m_dialog->m_comboDirection;
    ASSERT_GE(direction.FindStringExact(QStringLiteral("Mixed 70/30")), 0);
    const QSize box = direction.size();
    QStyleOptionComboBox option;
    option.initFrom(&direction);
    const QRect field = direction.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, &direction);
    // Where the style's closed field is narrower than the entry (Fusion, Adwaita), only the open list
    // shows it whole; Windows' field may fit it already.
    if (!kWindowsBuild) {
        ASSERT_LT(field.width(), direction.fontMetrics().horizontalAdvance(QStringLiteral("Mixed 70/30")));
    }
    direction.showPopup();
    EXPECT_GE(direction.view()->viewport()->width(), direction.view()->sizeHintForColumn(0));
    direction.hidePopup();
    EXPECT_EQ(direction.size(), box);
    EXPECT_TRUE(direction.toolTip().contains(QStringLiteral("Mixed"))) << direction.toolTip().toStdString();
}

} // namespace
