#include "widgets/CompareChartWnd.h"

#include "compare/ComparisonTable.h"
#include "widgets/Text.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kInset = 6;
const QChar kMinus(0x2212);

QColor Tint(const QColor& colour, double share) {
    const auto mix = [share](int channel) { return static_cast<int>(255 - (255 - channel) * share); };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

} // namespace

int CompareChartWnd::RowCount() const {
    return View().Reports() == 0 ? 0 : Geometry(0).RowCount(static_cast<int>(View().tests.size()));
}

int CompareChartWnd::RowHeight(int) const {
    return fontMetrics().height() + 6;
}

GroupedBarGeometry CompareChartWnd::Geometry(int width) const {
    GroupedBarGeometry geometry;
    geometry.rows.width = width;
    geometry.reports = std::max(1, View().Reports());
    // The names and the texts give way to the bars in a narrow chart: each takes at most a quarter.
    geometry.labelWidth = std::min(m_labelWidth, width / 4);
    geometry.valueWidth = std::min(m_valueWidth, width / 3);
    return geometry;
}

void CompareChartWnd::Relayout() {
    const CompareViewData& data = View();
    m_scale = data.comparison != nullptr ? GroupedBarScale(*data.comparison, data.tests, data.measure) : 1.0;
    const QFontMetrics metrics(font());
    m_labelWidth = 0;
    for (const QString& label : data.labels)
        m_labelWidth = std::max(m_labelWidth, metrics.horizontalAdvance(label));
    m_labelWidth += 2 * kInset;
    // Room for the largest value, a change of five digits and a count of runs.
    const QString widest = QString::fromStdString(MeanText(m_scale)) + QStringLiteral("  ") + kMinus +
                           QStringLiteral("99999.9 %  (9999 runs)");
    m_valueWidth = metrics.horizontalAdvance(widest) + 2 * kInset;
}

QString CompareChartWnd::ValueText(int test, int report) const {
    const Comparison& comparison = *View().comparison;
    const std::optional<double> mean = comparison.Mean(test, report, View().measure);
    if (!mean)
        return comparison.Runs(test, report) == 0 ? QStringLiteral("no runs") : QStringLiteral("no value");
    return QString::fromStdString(MeanText(mean));
}

QString CompareChartWnd::ChangeText(int test, int report) const {
    const std::optional<double> change = View().comparison->Change(test, report, View().measure);
    if (!change)
        return {};
    QString text = QString::fromStdString(::ChangeText(change)) + QStringLiteral(" %");
    if (text.startsWith(QLatin1Char('-')))
        text[0] = kMinus;
    return text;
}

void CompareChartWnd::PaintRow(QPainter& painter, int row, const QRect& rect, bool forPicture) const {
    const CompareViewData& data = View();
    if (data.comparison == nullptr)
        return;
    const GroupedBarGeometry geometry = Geometry(rect.width());
    const int test = data.tests[static_cast<size_t>(geometry.GroupOf(row))];
    const int report = geometry.BarOf(row);
    const QColor text = forPicture ? QColor(Qt::black) : palette().color(QPalette::Text);
    const QColor faint = forPicture ? QColor(Qt::darkGray) : palette().color(QPalette::PlaceholderText);
    painter.setFont(font());
    if (report < 0) {
        // The test's caption, on a band that starts the group.
        const QColor band(0x60, 0x60, 0x60);
        painter.fillRect(rect.adjusted(0, 1, 0, -1), Tint(band, 0.10));
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(text);
        painter.drawText(rect.adjusted(kInset, 0, -kInset, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         FromBytes(TestCaption(data.comparison->Key(test))));
        return;
    }
    const QRect labelRect(rect.left() + kInset, rect.top(), geometry.labelWidth - 2 * kInset, rect.height());
    painter.setPen(text);
    const QString label = report < data.labels.size() ? data.labels[report] : QString();
    painter.drawText(labelRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(label, Qt::ElideMiddle, labelRect.width()));
    const std::optional<double> mean = data.comparison->Mean(test, report, data.measure);
    const int pixels = mean ? geometry.BarPixels(*mean, m_scale) : 0;
    if (pixels > 0) {
        const QColor colour = static_cast<size_t>(report) < data.colours.size()
                                  ? data.colours[static_cast<size_t>(report)]
                                  : Qt::gray;
        painter.fillRect(
            QRect(rect.left() + geometry.BarAreaLeft(), rect.top() + 3, pixels, rect.height() - 6), colour);
    }
    // The texts follow the bar's end, inside the value column at the latest.
    int x = rect.left() + geometry.BarAreaLeft() + pixels + kInset;
    const int right = rect.right() - kInset;
    const auto draw = [&](const QString& piece, const QColor& colour) {
        if (piece.isEmpty() || x >= right)
            return;
        painter.setPen(colour);
        const QRect box(x, rect.top(), right - x, rect.height());
        painter.drawText(box, Qt::AlignVCenter | Qt::AlignLeft, piece);
        x += fontMetrics().horizontalAdvance(piece) + 2 * kInset;
    };
    draw(ValueText(test, report), mean ? text : faint);
    if (const std::optional<double> change = data.comparison->Change(test, report, data.measure)) {
        QColor colour = text;
        if (*change != 0.0)
            colour = QColor(QRgb(Comparison::IsBetter(*change, data.measure) ? kBetterColour : kWorseColour));
        draw(ChangeText(test, report), colour);
    }
    const std::uint32_t runs = data.comparison->Runs(test, report);
    if (runs > 1)
        draw(QStringLiteral("(%1 runs)").arg(runs), faint);
}
