#pragma once

#include <string>
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

using ListRow = std::vector<std::string>;

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
    virtual ~CListBase() = default;

    void Setup() {}
    int AddCol(int sortType, const std::string& title, int width, int format, int reserved = -1);

    // Appends a row of `columns` cells; cells past the column count are dropped, missing ones are empty.
    // Returns the new row's index.
    int InsertRow(int columns, const std::string* cells, bool select = false, int position = -999999,
                  bool redraw = true);
    int InsertRow(const ListRow& cells) {
        return InsertRow(static_cast<int>(cells.size()), cells.data(), false, -999999, true);
    }
    // Appends a row by taking over its cells (padded or cut to the column count).
    int InsertRow(ListRow&& cells);
    void DeleteAllItems(bool redraw = false);

    int GetItemCount() const { return static_cast<int>(m_rows.size()); }
    std::string GetItemCount_s_FAST() const { return std::to_string(m_rows.size()); }
    // Copies a cell into text; false (and an empty text) when the row or column does not exist.
    bool GetItemTextEx_Fast(int row, int column, std::string& text) const;
    // The cell in place; an empty string for a cell that does not exist.
    const std::string& CellRef(int row, int column) const;

    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    const ListColumn& Column(int column) const { return m_columns.at(column); }
    const ListRow& Row(int row) const { return m_rows.at(row); }

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
    // Replaces the export file with the list's CSV text; the view does it atomically. A bare list has no
    // file writer and fails. False with a message naming the file and the reason in error.
    virtual bool WriteExportFile(std::string& error);

private:
    std::vector<ListColumn> m_columns;
    std::vector<ListRow> m_rows;
    int m_sortedColumn = -1;
    bool m_sortedAscending = true;
    std::string m_exportError;
};
