// The filter lists and the sort buttons of the window.
#include "app/TrelvaneDlg.h"

#include "analysis/Filters.h"
#include "app/DialogTemplate.h"

#include "report/ResultRow.h"
#include "widgets/Text.h"

#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <new>
#include <utility>

void CTrelvaneDlg::FillFilterCombo(MComboBox& list, int column) {
    // The entries come in their final order, "<All>" first even where a value sorts ahead of "<"; each
    // keeps its cell bytes, which the filter compares, whatever the text looks like on screen.
    const std::vector<std::string> entries = FilterListEntries(*m_listData, column, list.IsSorted());
    const QSignalBlocker quiet(list);
    list.setUpdatesEnabled(false);
    list.ResetContent();
    for (const std::string& entry : entries)
        list.addItem(FromBytes(entry), QByteArray(entry.data(), static_cast<qsizetype>(entry.size())));
    list.SetCurSel(0);
    list.setUpdatesEnabled(true);
}

void CTrelvaneDlg::OnFilterChange() {
    ShowTab(m_tabCtrl->GetCurSel());
}

namespace {

void SortAndShow(CTrelvaneDlg& dialog, int column) {
    // The chart is built again for the new order anyway; letting its lines go first keeps the sort's
    // room from coming on top of them.
    dialog.m_chart->Clear(false);
    // The sort's room grows with the table. A sort that cannot get it changes nothing: the rows move
    // only once their new order is complete.
    try {
        dialog.m_listData->SortColumnToggle(column);
    } catch (const std::bad_alloc&) {
        dialog.Prompts().Message(
            &dialog,
            QStringLiteral("Not enough memory to sort %1 rows. The table keeps its order.")
                .arg(QLocale().toString(dialog.m_listData->GetItemCount())),
            QMessageBox::Ok, QMessageBox::Warning);
    }
    dialog.ShowTab(dialog.m_tabCtrl->GetCurSel());
}

} // namespace

void CTrelvaneDlg::OnSortNumber() {
    SortAndShow(*this, kColNumber);
}
void CTrelvaneDlg::OnSortDirection() {
    SortAndShow(*this, kColDirection);
}
void CTrelvaneDlg::OnSortType() {
    SortAndShow(*this, kColType);
}
void CTrelvaneDlg::OnSortSize() {
    SortAndShow(*this, kColSize);
}
void CTrelvaneDlg::OnSortOutstanding() {
    SortAndShow(*this, kColOutstanding);
}
void CTrelvaneDlg::OnSortIOs() {
    SortAndShow(*this, kColIOsPerSec);
}
void CTrelvaneDlg::OnSortMBs() {
    SortAndShow(*this, kColMBsPerSec);
}
void CTrelvaneDlg::OnSortMinLatency() {
    SortAndShow(*this, kColMinLatency);
}
void CTrelvaneDlg::OnSortAvgLatency() {
    SortAndShow(*this, kColAvgLatency);
}
void CTrelvaneDlg::OnSortMaxLatency() {
    SortAndShow(*this, kColMaxLatency);
}

void CTrelvaneDlg::OnDataHeaderClicked(int column) {
    // A click on a column title is a click on that column's sort button: the same handler, so the same
    // order, toggling and rebuild. "Diag Details" has no button and does not sort.
    static constexpr std::pair<int, int> kSortButtons[] = {
        {kColNumber, IDC_SORT_NUMBER},
        {kColDirection, IDC_SORT_DIRECTION},
        {kColType, IDC_SORT_TYPE},
        {kColSize, IDC_SORT_SIZE},
        {kColOutstanding, IDC_SORT_OUTSTANDING},
        {kColIOsPerSec, IDC_SORT_IOS},
        {kColMBsPerSec, IDC_SORT_MBS},
        {kColMinLatency, IDC_SORT_MIN_LATENCY},
        {kColAvgLatency, IDC_SORT_AVG_LATENCY},
        {kColMaxLatency, IDC_SORT_MAX_LATENCY},
    };
    for (const auto& [sortColumn, button] : kSortButtons)
        if (sortColumn == column)
            Button(button)->click();
}

FilterSelection CTrelvaneDlg::ReadFilterSelection() const {
    const auto value = [](const MComboBox* list) {
        const int index = list->GetCurSel();
        if (index <= 0)
            return std::string();
        const QVariant bytes = list->itemData(index);
        if (bytes.typeId() == QMetaType::QByteArray) {
            const QByteArray cell = bytes.toByteArray();
            return std::string(cell.constData(), static_cast<size_t>(cell.size()));
        }
        return ToBytes(list->GetLBText(index));
    };
    return FilterSelection{value(m_comboDirection), value(m_comboType), value(m_comboOutstanding)};
}
