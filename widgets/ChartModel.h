#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 20 colours of the bar chart, as 0xRRGGBB.
inline constexpr std::uint32_t kChartPalette[20] = {
    0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0x0000A0, 0x800080, 0x1AA639, 0x008000, 0x008080, 0xDC0000,
    0x808000, 0xFF0000, 0xFF00A0, 0xFF0080, 0xFFA639, 0xFF8000, 0xFF8080, 0xFF0000, 0xFF8000, 0xD4D4D4,
};

// Colour of a palette index; an index outside 0..19 draws black.
std::uint32_t ChartColour(int index);

// Layout shared by the charts of one window.
struct CChartWnd_Settings {
    int m_labelWidth = 180; // width in pixels of the label column left of the bars
    int m_barIndent = 0;    // pixels between the label column and the start of a bar
};

struct ChartLine {
    enum Kind { Header, Bar, Footer };
    Kind kind = Bar;
    std::string text; // 8-bit text as built by the caller
    long long length = 0;
    int colour = 0;
};

// A horizontal bar chart as data: its lines in display order and its scale. No Qt.
class ChartModel {
public:
    void Clear();
    // The length that fills the bar area; -1 or 0 (or anything not positive) scales to the longest bar.
    void SetMax(double maximum) { m_max = maximum; }
    double GetMax() const { return m_max; }

    void AddHeader(const std::string& text, int colour);
    void AddBarColor(const std::string& label, long long length, int colour);
    void AddFooter(const std::string& text, int colour);

    const std::vector<ChartLine>& Lines() const { return m_lines; }
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    // The length that a full-width bar stands for; never 0 or less.
    double Scale() const;

private:
    std::vector<ChartLine> m_lines;
    double m_max = -1.0;
    long long m_longest = 0;
};

// Pixel geometry of a chart view: which lines are visible and how long each bar is drawn.
struct ChartGeometry {
    int lineHeight = 16;
    int labelWidth = 180;
    int barIndent = 0;
    int width = 0;  // viewport width in pixels
    int height = 0; // viewport height in pixels

    int BarAreaLeft() const { return labelWidth + barIndent; }
    int BarAreaWidth() const;
    // Whole lines that fit into the viewport; at least 1.
    int VisibleLineCount() const;
    // Largest first line for a model of lineCount lines: the scroll bar's maximum.
    int MaxFirstLine(int lineCount) const;
    // Pixel length of a bar of the given length on the given scale, clamped to [0, BarAreaWidth()].
    int BarPixels(long long length, double scale) const;
};
