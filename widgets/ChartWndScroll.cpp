// The chart window's keyboard, wheel, focus and double-click handling; the scrolling rules are
// ChartScroll's.
#include "widgets/ChartWnd.h"

#include "platform/WheelSetting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <optional>

namespace {

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

void CChartWnd::ScrollToLine(int first) {
    verticalScrollBar()->setValue(first);
}

void CChartWnd::keyPressEvent(QKeyEvent* event) {
    const std::optional<ChartScrollKey> key = ScrollKey(*event);
    if (!key) {
        // Return must reach the window, whose default button closes it.
        event->ignore();
        return;
    }
    const QScrollBar* bar = verticalScrollBar();
    ScrollToLine(ChartScrollTarget(*key, bar->value(), bar->maximum(), bar->pageStep()));
    event->accept();
}

void CChartWnd::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    const QScrollBar* bar = verticalScrollBar();
    const int linesPerNotch = WheelScrollsPages() ? -1 : QApplication::wheelScrollLines();
    const int lines = m_wheel.Lines(delta, linesPerNotch, bar->pageStep());
    ScrollToLine(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(bar->value()) + lines, 0, bar->maximum())));
    event->accept();
}

void CChartWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    const int line =
        Geometry().LineAt(static_cast<int>(event->position().y()), FirstVisibleLine(), m_model.LineCount());
    if (event->button() != Qt::LeftButton || line < 0) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    emit LineDoubleClicked(line);
}

void CChartWnd::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CChartWnd::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// The chart has no current item to mark, so the keyboard's place is shown by a border in the
// selection colour around the drawing area.
void CChartWnd::DrawFocusCue(QPainter& painter) const {
    painter.setPen(palette().color(QPalette::Highlight));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
}
