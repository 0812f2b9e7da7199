// The filter lists and the sort buttons of the window.
#include "app/TrelvaneDlg.h"

#include "report/ReportParser.h"
#include "widgets/Text.h"

#include <unordered_set>

void CTrelvaneDlg::FillFilterCombo(MComboBox& list, int column) {
    list.ResetContent();
    list.AddString(QStringLiteral("<All>"));
    std::unordered_set<std::string> seen;
    const int rows = m_listData->GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const std::string& cell = m_listData->CellRef(row, column);
        const size_t start = cell.find_first_not_of(" \t\r\n\v\f");
        if (start == std::string::npos)
            continue;
        std::string text = cell.substr(start);
        if (seen.insert(text).second)
            list.AddString(FromBytes(text));
    }
    list.SetCurSel(0);
}

void CTrelvaneDlg::OnFilterChange() {
    ShowTab(m_tabCtrl->GetCurSel());
}

namespace {

void SortAndShow(CTrelvaneDlg& dialog, int column) {
    dialog.m_listData->SortColumnToggle(column);
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

FilterSelection CTrelvaneDlg::ReadFilterSelection() const {
    const auto value = [](const MComboBox* list) {
        const int index = list->GetCurSel();
        return index > 0 ? ToBytes(list->GetLBText(index)) : std::string();
    };
    return FilterSelection{value(m_comboDirection), value(m_comboType), value(m_comboOutstanding)};
}

bool CTrelvaneDlg::PassesFilters(int row, const FilterSelection& selection) const {
    if (!selection.direction.empty() && m_listData->CellRef(row, kColDirection) != selection.direction)
        return false;
    if (!selection.type.empty() && m_listData->CellRef(row, kColType) != selection.type)
        return false;
    if (!selection.outstanding.empty() && m_listData->CellRef(row, kColOutstanding) != selection.outstanding)
        return false;
    return true;
}
