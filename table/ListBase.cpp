#include "table/ListBase.h"

#include "table/CellNumber.h"
#include "table/CharClass.h"
#include "table/FormatNumeric.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <numeric>
#include <utility>

namespace {

// Copies a cell's text. Cells are mostly a few bytes long, so short ones are copied with fixed-size
// moves, which the compiler turns into plain loads and stores, instead of a library call each.
void CopyCell(char* to, std::string_view cell) {
    const char* from = cell.data();
    const std::size_t size = cell.size();
    if (size > 16) {
        std::memcpy(to, from, size);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else {
        for (std::size_t i = 0; i < size; ++i)
            to[i] = from[i];
    }
}

// A number as a key whose unsigned order is the number's order; 0 and -0 are equal, as they compare.
std::uint64_t OrderedKey(double number) {
    if (number == 0.0)
        number = 0.0;
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// A row index: a list has fewer than 2^31 rows (its count is an int), and half the width of a size_t
// halves the room a sort takes besides the rows.
using RowIndex = std::uint32_t;

// The indexes 0..n-1 ordered by keys, equal keys in index order: a radix sort a byte at a time, from
// the lowest, that skips the bytes all keys share. The keys are used up.
std::vector<RowIndex> StableOrder(std::vector<std::uint64_t> keys) {
    const size_t count = keys.size();
    std::vector<RowIndex> order(count);
    std::iota(order.begin(), order.end(), RowIndex{0});
    std::vector<std::size_t> histogram(8 * 256, 0);
    for (const std::uint64_t key : keys)
        for (int digit = 0; digit < 8; ++digit)
            ++histogram[static_cast<size_t>(digit) * 256 + ((key >> (8 * digit)) & 0xFF)];
    std::vector<std::uint64_t> keysOut(count);
    std::vector<RowIndex> orderOut(count);
    for (int digit = 0; digit < 8; ++digit) {
        std::size_t* const buckets = histogram.data() + static_cast<size_t>(digit) * 256;
        if (count == 0 || buckets[(keys[0] >> (8 * digit)) & 0xFF] == count)
            continue; // every key has this byte
        std::size_t start = 0;
        for (int bucket = 0; bucket < 256; ++bucket)
            start += std::exchange(buckets[bucket], start);
        for (size_t i = 0; i < count; ++i) {
            const std::size_t to = buckets[(keys[i] >> (8 * digit)) & 0xFF]++;
            keysOut[to] = keys[i];
            orderOut[to] = order[i];
        }
        keys.swap(keysOut);
        order.swap(orderOut);
    }
    return order;
}

} // namespace

int CListBase::AddCol(int sortType, const std::string& title, int width, int format, int /*reserved*/) {
    // Records hold one offset per column, so rows already in get an empty cell by being stored again.
    std::vector<ListRow> rows;
    rows.reserve(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        rows.push_back(RowAt(row));
    m_columns.push_back(ListColumn{sortType, title, width, format});
    const int sortedColumn = m_sortedColumn;
    const bool sortedAscending = m_sortedAscending;
    DeleteAllItems();
    for (const ListRow& row : rows)
        InsertRow(row);
    m_sortedColumn = sortedColumn;
    m_sortedAscending = sortedAscending;
    RowsChanged();
    return static_cast<int>(m_columns.size()) - 1;
}

int CListBase::InsertRow(int columns, const std::string* cells, bool /*select*/, int /*position*/,
                         bool /*redraw*/) {
    const int count = std::clamp<int>(columns, 0, static_cast<int>(m_columns.size()));
    std::vector<std::string_view> views(cells, cells + count);
    return InsertRow(count, views.data());
}

int CListBase::InsertRow(int columns, const std::string_view* cells) {
    StoreRow(columns, cells);
    RowsChanged();
    return static_cast<int>(m_rows.size()) - 1;
}

void CListBase::StoreRow(int columns, const std::string_view* cells) {
    const std::size_t cellCount = m_columns.size();
    const std::size_t given =
        static_cast<std::size_t>(std::clamp<int>(columns, 0, static_cast<int>(cellCount)));
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < given; ++i)
        textBytes += cells[i].size();
    if (textBytes > UINT32_MAX)
        throw std::bad_alloc(); // a row of more than 4 GB of text cannot be a report's
    const bool wide = textBytes > UCHAR_MAX;
    const std::size_t offsetBytes = wide ? sizeof(std::uint32_t) : 1;
    // The row's slot first, so that a row is added complete or not at all.
    if (m_rows.size() == m_rows.capacity())
        m_rows.reserve(std::max<std::size_t>(64, m_rows.size() * 2));
    char* record = m_records.Allocate(1 + cellCount * offsetBytes + textBytes);
    record[0] = wide ? 1 : 0;
    char* text = record + 1 + cellCount * offsetBytes;
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < cellCount; ++i) {
        if (i < given && !cells[i].empty()) {
            CopyCell(text + end, cells[i]);
            end += static_cast<std::uint32_t>(cells[i].size());
        }
        if (wide)
            std::memcpy(record + 1 + i * sizeof end, &end, sizeof end);
        else
            record[1 + i] = static_cast<char>(end);
    }
    m_rows.push_back(record);
}

CListBase::CListBase(const CListBase& other)
    : MAppObj(other), MRegObj(other), m_exportFolder(other.m_exportFolder),
      m_exportFileName(other.m_exportFileName), m_columns(other.m_columns),
      m_sortedColumn(other.m_sortedColumn), m_sortedAscending(other.m_sortedAscending),
      m_exportError(other.m_exportError) {
    CopyRowsOf(other);
}

CListBase::CListBase(CListBase&& other) noexcept
    : MAppObj(std::move(other)), MRegObj(std::move(other)), m_exportFolder(std::move(other.m_exportFolder)),
      m_exportFileName(std::move(other.m_exportFileName)), m_columns(std::move(other.m_columns)),
      m_rows(std::move(other.m_rows)), m_records(std::move(other.m_records)),
      m_sortedColumn(other.m_sortedColumn), m_sortedAscending(other.m_sortedAscending),
      m_exportError(std::move(other.m_exportError)) {
    other.m_rows.clear();
}

CListBase& CListBase::operator=(const CListBase& other) {
    if (this != &other)
        *this = CListBase(other);
    return *this;
}

CListBase& CListBase::operator=(CListBase&& other) noexcept {
    if (this == &other)
        return *this;
    MAppObj::operator=(std::move(other));
    MRegObj::operator=(std::move(other));
    m_exportFolder = std::move(other.m_exportFolder);
    m_exportFileName = std::move(other.m_exportFileName);
    m_columns = std::move(other.m_columns);
    m_rows = std::move(other.m_rows);
    m_records = std::move(other.m_records);
    m_sortedColumn = other.m_sortedColumn;
    m_sortedAscending = other.m_sortedAscending;
    m_exportError = std::move(other.m_exportError);
    other.m_rows.clear();
    return *this;
}

void CListBase::CopyRowsOf(const CListBase& other) {
    std::vector<std::string_view> cells;
    for (std::size_t row = 0; row < other.m_rows.size(); ++row) {
        const ListRowView view = other.RowAt(row);
        cells.assign(view.begin(), view.end());
        StoreRow(static_cast<int>(cells.size()), cells.data());
    }
}

void CListBase::DeleteAllItems(bool /*redraw*/) {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_records.Release();
    m_sortedColumn = -1;
    m_sortedAscending = true;
    RowsChanged();
}

void CListBase::DeleteAllColumns() {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_records.Release();
    m_columns.clear();
    m_sortedColumn = -1;
    m_sortedAscending = true;
    RowsChanged();
}

bool CListBase::GetItemTextEx_Fast(int row, int column, std::string& text) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount()) {
        text.clear();
        return false;
    }
    text = RowAt(static_cast<std::size_t>(row))[static_cast<std::size_t>(column)];
    return true;
}

std::string_view CListBase::CellRef(int row, int column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return {};
    return RowAt(static_cast<std::size_t>(row))[static_cast<std::size_t>(column)];
}

void CListBase::SortColumn(int column, bool ascending, bool /*redraw*/) {
    if (column < 0 || column >= GetColumnCount())
        return;
    // The new order of the rows, as indexes into m_rows.
    std::vector<RowIndex> order;
    if (m_columns[column].sortType == ColSortText) {
        order.resize(m_rows.size());
        std::iota(order.begin(), order.end(), RowIndex{0});
        auto less = [&](RowIndex a, RowIndex b) {
            return ascending ? LessIgnoringCase(RowAt(a)[column], RowAt(b)[column])
                             : LessIgnoringCase(RowAt(b)[column], RowAt(a)[column]);
        };
        if (!std::is_sorted(order.begin(), order.end(), less))
            std::stable_sort(order.begin(), order.end(), less);
    } else {
        // Each number is read once, as a key whose unsigned order is the numbers' order, and the row
        // indexes are sorted by it a byte at a time: stable, and without comparisons.
        std::vector<std::uint64_t> keys(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i) {
            const std::uint64_t key = OrderedKey(LeadingNumber(RowAt(i)[column]));
            keys[i] = ascending ? key : ~key;
        }
        order = StableOrder(std::move(keys));
    }
    bool moved = false;
    for (std::size_t i = 0; i < order.size() && !moved; ++i)
        moved = order[i] != i;
    if (moved) {
        // Only the rows' pointers move, never their records.
        std::vector<const char*> sorted(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            sorted[i] = m_rows[order[i]];
        m_rows = std::move(sorted);
    }
    RowsReordered(order);
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
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const ListRowView row = RowAt(i);
            if (matchAll || row[matchColumn] == matchText)
                mean.Add(row[column]);
        }
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
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const std::string_view cell = RowAt(i)[static_cast<std::size_t>(column)];
        if (cell.empty())
            continue;
        const double value = LeadingNumber(cell);
        if (!any || value > best)
            best = value;
        any = true;
    }
    return best;
}
