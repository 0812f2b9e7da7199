#pragma once

#include "table/RecordPages.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a column orders its cells when sorted.
enum ColSortType {
    ColSortText = 0,      // as text, ignoring ASCII case
    ColSortNumber = 2,    // by the cell's leading number
    ColSortNumberAlt = 4, // by the cell's leading number
};

struct ListColumn {
    int sortType = ColSortText;
    std::string title;
    int width = 0;
    int format = 0; // 0 aligns left, 1 right
};

// A row's cells as the caller builds them.
using ListRow = std::vector<std::string>;

// The cells of a row kept by a CListBase, read in place: valid until the rows change. A record is a
// width byte, the end offset of each cell, then the cells' text back to back. Offsets are one byte
// when the row's text is under 256 bytes, as a run's row is, and four (any cell size) otherwise.
class ListRowView {
public:
    using value_type = std::string_view;
    using size_type = std::size_t;

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        const_iterator(const ListRowView* row, std::size_t cell) : m_row(row), m_cell(cell) {}
        std::string_view operator*() const { return (*m_row)[m_cell]; }
        const_iterator& operator++() {
            ++m_cell;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_cell;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_cell == other.m_cell; }

    private:
        const ListRowView* m_row;
        std::size_t m_cell;
    };
    using iterator = const_iterator;

    ListRowView(const char* record, std::size_t cells) : m_record(record), m_cells(cells) {}

    std::size_t size() const { return m_cells; }
    bool empty() const { return m_cells == 0; }
    std::string_view operator[](std::size_t cell) const {
        const char* text = m_record + 1 + m_cells * (Wide() ? sizeof(std::uint32_t) : 1);
        const std::uint32_t begin = cell == 0 ? 0 : End(cell - 1);
        return std::string_view(text + begin, End(cell) - begin);
    }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_cells); }
    // The text of all the cells, back to back.
    std::string_view Text() const {
        return std::string_view(m_record + 1 + m_cells * (Wide() ? sizeof(std::uint32_t) : 1),
                                m_cells == 0 ? 0 : End(m_cells - 1));
    }

    // A copy of the cells.
    operator ListRow() const {
        ListRow cells;
        cells.reserve(m_cells);
        for (const std::string_view cell : *this)
            cells.emplace_back(cell);
        return cells;
    }
    friend bool operator==(const ListRowView& row, const ListRow& cells) {
        if (row.size() != cells.size())
            return false;
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (row[i] != cells[i])
                return false;
        return true;
    }

private:
    bool Wide() const { return m_record[0] != 0; }
    std::uint32_t End(std::size_t cell) const {
        if (!Wide())
            return static_cast<unsigned char>(m_record[1 + cell]);
        std::uint32_t end;
        std::memcpy(&end, m_record + 1 + cell * sizeof end, sizeof end);
        return end;
    }

    const char* m_record;
    std::size_t m_cells;
};

// Owner of the application name under which a control keeps its own settings.
class MAppObj {
public:
    void SetAppName(const std::string& name) { m_appName = name; }
    const std::string& GetAppName() const { return m_appName; }

private:
    std::string m_appName;
};

// Settings location (organisation, application) of a control.
class MRegObj {
public:
    void Init(const std::string& organisation, const std::string& application) {
        m_regOrganisation = organisation;
        m_regApplication = application;
    }
    const std::string& RegOrganisation() const { return m_regOrganisation; }
    const std::string& RegApplication() const { return m_regApplication; }

private:
    std::string m_regOrganisation;
    std::string m_regApplication;
};

// The data of a report list: columns and rows of 8-bit text cells, with sorting, column means and
// maxima. No Qt: a view (CListCtrlEx) renders it and is told of changes through RowsChanged().
class CListBase : public MAppObj, public MRegObj {
public:
    CListBase() = default;
    CListBase(const CListBase& other);
    CListBase(CListBase&& other) noexcept;
    CListBase& operator=(const CListBase& other);
    CListBase& operator=(CListBase&& other) noexcept;
    virtual ~CListBase() = default;

    void Setup() {}
    int AddCol(int sortType, const std::string& title, int width, int format, int reserved = -1);

    // Appends a row of `columns` cells; cells past the column count are dropped, missing ones are empty.
    // Returns the new row's index.
    int InsertRow(int columns, const std::string* cells, bool select = false, int position = -999999,
                  bool redraw = true);
    // The same from views of the cells; the row keeps a copy of their text, as it does of any cells.
    int InsertRow(int columns, const std::string_view* cells);
    int InsertRow(const ListRow& cells) {
        return InsertRow(static_cast<int>(cells.size()), cells.data(), false, -999999, true);
    }
    int InsertRow(ListRow&& cells) { return InsertRow(static_cast<const ListRow&>(cells)); }
    void DeleteAllItems(bool redraw = false);
    // Removes every row and then every column: a table whose columns follow what it shows is refilled so.
    void DeleteAllColumns();

    int GetItemCount() const { return static_cast<int>(m_rows.size()); }
    std::string GetItemCount_s_FAST() const { return std::to_string(m_rows.size()); }
    // Copies a cell into text; false (and an empty text) when the row or column does not exist.
    bool GetItemTextEx_Fast(int row, int column, std::string& text) const;
    // The cell in place (valid until the rows change); empty for a cell that does not exist.
    std::string_view CellRef(int row, int column) const;

    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    const ListColumn& Column(int column) const { return m_columns.at(column); }
    // The row's cells in place (valid until the rows change); std::out_of_range for a row that does not
    // exist.
    ListRowView Row(int row) const {
        return ListRowView(m_rows.at(static_cast<std::size_t>(row)), m_columns.size());
    }

    // Stable sort by one column, ascending, in the way the column's sort type orders.
    void SortColumn(int column, bool ascending = true, bool redraw = true);
    // A user's sort click: ascending, or the reverse when this column is already sorted ascending.
    void SortColumnToggle(int column);
    int SortedColumn() const { return m_sortedColumn; }
    bool SortedAscending() const { return m_sortedAscending; }

    // Mean of the column's leading numbers over the rows whose match cell equals matchText (all rows
    // when matchColumn is -1), skipping empty cells, divided by divisor. Over no rows, or with a divisor
    // of 0, the mean is 0. matchText receives the mean as display text (two decimals).
    double AvgColumn_d(int column, int matchColumn, std::string& matchText, double divisor);
    // Largest leading number of the column's non-empty cells; 0 when there is none.
    double MaxColumn_d(int column) const;

    // Export folder and file name read by the CSV export action.
    std::string m_exportFolder;
    std::string m_exportFileName;

    // Context-menu actions; kListExportCsv writes every row as CSV (table/ListCsv.h) to the export
    // folder and file name. False when the action is unknown or failed; ExportError() then says why.
    static constexpr int kListExportCsv = 34;
    bool ProcessContextMenu(int action);
    const std::string& ExportError() const { return m_exportError; }

protected:
    // Told after every change of the rows, so a view can refresh.
    virtual void RowsChanged() {}
    // Told after every sort, before RowsChanged: oldIndexOf[i] is where the row now at i was, so a view
    // can move what it marks on rows (the selection) along with them.
    virtual void RowsReordered(const std::vector<std::uint32_t>& /*oldIndexOf*/) {}
    // Replaces the export file with the list's CSV text; the view does it atomically. A bare list has no
    // file writer and fails. False with a message naming the file and the reason in error.
    virtual bool WriteExportFile(std::string& error);

private:
    // Stores a row (cells past the column count dropped, missing ones empty) without telling the view.
    void StoreRow(int columns, const std::string_view* cells);
    void CopyRowsOf(const CListBase& other);
    ListRowView RowAt(std::size_t row) const { return ListRowView(m_rows[row], m_columns.size()); }

    std::vector<ListColumn> m_columns;
    std::vector<const char*> m_rows; // each row's record, in the list's order
    RecordPages m_records;           // where the records are: a row costs its text, offsets and a pointer
    int m_sortedColumn = -1;
    bool m_sortedAscending = true;
    std::string m_exportError;
};
