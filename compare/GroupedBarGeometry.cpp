#include "compare/GroupedBarGeometry.h"

#include <algorithm>
#include <cmath>

std::uint32_t CompareReportColour(int report) {
    return kCompareReportColours[static_cast<unsigned>(report) % std::size(kCompareReportColours)];
}

int RowView::VisibleRows() const {
    return std::max(1, (height - bandHeight) / std::max(1, rowHeight));
}

int RowView::MaxFirstRow(int rowCount) const {
    return std::max(0, rowCount - VisibleRows());
}

int RowView::RowAt(int y, int firstRow, int rowCount) const {
    if (y < bandHeight)
        return -1;
    const int row = firstRow + (y - bandHeight) / std::max(1, rowHeight);
    return row < rowCount ? row : -1;
}

int RowView::LastDrawnRow(int firstRow, int rowCount) const {
    return std::min(rowCount, firstRow + VisibleRows() + 1);
}

int GroupedBarGeometry::BarAreaWidth() const {
    return std::max(0, rows.width - labelWidth - valueWidth);
}

int GroupedBarGeometry::BarPixels(double value, double scale) const {
    if (!(value > 0.0) || !(scale > 0.0))
        return 0;
    const double pixels = value / scale * BarAreaWidth();
    if (!std::isfinite(pixels))
        return 0;
    return static_cast<int>(std::clamp(pixels, 0.0, static_cast<double>(BarAreaWidth())));
}

double GroupedBarScale(const Comparison& comparison, const std::vector<int>& tests, int measure) {
    double largest = 0.0;
    for (const int test : tests)
        for (int report = 0; report < comparison.ReportCount(); ++report)
            if (const std::optional<double> mean = comparison.Mean(test, report, measure))
                largest = std::max(largest, *mean);
    return largest > 0.0 ? largest : 1.0;
}

std::vector<LegendPlace> LayOutLegend(const std::vector<int>& itemWidths, int width, int lineHeight, int gap,
                                      int& height) {
    std::vector<LegendPlace> places;
    int x = 0;
    int y = 0;
    for (const int itemWidth : itemWidths) {
        if (x > 0 && x + itemWidth > width) {
            x = 0;
            y += lineHeight;
        }
        places.push_back(LegendPlace{x, y});
        x += itemWidth + gap;
    }
    height = itemWidths.empty() ? 0 : y + lineHeight;
    return places;
}
