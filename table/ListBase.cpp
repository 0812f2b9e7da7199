#include "table/ListBase.h"

#include "table/CellNumber.h"
#include "table/CharClass.h"
#include "table/FormatNumeric.h"

#include <algorithm>
#include <numeric>

namespace {

const std::string kEmpty;

} // namespace

int CListBase::AddCol(int sortType, const std::string& title, int width, int format, int /*reserved*/) {
    m_columns.push_back(ListColumn{sortType, title, width, format});
    for (ListRow& row : m_rows)
        row.resize(m_columns.size());
    RowsChanged();
    return static_cast<int>(m_columns.size()) - 1;
}

int CListBase::InsertRow(int columns, const std::string* cells, bool /*select*/, int /*position*/,
                         bool /*redraw*/) {
    ListRow row(m_columns.size());
    const int count = std::min<int>(columns, static_cast<int>(m_columns.size()));
    for (int i = 0; i < count; ++i)
        row[i] = cells[i];
    m_rows.push_back(std::move(row));
    RowsChanged();
    return static_cast<int>(m_rows.size()) - 1;
}

int CListBase::InsertRow(ListRow&& cells) {
    cells.resize(m_columns.size());
    m_rows.push_back(std::move(cells));
    RowsChanged();
    return static_cast<int>(m_rows.size()) - 1;
}

void CListBase::DeleteAllItems(bool /*redraw*/) {
    m_rows.clear();
    m_sortedColumn = -1;
    m_sortedAscending = true;
    RowsChanged();
}

bool CListBase::GetItemTextEx_Fast(int row, int column, std::string& text) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount()) {
        text.clear();
        return false;
    }
    text = m_rows[row][column];
    return true;
}

const std::string& CListBase::CellRef(int row, int column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return kEmpty;
    return m_rows[row][column];
}

void CListBase::SortColumn(int column, bool ascending, bool /*redraw*/) {
    if (column < 0 || column >= GetColumnCount())
        return;
    std::vector<size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (m_columns[column].sortType == ColSortText) {
        auto less = [&](size_t a, size_t b) {
            return ascending ? LessIgnoringCase(m_rows[a][column], m_rows[b][column])
                             : LessIgnoringCase(m_rows[b][column], m_rows[a][column]);
        };
        if (!std::is_sorted(order.begin(), order.end(), less))
            std::stable_sort(order.begin(), order.end(), less);
    } else {
        // Each number is read once and sorted next to its row index, not looked up per comparison.
        std::vector<std::pair<double, size_t>> keys(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            keys[i] = {LeadingNumber(m_rows[i][column]), i};
        auto less = [ascending](const std::pair<double, size_t>& a, const std::pair<double, size_t>& b) {
            return ascending ? a.first < b.first : b.first < a.first;
        };
        if (!std::is_sorted(keys.begin(), keys.end(), less))
            std::stable_sort(keys.begin(), keys.end(), less);
        for (size_t i = 0; i < keys.size(); ++i)
            order[i] = keys[i].second;
    }
    bool moved = false;
    for (size_t i = 0; i < order.size() && !moved; ++i)
        moved = order[i] != i;
    if (moved) {
        std::vector<ListRow> sorted;
        sorted.reserve(m_rows.size());
        for (size_t index : order)
            sorted.push_back(std::move(m_rows[index]));
        m_rows = std::move(sorted);
    }
    m_sortedColumn = column;
    m_sortedAscending = ascending;
    RowsChanged();
}

void CListBase::SortColumnToggle(int column) {
    const bool reverse = column == m_sortedColumn && m_sortedAscending;
    SortColumn(column, !reverse, true);
}

double CListBase::AvgColumn_d(int column, int matchColumn, std::string& matchText, double divisor) {
    CellMean mean;
    if (column >= 0 && column < GetColumnCount()) {
        const bool matchAll = matchColumn < 0 || matchColumn >= GetColumnCount();
        for (const ListRow& row : m_rows)
            if (matchAll || row[matchColumn] == matchText)
                mean.Add(row[column]);
    }
    const double result = mean.Mean(divisor);
    matchText = FormatFixed(result, 2);
    return result;
}

double CListBase::MaxColumn_d(int column) const {
    if (column < 0 || column >= GetColumnCount())
        return 0.0;
    bool any = false;
    double best = 0.0;
    for (const ListRow& row : m_rows) {
        if (row[column].empty())
            continue;
        const double value = LeadingNumber(row[column]);
        if (!any || value > best)
            best = value;
        any = true;
    }
    return best;
}
