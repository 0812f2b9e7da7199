#include "widgets/ChartModel.h"

#include <algorithm>
#include <cmath>

std::uint32_t ChartColour(int index) {
    if (index < 0 || index >= 20)
        return 0x000000;
    return kChartPalette[index];
}

void ChartModel::Clear() {
    m_lines.clear();
    m_longest = 0;
}

void ChartModel::AddHeader(const std::string& text, int colour) {
    m_lines.push_back(ChartLine{ChartLine::Header, text, 0, colour});
}

void ChartModel::AddBarColor(const std::string& label, long long length, int colour) {
    m_lines.push_back(ChartLine{ChartLine::Bar, label, length, colour});
    m_longest = std::max(m_longest, length);
}

void ChartModel::AddFooter(const std::string& text, int colour) {
    m_lines.push_back(ChartLine{ChartLine::Footer, text, 0, colour});
}

double ChartModel::Scale() const {
    if (std::isfinite(m_max) && m_max > 0.0)
        return m_max;
    return m_longest > 0 ? static_cast<double>(m_longest) : 1.0;
}

int ChartGeometry::BarAreaWidth() const {
    return std::max(0, width - BarAreaLeft() - 4);
}

int ChartGeometry::VisibleLineCount() const {
    return std::max(1, height / std::max(1, lineHeight));
}

int ChartGeometry::MaxFirstLine(int lineCount) const {
    return std::max(0, lineCount - VisibleLineCount());
}

int ChartGeometry::BarPixels(long long length, double scale) const {
    if (length <= 0 || !(scale > 0.0))
        return 0;
    const double pixels = static_cast<double>(length) / scale * BarAreaWidth();
    if (!std::isfinite(pixels))
        return 0;
    return static_cast<int>(std::clamp(pixels, 0.0, static_cast<double>(BarAreaWidth())));
}
