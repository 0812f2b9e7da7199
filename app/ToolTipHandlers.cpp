// What each control of the upper block does, said where the pointer rests.
#include "app/DialogTemplate.h"
#include "app/TrelvaneDlg.h"

#include <QPushButton>

void CTrelvaneDlg::AddToolTips() {
    struct SortTip {
        int id;
        const char* column;
        bool text;
    };
    static constexpr SortTip kSorts[] = {
        {IDC_SORT_NUMBER, "#", false},
        {IDC_SORT_DIRECTION, "Direction", true},
        {IDC_SORT_TYPE, "Type", true},
        {IDC_SORT_SIZE, "Size", false},
        {IDC_SORT_OUTSTANDING, "Outstanding IOs", false},
        {IDC_SORT_IOS, "IO/Sec", false},
        {IDC_SORT_MBS, "MB/Sec", false},
        {IDC_SORT_MIN_LATENCY, "Min_Latency", false},
        {IDC_SORT_AVG_LATENCY, "Avg_Latency", false},
        {IDC_SORT_MAX_LATENCY, "Max_Latency", false},
    };
    for (const SortTip& sort : kSorts)
        Button(sort.id)->setToolTip(
            QStringLiteral(
                "Sorts the runs by \"%1\", %2, in the Data table and the chart.\n"
                "Click again for the reverse order. Clicking the column's title in Data does the same.")
                .arg(QLatin1String(sort.column),
                     sort.text ? QStringLiteral("alphabetically") : QStringLiteral("smallest first")));

    const auto filterTip = [](const char* what) {
        return QStringLiteral(
                   "Shows in the chart's details only the runs %1.\n"
                   "<All> shows every run. The averages and the Data table always cover every run.")
            .arg(QLatin1String(what));
    };
    m_comboDirection->setToolTip(filterTip(
        "of this direction (Read, Write, or Mixed: runs that read and write, such as Mixed 70/30)"));
    m_comboType->setToolTip(filterTip("of this access type (random or sequential)"));
    m_comboOutstanding->setToolTip(filterTip("with this many outstanding I/Os"));
    m_btnRefresh->setToolTip(QStringLiteral("Reads this machine's disk partitions again."));
    Button(IDC_EXPORT)
        ->setToolTip(QStringLiteral("Writes the Data table and the Disk Partitions table\n"
                                    "as Sqlio_Data.csv and Sqlio_Partitions.csv into a folder you pick."));
}
