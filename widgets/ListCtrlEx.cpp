#include "widgets/ListCtrlEx.h"

#include "platform/PathText.h"

#include "table/ListCsv.h"
#include "table/ListTsv.h"
#include "widgets/Text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace {

// A cell is shown up to this many bytes; the rest stays in the row and is exported whole.
constexpr size_t kShownCellBytes = 2000;

} // namespace

int ListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_list.GetItemCount() || index.column() >= m_list.GetColumnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const std::string_view cell = m_list.CellRef(index.row(), index.column());
        if (role == Qt::DisplayRole && cell.size() > kShownCellBytes)
            return FromBytes(cell.substr(0, kShownCellBytes)) + QStringLiteral("…");
        if (role == Qt::ToolTipRole && cell.size() > kShownCellBytes * 4)
            return FromBytes(cell.substr(0, kShownCellBytes * 4)) + QStringLiteral("…");
        return FromBytes(cell);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = m_list.Column(index.column()).format == 1;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_list.GetColumnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return FromBytes(m_list.Column(section).title);
    if (role == Qt::ToolTipRole)
        return FromBytes(m_list.Column(section).title); // a title cut short by its width reads whole here
    if (role == Qt::TextAlignmentRole) // a title aligns like its column, and a cut one keeps its start
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (m_list.Column(section).format == 1 ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableView(parent), m_model(new ListTableModel(*this, this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Clicks on the header are the window's to answer: the view itself never sorts the model, and a
    // press on a title does not select (a column of a row-selecting view is its first row, which would
    // take the selection from the run the user was looking at).
    setSortingEnabled(false);
    disconnect(horizontalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(horizontalHeader(), &QHeaderView::sectionEntered, this, nullptr);
    // A click on a section that does not sort must not leave the header pointing at it.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CListCtrlEx::UpdateSortIndicator);
    m_copy = new QAction(QStringLiteral("&Copy"), this);
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetShortcut);
    connect(m_copy, &QAction::triggered, this, &CListCtrlEx::CopySelectedRows);
    m_selectAll = new QAction(QStringLiteral("Select &All"), this);
    m_selectAll->setShortcut(QKeySequence::SelectAll);
    m_selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(m_selectAll, &QAction::triggered, this, &QTableView::selectAll);
    addAction(m_copy);
    addAction(m_selectAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::vector<int> CListCtrlEx::SelectedRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr)
        return rows;
    // By ranges, not by index: a select-all over a million rows is one range.
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CListCtrlEx::CopySelectedRows() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    QApplication::clipboard()->setText(FromBytes(ListRowsTsv(*this, rows)));
}

void CListCtrlEx::UpdateSortIndicator() {
    // Told at every row added during a load: only a change of the order reaches the header.
    QHeaderView* header = horizontalHeader();
    const bool shown = SortedColumn() >= 0;
    const Qt::SortOrder order = SortedAscending() ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (header->isSortIndicatorShown() == shown && header->sortIndicatorSection() == SortedColumn() &&
        header->sortIndicatorOrder() == order)
        return;
    header->setSortIndicatorShown(shown);
    header->setSortIndicator(SortedColumn(), order);
}

CListCtrlEx::~CListCtrlEx() = default;

int CListCtrlEx::AddCol(int sortType, const std::string& title, int width, int format, int reserved) {
    const int index = CListBase::AddCol(sortType, title, width, format, reserved);
    setColumnWidth(index, FirstWidth(index));
    return index;
}

int CListCtrlEx::FirstWidth(int column) const {
    // The widths were chosen for a smaller font than many systems have: a title that would be cut short
    // at its width ("Filesystem (Allocation Size)") widens its column to show whole.
    return std::max(Column(column).width, horizontalHeader()->sectionSizeHint(column));
}

void CListCtrlEx::SetRedraw(bool on) {
    m_redraw = on;
    setUpdatesEnabled(on);
    if (on && m_dirty) {
        m_dirty = false;
        ResetKeepingWidths();
    }
    if (on)
        viewport()->update();
}

void CListCtrlEx::RowsReordered(const std::vector<std::uint32_t>& oldIndexOf) {
    // The places before this sort: the view's, or those kept from an earlier sort it has not shown yet.
    KeptSelection before;
    if (m_kept) {
        before = std::move(*m_kept);
    } else {
        before.rows = SelectedRows();
        before.current = currentIndex().isValid() ? currentIndex().row() : -1;
    }
    m_kept.reset();
    m_justReordered = true;
    if (before.rows.empty() && before.current < 0)
        return;
    std::vector<int> newIndexOf(oldIndexOf.size());
    for (std::size_t i = 0; i < oldIndexOf.size(); ++i)
        newIndexOf[oldIndexOf[i]] = static_cast<int>(i);
    const auto moved = [&](int row) {
        return row >= 0 && static_cast<std::size_t>(row) < newIndexOf.size()
                   ? newIndexOf[static_cast<size_t>(row)]
                   : -1;
    };
    KeptSelection after;
    after.current = moved(before.current);
    for (const int row : before.rows)
        if (const int to = moved(row); to >= 0)
            after.rows.push_back(to);
    std::sort(after.rows.begin(), after.rows.end());
    m_kept = std::move(after);
}

void CListCtrlEx::RestoreSelection() {
    if (!m_kept)
        return;
    const KeptSelection kept = std::move(*m_kept);
    m_kept.reset();
    const int rows = m_model->rowCount();
    const int lastColumn = m_model->columnCount() - 1;
    if (lastColumn < 0)
        return;
    // Consecutive rows go in as one range: a selection of every row stays one range after any sort.
    QItemSelection selection;
    for (std::size_t i = 0; i < kept.rows.size();) {
        std::size_t end = i + 1;
        while (end < kept.rows.size() && kept.rows[end] == kept.rows[end - 1] + 1)
            ++end;
        if (kept.rows[end - 1] < rows)
            selection.append(QItemSelectionRange(m_model->index(kept.rows[i], 0),
                                                 m_model->index(kept.rows[end - 1], lastColumn)));
        i = end;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int current = kept.current >= 0 && kept.current < rows ? kept.current
                        : kept.rows.empty()                      ? -1
                                                                 : kept.rows.front();
    if (current < 0 || current >= rows)
        return;
    selectionModel()->setCurrentIndex(m_model->index(current, 0), QItemSelectionModel::NoUpdate);
    scrollTo(m_model->index(current, 0));
}

void CListCtrlEx::RowsChanged() {
    // Any other change than a sort makes the kept places meaningless.
    if (!std::exchange(m_justReordered, false))
        m_kept.reset();
    UpdateSortIndicator();
    if (!m_redraw) {
        m_dirty = true;
        return;
    }
    ResetKeepingWidths();
}

void CListCtrlEx::ResetKeepingWidths() {
    // A model reset gives every column the default width; keep the ones set or dragged by the user.
    std::vector<int> widths;
    for (int i = 0; i < horizontalHeader()->count(); ++i)
        widths.push_back(columnWidth(i));
    m_model->Reset();
    for (int i = 0; i < GetColumnCount(); ++i)
        setColumnWidth(i,
                       i < static_cast<int>(widths.size()) ? widths[static_cast<size_t>(i)] : FirstWidth(i));
    RestoreSelection();
}

bool CListCtrlEx::WriteExportFile(std::string& error) {
    const QString path = QDir(PathText(m_exportFolder)).filePath(PathText(m_exportFileName));
    QSaveFile file(path);
    QString reason;
    // A short write is retried, so a full disk shows as a failed write rather than a shorter file.
    const auto write = [&](std::string_view chunk) {
        while (!chunk.empty()) {
            const qint64 written = file.write(chunk.data(), static_cast<qint64>(chunk.size()));
            if (written <= 0) {
                reason = file.errorString();
                return false;
            }
            chunk.remove_prefix(static_cast<size_t>(written));
        }
        return true;
    };
    // Unbuffered: QSaveFile notices a failed write only when its own write call fails; a failure while
    // flushing a buffer at commit would go unseen and leave an empty file behind as a success.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!ok)
        reason = file.errorString();
    ok = ok && WriteListCsv(*this, write);
    if (ok && !file.commit()) {
        ok = false;
        reason = file.errorString();
    }
    if (ok)
        return true;
    file.cancelWriting(); // the temporary file goes; an existing file of that name stays as it was
    error = ToBytes(QStringLiteral("Cannot write file [%1]: %2. Nothing was written.")
                        .arg(QDir::toNativeSeparators(path), reason));
    return false;
}
