#include "widgets/LatencyChartWnd.h"

#include "table/FormatNumeric.h"
#include "widgets/PictureFile.h"
#include "widgets/Text.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kPad = 8;
constexpr int kTick = 4;
constexpr int kMinPictureWidth = 640;
constexpr int kMinPictureHeight = 400;

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

// The value axis's title: what is drawn up it, with its unit.
QString ValueTitle(const LatencyChart& chart) {
    return chart.kind == LatencyChart::Kind::Histogram ? QStringLiteral("I/Os (%)")
                                                       : QStringLiteral("Latency (ms)");
}

QString SlotTitle(const LatencyChart& chart) {
    return chart.kind == LatencyChart::Kind::Histogram ? QStringLiteral("Latency (ms)")
                                                       : QStringLiteral("Percentile");
}

} // namespace

LatencyChartWnd::LatencyChartWnd(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMinimumSize(320, 220);
    m_copyChart = new QAction(QStringLiteral("Copy Chart"), this);
    m_saveChart = new QAction(QStringLiteral("Save Chart As..."), this);
    addAction(m_copyChart);
    addAction(m_saveChart);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::uint32_t LatencyChartWnd::DirectionColour(LatencyDirection direction) {
    switch (direction) {
    case LatencyDirection::Read:
        return 0x1F6FD0;
    case LatencyDirection::Write:
        return 0xD03A1F;
    case LatencyDirection::Total:
        break;
    }
    return 0x202020;
}

void LatencyChartWnd::SetChart(LatencyChart chart) {
    m_chart = std::move(chart);
    update();
}

LatencyChartGeometry LatencyChartWnd::Layout(const QRect& area) const {
    const QFontMetrics metrics(font());
    // Room on the left for the widest value label and the axis title above it; below for the slot
    // labels and the slot axis's title; above for the legend.
    int labelWidth = 0;
    const RoundAxis& axis = m_chart.valueAxis;
    for (double value = 0; value <= axis.max + axis.step / 2; value += axis.step)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(Fixed(value, axis.decimals)));
    LatencyChartGeometry plot;
    plot.left = area.left() + kPad + labelWidth + kTick + 2;
    plot.top = area.top() + kPad + 2 * metrics.height();
    plot.width = std::max(10.0, area.right() - kPad - metrics.horizontalAdvance(QStringLiteral("max")) / 2.0 -
                                    plot.left);
    plot.height = std::max(10.0, area.bottom() - kPad - 2 * metrics.height() - kTick - plot.top);
    return plot;
}

void LatencyChartWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Paint(painter, rect(), palette().color(QPalette::Text), palette().color(QPalette::Mid));
}

void LatencyChartWnd::Paint(QPainter& painter, const QRect& area, const QColor& text,
                            const QColor& grid) const {
    if (m_chart.kind == LatencyChart::Kind::None)
        return;
    painter.setFont(font());
    const LatencyChartGeometry plot = Layout(area);
    PaintValueAxis(painter, plot, text, grid);
    if (m_chart.kind == LatencyChart::Kind::Percentiles)
        PaintPercentiles(painter, plot, text, grid);
    else
        PaintHistogram(painter, plot, text, grid);
    // The frame of the plot area and the titles of both axes.
    painter.setPen(QPen(text, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(plot.left, plot.top, plot.width, plot.height));
    const QFontMetrics metrics(font());
    painter.drawText(QRectF(area.left() + kPad, area.top() + kPad, plot.width, metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, ValueTitle(m_chart));
    painter.drawText(
        QRectF(plot.left, plot.top + plot.height + kTick + metrics.height(), plot.width, metrics.height()),
        Qt::AlignHCenter | Qt::AlignVCenter, SlotTitle(m_chart));
    PaintLegend(painter, plot, text);
}

void LatencyChartWnd::PaintValueAxis(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text,
                                     const QColor& grid) const {
    const RoundAxis& axis = m_chart.valueAxis;
    const QFontMetrics metrics(font());
    for (int step = 0; step * axis.step <= axis.max + axis.step / 2; ++step) {
        const double value = step * axis.step;
        const double y = plot.Y(m_chart, value);
        painter.setPen(QPen(grid, 1, Qt::DotLine));
        painter.drawLine(QPointF(plot.left, y), QPointF(plot.left + plot.width, y));
        painter.setPen(text);
        painter.drawLine(QPointF(plot.left - kTick, y), QPointF(plot.left, y));
        const QRectF label(plot.left - kTick - 2 - 200, y - metrics.height() / 2.0, 200, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, Fixed(value, axis.decimals));
    }
}

void LatencyChartWnd::PaintPercentiles(QPainter& painter, const LatencyChartGeometry& plot,
                                       const QColor& text, const QColor& grid) const {
    const QFontMetrics metrics(font());
    const double labelTop = plot.top + plot.height + kTick;
    const auto slotLabel = [&](double x, const QString& label) {
        painter.setPen(QPen(grid, 1, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top), QPointF(x, plot.top + plot.height));
        painter.setPen(text);
        painter.drawLine(QPointF(x, plot.top + plot.height), QPointF(x, labelTop));
        painter.drawText(QRectF(x - 60, labelTop, 120, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                         label);
    };
    // Every decade is labelled where the labels fit; else every second, third...: nine nines in a
    // narrow window would run into each other. The grid line of each decade stays.
    const double slot = plot.width / std::max(1, m_chart.Slots());
    const int widest = metrics.horizontalAdvance(QString::fromStdString(NinesLabel(m_chart.decades))) + 6;
    const int every = std::max(1, static_cast<int>(std::ceil(widest / std::max(1.0, slot))));
    for (int decade = 0; decade <= m_chart.decades; ++decade)
        slotLabel(plot.X(m_chart, decade),
                  decade % every == 0 ? QString::fromStdString(NinesLabel(decade)) : QString());
    if (m_chart.hasMax)
        slotLabel(plot.X(m_chart, std::numeric_limits<double>::infinity()), QStringLiteral("max"));

    for (const LatencyLine& line : m_chart.lines) {
        const QColor colour = QColor(QRgb(DirectionColour(line.direction)));
        QPainterPath path;
        for (size_t i = 0; i < line.points.size(); ++i) {
            const QPointF at(plot.X(m_chart, line.points[i].nines), plot.Y(m_chart, line.points[i].ms));
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        painter.setPen(Qt::NoPen);
        for (const LatencyPoint& point : line.points)
            painter.drawEllipse(QPointF(plot.X(m_chart, point.nines), plot.Y(m_chart, point.ms)), 2.5, 2.5);
    }
}

void LatencyChartWnd::PaintHistogram(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text,
                                     const QColor&) const {
    const QFontMetrics metrics(font());
    const int buckets = static_cast<int>(m_chart.bucketPercents.size());
    const QColor colour = QColor(QRgb(DirectionColour(m_chart.histogramDirection)));
    // Every label where they fit, else every second, fifth...: SQLIO's 25 buckets fit a narrow window.
    int widest = 1;
    for (const std::string& label : m_chart.bucketLabels)
        widest = std::max(widest, metrics.horizontalAdvance(FromBytes(label)) + 4);
    const double slot = plot.width / std::max(1, buckets);
    int every = 1;
    while (every * slot < widest && every < buckets)
        every = every == 1 ? 2 : (every == 2 ? 5 : every * 2);
    for (int i = 0; i < buckets; ++i) {
        const double top = plot.Y(m_chart, m_chart.bucketPercents[static_cast<size_t>(i)]);
        painter.fillRect(
            QRectF(plot.BarLeft(i, buckets), top, plot.BarWidth(buckets), plot.top + plot.height - top),
            colour);
        if (i % every != 0 && i != buckets - 1)
            continue;
        painter.setPen(text);
        const double middle = plot.BarLeft(i, buckets) + plot.BarWidth(buckets) / 2;
        painter.drawText(QRectF(middle - 40, plot.top + plot.height + kTick, 80, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop,
                         FromBytes(m_chart.bucketLabels[static_cast<size_t>(i)]));
    }
}

void LatencyChartWnd::PaintLegend(QPainter& painter, const LatencyChartGeometry& plot,
                                  const QColor& text) const {
    std::vector<LatencyDirection> directions;
    if (m_chart.kind == LatencyChart::Kind::Histogram)
        directions.push_back(m_chart.histogramDirection);
    for (const LatencyLine& line : m_chart.lines)
        directions.push_back(line.direction);
    const QFontMetrics metrics(font());
    double x = plot.left + plot.width;
    const double y = plot.top - metrics.height() - 2;
    for (auto d = directions.rbegin(); d != directions.rend(); ++d) {
        const QString name = QString::fromLatin1(LatencyDirectionName(*d));
        x -= metrics.horizontalAdvance(name) + 18 + kPad;
        painter.fillRect(QRectF(x, y + metrics.height() / 2.0 - 1.5, 14, 3),
                         QColor(QRgb(DirectionColour(*d))));
        painter.setPen(text);
        painter.drawText(QRectF(x + 18, y, metrics.horizontalAdvance(name) + 2, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

QSize LatencyChartWnd::PictureSize(const QStringList& caption) const {
    const int captionHeight = static_cast<int>(caption.size()) * QFontMetrics(font()).height();
    return QSize(std::max(width(), kMinPictureWidth),
                 std::max(height(), kMinPictureHeight) + captionHeight + kPad);
}

void LatencyChartWnd::PaintPicture(QPainter& painter, const QSize& size, const QStringList& caption) const {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const int lineHeight = QFontMetrics(font()).height();
    DrawCaption(painter, font(), caption, QRect(kPad, kPad, size.width() - 2 * kPad, lineHeight));
    const int top = kPad + static_cast<int>(caption.size()) * lineHeight;
    painter.setRenderHint(QPainter::Antialiasing);
    Paint(painter, QRect(0, top, size.width(), size.height() - top), Qt::black, QColor(0xB0, 0xB0, 0xB0));
}

QImage LatencyChartWnd::PictureImage(const QStringList& caption) const {
    const QSize size = PictureSize(caption);
    return PaintedImage(size, [&](QPainter& painter) { PaintPicture(painter, size, caption); });
}

bool LatencyChartWnd::SavePicture(const QString& path, const QStringList& caption, QString& error) const {
    const QSize size = PictureSize(caption);
    return SavePictureFile(
        path, size, caption.isEmpty() ? QString() : caption.first(),
        [&](QPainter& painter) { PaintPicture(painter, size, caption); }, error,
        QStringLiteral("A latency chart of Trelvane"));
}
