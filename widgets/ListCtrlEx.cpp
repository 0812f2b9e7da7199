#include "widgets/ListCtrlEx.h"

#include "platform/PathText.h"
#include "platform/ReplaceName.h"

#include "table/ListCsv.h"
#include "table/ListTsv.h"
#include "widgets/Text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStringDecoder>

#include <algorithm>
#include <new>
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

namespace {

// The selection's rows as the first and last row of runs that neither overlap nor touch, in order: a
// select-all over a million rows is one run.
std::vector<std::pair<int, int>> RowRuns(const QItemSelectionModel* selection) {
    std::vector<std::pair<int, int>> runs;
    if (selection == nullptr)
        return runs;
    for (const QItemSelectionRange& range : selection->selection())
        runs.emplace_back(range.top(), range.bottom());
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& [first, last] : runs) {
        if (!merged.empty() && first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, last);
        else
            merged.emplace_back(first, last);
    }
    return merged;
}

QString Count(std::size_t number) {
    return QLocale().toString(static_cast<qulonglong>(number));
}

QString Megabytes(std::size_t bytes) {
    return Count((bytes + (std::size_t{1} << 20) - 1) >> 20) + QStringLiteral(" MB");
}

// The clipboard's text, built once: each line goes straight from the cells' bytes into the one string
// the clipboard keeps, which has room for the whole text from the start (a byte never gives more than
// one UTF-16 unit; the decoder asks for one more while it works).
QString CopyText(const CListBase& list, const std::vector<int>& rows, std::size_t bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes) + 1);
    QStringDecoder decoder(QStringConverter::System); // the bytes' own encoding, as FromBytes reads them
    WriteRowsTsv(list, rows, [&](std::string_view line) {
        const qsizetype at = text.size();
        text.resize(at + decoder.requiredSpace(static_cast<qsizetype>(line.size())));
        const QChar* end = decoder.appendToBuffer(
            text.data() + at, QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        text.resize(end - text.constData());
    });
    return text;
}

} // namespace

std::vector<int> CListCtrlEx::SelectedRows() const {
    std::vector<int> rows;
    for (const auto& [first, last] : RowRuns(selectionModel()))
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
    return rows;
}

std::size_t CListCtrlEx::SelectedRowCount() const {
    std::size_t count = 0;
    for (const auto& [first, last] : RowRuns(selectionModel()))
        count += static_cast<std::size_t>(last - first) + 1;
    return count;
}

void CListCtrlEx::CopySelectedRows() {
    const QString tooMany = QStringLiteral("Too many rows to copy; use Export");
    const std::size_t count = SelectedRowCount();
    if (count == 0)
        return;
    if (count > kCopyRowLimit) {
        emit Warning(tooMany +
                     QStringLiteral("\n\nCopy takes at most %1 rows, as many as a spreadsheet holds "
                                    "below its header line; %2 rows are selected.")
                         .arg(Count(kCopyRowLimit), Count(count)));
        return;
    }
    try {
        const std::vector<int> rows = SelectedRows();
        const std::size_t bytes = RowsTsvBytes(*this, rows);
        if (bytes > kCopyByteLimit) {
            emit Warning(tooMany + QStringLiteral("\n\nCopy takes at most %1 of text; the %2 selected rows "
                                                  "hold %3.")
                                       .arg(Megabytes(kCopyByteLimit), Count(count), Megabytes(bytes)));
            return;
        }
        QApplication::clipboard()->setText(CopyText(*this, rows, bytes));
    } catch (const std::bad_alloc&) {
        // What was built is gone again, so there is room to say so; the clipboard keeps what it had.
        emit Warning(QStringLiteral("Not enough memory to copy %1 rows. Nothing was copied; Export writes "
                                    "any number of rows.")
                         .arg(Count(count)));
    }
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

namespace {

// Hands the list's CSV text to file; false with the reason when a write fails. A short write is
// retried, so a full disk shows as a failed write rather than a shorter file.
bool WriteCsv(const CListBase& list, QFileDevice& file, QString& reason) {
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
    return WriteListCsv(list, write);
}

// Replaces the file at path, or creates it: the file appears whole or not at all, and an existing
// file of that name stays as it was when the writing fails.
bool SaveCsv(const CListBase& list, const QString& path, QString& reason) {
    QSaveFile file(path);
    // Unbuffered: QSaveFile notices a failed write only when its own write call fails; a failure while
    // flushing a buffer at commit would go unseen and leave an empty file behind as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return false;
    }
    if (WriteCsv(list, file, reason) && file.commit())
        return true;
    if (reason.isEmpty())
        reason = file.errorString();
    file.cancelWriting(); // the temporary file goes
    return false;
}

// A symbolic link under the export's name is replaced by a new file of that name. The names are fixed,
// so in a shared folder another user may have planted the link, and writing through it (as QSaveFile
// does) would overwrite whatever file it points to with the exporting user's rights. The new file is
// written under a name of its own, created only where nothing holds that name yet, and then takes the
// link's name in one step; until then the link stays as it was.
bool ReplaceLinkWithCsv(const CListBase& list, const QString& path, QString& reason) {
    QFile file;
    for (int attempt = 0; attempt < 16 && !file.isOpen(); ++attempt) {
        file.setFileName(path + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                          QLatin1Char('0')));
        if (!file.open(QIODevice::NewOnly | QIODevice::Unbuffered) && !file.exists()) {
            reason = file.errorString();
            return false;
        }
    }
    if (!file.isOpen()) {
        reason = file.errorString();
        return false;
    }
    auto discard = qScopeGuard([&file] { file.remove(); }); // on every way out but the last
    if (!WriteCsv(list, file, reason) || !file.flush()) {
        if (reason.isEmpty())
            reason = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    if (!ReplaceName(file.fileName(), path, reason))
        return false;
    discard.dismiss();
    return true;
}

} // namespace

bool CListCtrlEx::WriteExportFile(std::string& error) {
    const QString path = QDir(PathText(m_exportFolder)).filePath(PathText(m_exportFileName));
    QString reason;
    bool written = false;
    try {
        written = QFileInfo(path).isSymLink() ? ReplaceLinkWithCsv(*this, path, reason)
                                              : SaveCsv(*this, path, reason);
    } catch (const std::bad_alloc&) {
        // A record is held whole while it is written, so one huge cell can take more than there is.
        reason = QStringLiteral("not enough memory");
    }
    if (written)
        return true;
    error = ToBytes(QStringLiteral("Cannot write file [%1]: %2. Nothing was written.")
                        .arg(QDir::toNativeSeparators(path), reason));
    return false;
}
