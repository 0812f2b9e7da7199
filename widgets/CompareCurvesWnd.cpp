#include "widgets/CompareCurvesWnd.h"

#include "widgets/Text.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kInset = 6;
constexpr int kTicks = 6;
constexpr int kPoint = 3; // radius of a point's mark

} // namespace

void CompareCurvesWnd::Relayout() {
    const CompareViewData& data = View();
    m_series = data.comparison != nullptr ? BuildCurves(*data.comparison, data.tests, data.measure)
                                          : std::vector<CurveSeries>();
}

int CompareCurvesWnd::RowHeight(int room) const {
    // Two rows to a window of usual height, never so flat that the ticks crowd, and never taller than
    // the room: rows scroll whole, so the foot of a taller one could never be seen.
    const int line = fontMetrics().height();
    return std::max(line * 8, std::min(std::clamp(room / 2, line * 14, line * 24), room));
}

QRect CompareCurvesWnd::MeasurePlot(const QRect& row) const {
    const int line = fontMetrics().height();
    const int left =
        row.left() + kInset + line + 4 + fontMetrics().horizontalAdvance(QStringLiteral("0000000.0"));
    // Above the frame: the plot's title, then its vertical axis title; below: ticks and the axis title.
    const int top = row.top() + line * 3 + 4;
    const int half = row.width() / 2;
    return QRect(left, top, std::max(10, row.left() + half - left - 2 * kInset),
                 std::max(10, row.height() - line * 6 - 4));
}

QRect CompareCurvesWnd::LatencyPlot(const QRect& row) const {
    const QRect left = MeasurePlot(row);
    return left.translated(row.width() / 2, 0);
}

void CompareCurvesWnd::PaintRow(QPainter& painter, int row, const QRect& rect, bool forPicture) const {
    const CompareViewData& data = View();
    const CurveSeries& series = m_series[static_cast<size_t>(row)];
    const QString caption = FromBytes(SeriesCaption(series.key));
    const CompareMeasure& measure = kCompareMeasures[data.measure];
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), QColor(0xD0, 0xD0, 0xD0));
    PaintPlot(painter, MeasurePlot(rect), caption + QStringLiteral(": ") + QString::fromLatin1(measure.title),
              OutstandingAxis(series, kTicks), MeasureAxis(series, kTicks), QStringLiteral("Outstanding IOs"),
              QString::fromLatin1(measure.unit), series.measure, forPicture);
    PaintPlot(painter, LatencyPlot(rect), caption + QStringLiteral(": IO/sec against Avg_Latency"),
              LatencyAxis(series, kTicks), ThroughputAxis(series, kTicks), QStringLiteral("Avg_Latency, ms"),
              QStringLiteral("IO/sec"), series.latency, forPicture);
}

void CompareCurvesWnd::PaintPlot(QPainter& painter, const QRect& frame, const QString& title,
                                 const PlotAxis& x, const PlotAxis& y, const QString& xTitle,
                                 const QString& yTitle, const std::vector<std::vector<CurvePoint>>& curves,
                                 bool forPicture) const {
    const QColor text = forPicture ? QColor(Qt::black) : palette().color(QPalette::Text);
    const QColor grid(0xE4, 0xE4, 0xE4);
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const auto toX = [&](double value) {
        return frame.left() +
               static_cast<int>(std::lround(std::clamp(x.Fraction(value), -0.1, 1.1) * frame.width()));
    };
    const auto toY = [&](double value) {
        return frame.bottom() -
               static_cast<int>(std::lround(std::clamp(y.Fraction(value), -0.1, 1.1) * frame.height()));
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font());
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    painter.drawText(
        QRect(frame.left() - line * 3, frame.top() - line * 3 - 2, frame.width() + line * 3, line + 4),
        Qt::AlignVCenter | Qt::AlignLeft,
        QFontMetrics(bold).elidedText(title, Qt::ElideRight, frame.width() + line * 3));
    painter.setFont(font());
    // Grid lines and tick texts.
    for (const double tick : y.ticks) {
        const int at = toY(tick);
        painter.fillRect(QRect(frame.left(), at, frame.width(), 1), grid);
        painter.setPen(text);
        painter.drawText(QRect(frame.left() - 200 - 4, at - line / 2, 200, line),
                         Qt::AlignVCenter | Qt::AlignRight, QString::fromStdString(y.TickText(tick)));
    }
    for (const double tick : x.ticks) {
        const int at = toX(tick);
        painter.fillRect(QRect(at, frame.top(), 1, frame.height()), grid);
        painter.setPen(text);
        painter.drawText(QRect(at - 60, frame.bottom() + 3, 120, line), Qt::AlignTop | Qt::AlignHCenter,
                         QString::fromStdString(x.TickText(tick)));
    }
    painter.setPen(text);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    // Axis titles: the vertical one above its ticks, so it needs no turned text.
    painter.drawText(QRect(frame.left(), frame.bottom() + line + 4, frame.width(), line + 2),
                     Qt::AlignTop | Qt::AlignHCenter, xTitle);
    painter.drawText(QRect(frame.left() - 200 - 4, frame.top() - line * 2 - 2, 200, line),
                     Qt::AlignBottom | Qt::AlignRight, yTitle);
    // The curves, clipped to the frame and a little beyond for the marks on its edges.
    painter.setClipRect(frame.adjusted(-kPoint - 1, -kPoint - 1, kPoint + 2, kPoint + 2));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const CompareViewData& data = View();
    for (size_t report = 0; report < curves.size(); ++report) {
        const QColor colour = report < data.colours.size() ? data.colours[report] : QColor(Qt::gray);
        const std::vector<CurvePoint>& points = curves[report];
        if (points.empty())
            continue;
        QPainterPath path;
        path.moveTo(toX(points[0].x), toY(points[0].y));
        for (size_t i = 1; i < points.size(); ++i)
            path.lineTo(toX(points[i].x), toY(points[i].y));
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        painter.setPen(QPen(colour.darker(130), 1));
        for (const CurvePoint& point : points)
            painter.drawEllipse(QPoint(toX(point.x), toY(point.y)), kPoint, kPoint);
    }
    painter.restore();
}
