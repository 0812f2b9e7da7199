#include "table/ChartModel.h"

#include <algorithm>
#include <cmath>

std::uint32_t ChartColour(int index) {
    if (index < 0 || index >= 20)
        return 0x000000;
    return kChartPalette[index];
}

std::string_view ChartTextStore::Add(std::string_view text) {
    if (text.empty())
        return {};
    if (text.size() > m_room) {
        const size_t size = std::max(kBlockSize, text.size());
        m_blocks.push_back(std::unique_ptr<char[]>(new char[size]));
        m_next = m_blocks.back().get();
        m_room = size;
    }
    char* at = m_next;
    std::copy(text.begin(), text.end(), at);
    m_next += text.size();
    m_room -= text.size();
    return std::string_view(at, text.size());
}

void ChartTextStore::Clear() {
    m_blocks.clear();
    m_next = nullptr;
    m_room = 0;
}

void ChartModel::Clear() {
    m_lines.clear();
    m_texts.Clear();
    m_longest = 0;
    m_longestLabel = 0;
}

void ChartModel::AddHeader(std::string_view text, int colour) {
    m_lines.push_back(ChartLine{ChartLine::Header, m_texts.Add(text), 0, colour});
}

void ChartModel::AddBarColor(std::string_view label, long long length, int colour) {
    m_longestLabel = std::max(m_longestLabel, label.size());
    m_lines.push_back(ChartLine{ChartLine::Bar, m_texts.Add(label), length, colour});
    m_longest = std::max(m_longest, length);
}

void ChartModel::AddFooter(std::string_view text, int colour) {
    m_longestLabel = std::max(m_longestLabel, text.size());
    m_lines.push_back(ChartLine{ChartLine::Footer, m_texts.Add(text), 0, colour});
}

double ChartModel::Scale() const {
    if (std::isfinite(m_max) && m_max > 0.0)
        return m_max;
    return m_longest > 0 ? static_cast<double>(m_longest) : 1.0;
}

std::vector<int> ChartModel::LongLabels(size_t minLength, size_t limit) const {
    std::vector<int> found;
    if (limit == 0 || m_longestLabel < minLength)
        return found;
    const auto isLabel = [](const ChartLine& line) { return line.kind != ChartLine::Header; };
    // Count the labels of each length first: with more candidates than the limit, the longest go in
    // (the first ones in display order could all be the short numbers of a long chart).
    std::vector<size_t> count(m_longestLabel - minLength + 1, 0);
    for (const ChartLine& line : m_lines)
        if (isLabel(line) && line.text.size() >= minLength)
            ++count[line.text.size() - minLength];
    size_t cutoff = m_longestLabel; // every label longer than cutoff goes in, and some of length cutoff
    size_t longer = 0;
    while (cutoff > minLength && longer + count[cutoff - minLength] < limit) {
        longer += count[cutoff - minLength];
        --cutoff;
    }
    size_t atCutoff = limit - longer;
    for (size_t i = 0; i < m_lines.size() && found.size() < limit; ++i) {
        const size_t length = m_lines[i].text.size();
        if (!isLabel(m_lines[i]) || length < cutoff)
            continue;
        if (length == cutoff) {
            if (atCutoff == 0)
                continue;
            --atCutoff;
        }
        found.push_back(static_cast<int>(i));
    }
    return found;
}

int ChartGeometry::LabelColumnWidth(int wanted, int widestLabel, int viewportWidth) {
    const int roomy = widestLabel + 12;
    const int cap = viewportWidth * 3 / 5;
    return std::max(wanted, std::min(roomy, cap));
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

int ChartGeometry::LineAt(int y, int firstLine, int lineCount) const {
    if (y < 0)
        return -1;
    const int line = firstLine + y / std::max(1, lineHeight);
    return line < lineCount ? line : -1;
}
