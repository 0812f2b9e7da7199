#include "widgets/CompareRowsWnd.h"

#include "platform/WheelSetting.h"
#include "widgets/PictureFile.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <optional>

namespace {

constexpr int kInset = 6;
constexpr int kSwatch = 12;
constexpr int kLegendGap = 18;
constexpr int kMinPictureWidth = 640;

std::optional<ChartScrollKey> ScrollKey(const QKeyEvent& event) {
    // Alt and Meta combinations belong to the menus and the window manager.
    if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (event.key()) {
    case Qt::Key_Up:
        return ChartScrollKey::LineUp;
    case Qt::Key_Down:
        return ChartScrollKey::LineDown;
    case Qt::Key_PageUp:
        return ChartScrollKey::PageUp;
    case Qt::Key_PageDown:
        return ChartScrollKey::PageDown;
    case Qt::Key_Home:
        return ChartScrollKey::Home;
    case Qt::Key_End:
        return ChartScrollKey::End;
    default:
        return std::nullopt;
    }
}

} // namespace

CompareRowsWnd::CompareRowsWnd(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    m_copyChart = new QAction(QStringLiteral("Copy Chart"), this);
    m_saveChart = new QAction(QStringLiteral("Save Chart As..."), this);
    addAction(m_copyChart);
    addAction(m_saveChart);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CompareRowsWnd::SetView(CompareViewData data) {
    m_data = std::move(data);
    Relayout();
    UpdateScrollRange();
    viewport()->update();
}

RowView CompareRowsWnd::Rows() const {
    RowView rows;
    rows.width = viewport()->width();
    rows.height = viewport()->height();
    rows.bandHeight = LegendHeight(rows.width);
    rows.rowHeight = RowHeight(rows.height - rows.bandHeight);
    return rows;
}

int CompareRowsWnd::FirstRow() const {
    return verticalScrollBar()->value();
}

void CompareRowsWnd::UpdateScrollRange() {
    const RowView rows = Rows();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, rows.MaxFirstRow(RowCount()));
    bar->setPageStep(rows.VisibleRows());
}

void CompareRowsWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
    UpdateScrollRange();
}

int CompareRowsWnd::LegendHeight(int width) const {
    if (m_data.labels.isEmpty())
        return 0;
    const QFontMetrics metrics(font());
    std::vector<int> widths;
    for (const QString& label : m_data.labels)
        widths.push_back(kSwatch + kInset + metrics.horizontalAdvance(label));
    int height = 0;
    LayOutLegend(widths, std::max(1, width - 2 * kInset), metrics.height() + 4, kLegendGap, height);
    return height + 2 * kInset;
}

void CompareRowsWnd::PaintLegend(QPainter& painter, int width, const QColor& text) const {
    if (m_data.labels.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height() + 4;
    std::vector<int> widths;
    for (const QString& label : m_data.labels)
        widths.push_back(kSwatch + kInset + metrics.horizontalAdvance(label));
    int height = 0;
    const std::vector<LegendPlace> places =
        LayOutLegend(widths, std::max(1, width - 2 * kInset), lineHeight, kLegendGap, height);
    painter.setFont(font());
    for (qsizetype i = 0; i < m_data.labels.size(); ++i) {
        const LegendPlace& place = places[static_cast<size_t>(i)];
        const int x = kInset + place.x;
        const int y = kInset + place.y;
        const QColor colour = static_cast<size_t>(i) < m_data.colours.size()
                                  ? m_data.colours[static_cast<size_t>(i)]
                                  : Qt::black;
        painter.fillRect(QRect(x, y + (lineHeight - kSwatch) / 2, kSwatch, kSwatch), colour);
        painter.setPen(text);
        painter.drawText(QRect(x + kSwatch + kInset, y, width - x - kSwatch - kInset, lineHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, m_data.labels[i]);
    }
    painter.fillRect(QRect(0, height + 2 * kInset - 1, width, 1), QColor(0xD0, 0xD0, 0xD0));
}

void CompareRowsWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const RowView rows = Rows();
    const QColor text = palette().color(QPalette::Text);
    const int first = FirstRow();
    const int last = rows.LastDrawnRow(first, RowCount());
    m_lastPainted = std::max(0, last - first);
    painter.save();
    painter.setClipRect(QRect(0, rows.bandHeight, rows.width, rows.height - rows.bandHeight));
    for (int row = first; row < last; ++row)
        PaintRow(painter, row, QRect(0, rows.RowTop(row, first), rows.width, rows.rowHeight), false);
    painter.restore();
    PaintLegend(painter, rows.width, text);
    if (hasFocus()) {
        // No current item to mark: the keyboard's place is a border in the selection colour.
        painter.setPen(palette().color(QPalette::Highlight));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
    }
}

void CompareRowsWnd::keyPressEvent(QKeyEvent* event) {
    const std::optional<ChartScrollKey> key = ScrollKey(*event);
    if (!key) {
        event->ignore(); // Return, Esc and Tab go on to the window
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(ChartScrollTarget(*key, bar->value(), bar->maximum(), bar->pageStep()));
    event->accept();
}

void CompareRowsWnd::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    const int linesPerNotch = WheelScrollsPages() ? -1 : QApplication::wheelScrollLines();
    const int rows = m_wheel.Lines(delta, linesPerNotch, bar->pageStep());
    bar->setValue(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(bar->value()) + rows, 0, bar->maximum())));
    event->accept();
}

void CompareRowsWnd::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CompareRowsWnd::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

CompareRowsWnd::PictureLayout CompareRowsWnd::LayOutPicture(const QStringList& caption,
                                                            bool limitHeight) const {
    PictureLayout layout;
    layout.width = std::max(viewport()->width(), kMinPictureWidth);
    const int lineHeight = QFontMetrics(font()).height() + 6;
    layout.captionHeight =
        caption.isEmpty() ? 0 : static_cast<int>(caption.size()) * lineHeight + lineHeight / 2;
    layout.legendHeight = LegendHeight(layout.width);
    layout.rowHeight = RowHeight(viewport()->height() - LegendHeight(viewport()->width()));
    layout.rows = RowCount();
    const int top = layout.captionHeight + layout.legendHeight;
    if (limitHeight) {
        const int room = std::max(1, (kPictureMaxHeight - top - lineHeight) / std::max(1, layout.rowHeight));
        if (layout.rows > room) {
            layout.omitted = layout.rows - room;
            layout.rows = room;
        }
    }
    layout.height = top + layout.rows * layout.rowHeight + (layout.omitted > 0 ? lineHeight : 0);
    layout.height = std::max(layout.height, lineHeight);
    return layout;
}

void CompareRowsWnd::PaintPicture(QPainter& painter, const PictureLayout& layout,
                                  const QStringList& caption) const {
    const int lineHeight = QFontMetrics(font()).height() + 6;
    painter.fillRect(QRect(0, 0, layout.width, layout.height), Qt::white);
    DrawCaption(painter, font(), caption, QRect(kInset, 0, layout.width - 2 * kInset, lineHeight));
    painter.save();
    painter.translate(0, layout.captionHeight);
    PaintLegend(painter, layout.width, Qt::black);
    painter.restore();
    const int top = layout.captionHeight + layout.legendHeight;
    for (int row = 0; row < layout.rows; ++row)
        PaintRow(painter, row, QRect(0, top + row * layout.rowHeight, layout.width, layout.rowHeight), true);
    if (layout.omitted > 0) {
        painter.setFont(font());
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(kInset, top + layout.rows * layout.rowHeight, layout.width - 2 * kInset, lineHeight),
            Qt::AlignVCenter | Qt::AlignLeft,
            QStringLiteral("... %1 more rows are left out of this picture; Save Chart As... "
                           "an SVG file keeps them all.")
                .arg(layout.omitted));
    }
}

QImage CompareRowsWnd::PictureImage(const QStringList& caption) const {
    const PictureLayout layout = LayOutPicture(caption, true);
    return PaintedImage(QSize(layout.width, layout.height),
                        [&](QPainter& painter) { PaintPicture(painter, layout, caption); });
}

bool CompareRowsWnd::SavePicture(const QString& path, const QStringList& caption, QString& error) const {
    const PictureLayout layout =
        LayOutPicture(caption, !path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive));
    return SavePictureFile(
        path, QSize(layout.width, layout.height), caption.isEmpty() ? QString() : caption.first(),
        [&](QPainter& painter) { PaintPicture(painter, layout, caption); }, error);
}
