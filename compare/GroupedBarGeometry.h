#pragma once

#include "compare/Comparison.h"

#include <cstdint>
#include <vector>

// The colours of the compared reports, as 0xRRGGBB, the baseline's first; told apart also by readers
// who confuse red and green.
inline constexpr std::uint32_t kCompareReportColours[8] = {0x4E79A7, 0xF28E2B, 0x59A14F, 0xB07AA1,
                                                           0x76B7B2, 0xEDC948, 0x9C755F, 0xE15759};
std::uint32_t CompareReportColour(int report);
// The colours of a change for the better and for the worse.
inline constexpr std::uint32_t kBetterColour = 0x1B7F3B;
inline constexpr std::uint32_t kWorseColour = 0xC0392B;

// Rows of one height below a fixed band (a legend), scrolled a row at a time: which rows are in view
// and where each is drawn. Counts are rows, not pixels, so a chart of any length scrolls at once.
struct RowView {
    int width = 0;      // viewport, pixels
    int height = 0;     //
    int bandHeight = 0; // the band at the top that does not scroll
    int rowHeight = 16; //

    // Whole rows that fit below the band; at least 1.
    int VisibleRows() const;
    // Largest first row for rowCount rows: the scroll bar's maximum.
    int MaxFirstRow(int rowCount) const;
    // The viewport y of a row's top when firstRow is at the top.
    int RowTop(int row, int firstRow) const { return bandHeight + (row - firstRow) * rowHeight; }
    // The row under a viewport y, or -1 (the band, or below the last row).
    int RowAt(int y, int firstRow, int rowCount) const;
    // The rows to draw from firstRow: those at least partly in view, never past the last.
    int LastDrawnRow(int firstRow, int rowCount) const;
};

// The grouped-bar chart: one group per test, a caption row then one bar row per report; each bar row has
// the report's name on the left, the bar, then its value and change on the right.
struct GroupedBarGeometry {
    RowView rows;
    int labelWidth = 120; // the report names
    int valueWidth = 180; // the value and change texts
    int reports = 1;      // bars in a group

    int RowsPerGroup() const { return reports + 1; }
    int RowCount(int groups) const { return groups * RowsPerGroup(); }
    int GroupOf(int row) const { return row / RowsPerGroup(); }
    // The report of a bar row; -1 for a group's caption row.
    int BarOf(int row) const { return row % RowsPerGroup() - 1; }
    int BarAreaLeft() const { return labelWidth; }
    int BarAreaWidth() const;
    // Pixels of a bar of the value on a scale whose full width stands for scale; within the bar area.
    int BarPixels(double value, double scale) const;
};

// The length a full bar stands for: the largest mean of the measure over the tests and every report;
// 1 when none is above 0.
double GroupedBarScale(const Comparison& comparison, const std::vector<int>& tests, int measure);

// Where each legend item goes: left to right, a new line when the next does not fit (an item wider
// than the width takes a line of its own). height receives the height of all lines.
struct LegendPlace {
    int x = 0;
    int y = 0;
};
std::vector<LegendPlace> LayOutLegend(const std::vector<int>& itemWidths, int width, int lineHeight, int gap,
                                      int& height);
