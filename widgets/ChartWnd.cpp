#include "widgets/ChartWnd.h"

#include "widgets/Text.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

CChartWnd::CChartWnd(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

bool CChartWnd::Init(const CChartWnd_Settings& settings) {
    m_settings = settings;
    return true;
}

void CChartWnd::EnableVertScrollBar(bool enable) {
    setVerticalScrollBarPolicy(enable ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void CChartWnd::EnableTitleTips(int enable, int) {
    m_titleTips = enable != 0;
}

void CChartWnd::Clear(bool redraw) {
    m_model.Clear();
    ResizeScrollBars(false);
    if (redraw)
        viewport()->update();
}

void CChartWnd::ReCalc(const CChartWnd_Settings& settings) {
    m_settings = settings;
}

ChartGeometry CChartWnd::Geometry() const {
    ChartGeometry geometry;
    geometry.lineHeight = fontMetrics().height() + 6;
    geometry.labelWidth = m_settings.m_labelWidth;
    geometry.barIndent = m_settings.m_barIndent;
    geometry.width = viewport()->width();
    geometry.height = viewport()->height();
    return geometry;
}

int CChartWnd::FirstVisibleLine() const {
    return verticalScrollBar()->value();
}

void CChartWnd::ResizeScrollBars(bool redraw) {
    const ChartGeometry geometry = Geometry();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, geometry.MaxFirstLine(m_model.LineCount()));
    bar->setPageStep(geometry.VisibleLineCount());
    if (redraw)
        viewport()->update();
}

void CChartWnd::UpdateResize() {
    ResizeScrollBars(false);
    viewport()->update();
}

void CChartWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ResizeScrollBars(false);
}

QString CChartWnd::ElidedLabel(const ChartLine& line, int width) const {
    return fontMetrics().elidedText(FromBytes(line.text), Qt::ElideRight, std::max(0, width));
}

void CChartWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const ChartGeometry geometry = Geometry();
    const double scale = m_model.Scale();
    const int first = FirstVisibleLine();
    const int last = std::min(m_model.LineCount(), first + geometry.VisibleLineCount() + 1);
    const QColor textColour = palette().color(QPalette::Text);
    QFont headerFont = font();
    headerFont.setBold(true);
    for (int i = first; i < last; ++i) {
        const ChartLine& line = m_model.Lines()[static_cast<size_t>(i)];
        const int y = (i - first) * geometry.lineHeight;
        const QRect row(0, y, geometry.width, geometry.lineHeight);
        if (line.kind == ChartLine::Header) {
            painter.fillRect(row.adjusted(0, 1, 0, -1), QColor(0xE8, 0xEC, 0xF4));
            painter.setFont(headerFont);
            painter.setPen(QColor(QRgb(ChartColour(line.colour))));
            painter.drawText(
                row.adjusted(6, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                fontMetrics().elidedText(FromBytes(line.text), Qt::ElideRight, geometry.width - 10));
            painter.setFont(font());
            continue;
        }
        painter.setPen(textColour);
        const QRect labelRect(4, y, geometry.labelWidth - 8, geometry.lineHeight);
        painter.drawText(labelRect, Qt::AlignVCenter | Qt::AlignLeft, ElidedLabel(line, labelRect.width()));
        if (line.kind == ChartLine::Bar) {
            const int pixels = geometry.BarPixels(line.length, scale);
            if (pixels > 0)
                painter.fillRect(QRect(geometry.BarAreaLeft(), y + 3, pixels, geometry.lineHeight - 6),
                                 QColor(QRgb(ChartColour(line.colour))));
        }
    }
}

bool CChartWnd::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_titleTips) {
        auto* help = static_cast<QHelpEvent*>(event);
        const ChartGeometry geometry = Geometry();
        const int index = FirstVisibleLine() + help->pos().y() / geometry.lineHeight;
        if (index >= 0 && index < m_model.LineCount()) {
            const ChartLine& line = m_model.Lines()[static_cast<size_t>(index)];
            const int width = line.kind == ChartLine::Header ? geometry.width - 10 : geometry.labelWidth - 8;
            const QString full = FromBytes(line.text);
            if (ElidedLabel(line, width) != full) {
                QToolTip::showText(help->globalPos(), full, viewport());
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
