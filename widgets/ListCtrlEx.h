#pragma once

#include "table/ListBase.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QTableView>
#include <cstdint>
#include <optional>
#include <vector>

class ListTableModel;

// The Qt view of a CListBase: a table view over a model that reads the rows in place, so a million
// rows cost no Qt objects. While redraw is off, changes are gathered and shown by one reset.
class CListCtrlEx : public QTableView, public CListBase {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    int AddCol(int sortType, const std::string& title, int width, int format, int reserved = -1);
    // Switches repainting off or on; switching on shows every change made meanwhile at once.
    void SetRedraw(bool on);

    // The selected rows, in the table's order, and how many they are (counted without listing them).
    std::vector<int> SelectedRows() const;
    std::size_t SelectedRowCount() const;
    // Ctrl+C and the context menu's "Copy": the selected rows with the header line as tab-separated text
    // (table/ListTsv.h) on the clipboard. Nothing is copied when no row is selected. A selection above
    // the copy bounds, or one that memory cannot hold, leaves the clipboard as it was and is told
    // through Warning.
    void CopySelectedRows();
    QAction* CopyAction() const { return m_copy; }
    QAction* SelectAllAction() const { return m_selectAll; }

signals:
    // A gesture of the table that could not be carried out, said in words for the user.
    void Warning(const QString& text);

protected:
    void RowsChanged() override;
    void RowsReordered(const std::vector<std::uint32_t>& oldIndexOf) override;

private:
    void ResetKeepingWidths();
    // A new column's width: its own, or its title's where that is wider.
    int FirstWidth(int column) const;
    // Writes the CSV text through QSaveFile: the file appears whole or not at all.
    bool WriteExportFile(std::string& error) override;

private:
    // The header's sort indicator shows the list's own order: the column it was last sorted by and the
    // direction, or nothing before the first sort.
    void UpdateSortIndicator();

    // The selected rows and the current one across a sort, at their new places, until the view shows
    // the new order (at once, or when redraw comes back on).
    struct KeptSelection {
        std::vector<int> rows;
        int current = -1;
    };
    void RestoreSelection();

    ListTableModel* m_model;
    std::optional<KeptSelection> m_kept;
    bool m_justReordered = false;
    QAction* m_copy = nullptr;
    QAction* m_selectAll = nullptr;
    bool m_redraw = true;
    bool m_dirty = false;
};

class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListTableModel(const CListBase& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_list(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Announces the list's current rows and columns to the views.
    void Reset() {
        beginResetModel();
        m_rowCount = m_list.GetItemCount();
        m_columnCount = m_list.GetColumnCount();
        endResetModel();
    }

private:
    const CListBase& m_list;
    // The counts last announced: the list may grow while its view is not told (redraw off).
    int m_rowCount = 0;
    int m_columnCount = 0;
};
