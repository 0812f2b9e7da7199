#include "widgets/ChartWnd.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTextInset = 6;
// Labels this many bytes shorter than the longest one are not measured: they cannot be the widest.
constexpr size_t kMeasureSlack = 6;
constexpr size_t kMeasureLimit = 64;

QColor PaletteColour(int index) {
    return QColor(QRgb(ChartColour(index)));
}

// The colour mixed with white, for the band behind a header.
QColor Tint(const QColor& colour, double share) {
    const auto mix = [share](int channel) { return static_cast<int>(255 - (255 - channel) * share); };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

QString LineText(const ChartLine& line) {
    return QString::fromLocal8Bit(line.text.data(), static_cast<qsizetype>(line.text.size()));
}

QFont HeaderFont(const QFont& base) {
    QFont bold = base;
    bold.setBold(true);
    return bold;
}

} // namespace

CChartWnd::CChartWnd(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    // Tab reaches the chart and a click gives it the keyboard, as a list view does.
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    CreatePictureActions();
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
    Cleared(redraw);
}

void CChartWnd::ClearKeepingRoom(bool redraw) {
    m_model.ClearKeepingRoom();
    Cleared(redraw);
}

void CChartWnd::Cleared(bool redraw) {
    m_widestLabel = 0;
    ResizeScrollBars(false);
    if (redraw)
        viewport()->update();
}

void CChartWnd::SetRedraw(bool on) {
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void CChartWnd::ReCalc(const CChartWnd_Settings& settings) {
    m_settings = settings;
    m_widestLabel = MeasureWidestLabel();
}

int CChartWnd::MeasureWidestLabel() const {
    const size_t longest = m_model.LongestLabel();
    if (longest == 0)
        return 0;
    const size_t minLength = longest > kMeasureSlack ? longest - kMeasureSlack : 0;
    // Fractional widths, rounded up: a label measured a fraction of a pixel short is cut by the elision.
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (int index : m_model.LongLabels(minLength, kMeasureLimit))
        widest = std::max(widest, metrics.horizontalAdvance(LineText(m_model.Line(index))));
    return static_cast<int>(std::ceil(widest));
}

ChartGeometry CChartWnd::Geometry() const {
    ChartGeometry geometry;
    geometry.lineHeight = fontMetrics().height() + 6;
    geometry.width = viewport()->width();
    geometry.height = viewport()->height();
    geometry.labelWidth =
        ChartGeometry::LabelColumnWidth(m_settings.m_labelWidth, m_widestLabel, geometry.width);
    geometry.barIndent = m_settings.m_barIndent;
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

int CChartWnd::TextWidth(const ChartLine& line, const ChartGeometry& geometry) const {
    if (line.kind == ChartLine::Header)
        return geometry.width - 2 * kTextInset;
    return geometry.labelWidth - 2 * kTextInset;
}

QString CChartWnd::ElidedText(const ChartLine& line, const QFont& textFont, int width) const {
    return QFontMetrics(textFont).elidedText(LineText(line), Qt::ElideRight, std::max(0, width));
}

void CChartWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const ChartGeometry geometry = Geometry();
    const int first = FirstVisibleLine();
    const int last = std::min(m_model.LineCount(), first + geometry.VisibleLineCount() + 1);
    m_lastPainted = std::max(0, last - first);
    PaintLines(painter, geometry, first, last, 0, palette().color(QPalette::Text));
    if (hasFocus())
        DrawFocusCue(painter);
}

void CChartWnd::PaintLines(QPainter& painter, const ChartGeometry& geometry, int first, int last, int top,
                           const QColor& textColour) const {
    const double scale = m_model.Scale();
    const QFont headerFont = HeaderFont(font());
    painter.setFont(font());
    for (int i = first; i < last; ++i) {
        const ChartLine line = m_model.Line(i);
        const int y = top + (i - first) * geometry.lineHeight;
        const QRect row(0, y, geometry.width, geometry.lineHeight);
        const QRect textRect(kTextInset, y, TextWidth(line, geometry), geometry.lineHeight);
        if (line.kind == ChartLine::Header) {
            const QColor colour = PaletteColour(line.colour);
            painter.fillRect(row.adjusted(0, 1, 0, -1), Tint(colour, 0.14));
            painter.fillRect(QRect(0, y + geometry.lineHeight - 2, geometry.width, 1), colour);
            painter.setFont(headerFont);
            painter.setPen(colour);
            painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                             ElidedText(line, headerFont, textRect.width()));
            painter.setFont(font());
            continue;
        }
        painter.setPen(textColour);
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                         ElidedText(line, font(), textRect.width()));
        if (line.kind == ChartLine::Bar) {
            const int pixels = geometry.BarPixels(line.length, scale);
            if (pixels > 0)
                painter.fillRect(QRect(geometry.BarAreaLeft(), y + 3, pixels, geometry.lineHeight - 6),
                                 PaletteColour(line.colour));
        }
    }
}

bool CChartWnd::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_titleTips) {
        auto* help = static_cast<QHelpEvent*>(event);
        const ChartGeometry geometry = Geometry();
        const int index = geometry.LineAt(help->pos().y(), FirstVisibleLine(), m_model.LineCount());
        if (index >= 0) {
            const ChartLine line = m_model.Line(index);
            const QFont textFont = line.kind == ChartLine::Header ? HeaderFont(font()) : font();
            const QString full = LineText(line);
            if (ElidedText(line, textFont, TextWidth(line, geometry)) != full) {
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
