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
    // Clicks on the header are the window's to answer: the view itself never sorts the model.
    setSortingEnabled(false);
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
    setColumnWidth(index, width);
    return index;
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

void CListCtrlEx::RowsChanged() {
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
        setColumnWidth(i, i < static_cast<int>(widths.size()) ? widths[static_cast<size_t>(i)]
                                                              : Column(i).width);
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
