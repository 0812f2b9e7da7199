// The chart's painting and scrolling arithmetic and its lines on their own, at their edges: no widget,
// no display.
#include "table/ChartModel.h"
#include "table/ChartScroll.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

ChartGeometry View(int width, int height) {
    ChartGeometry geometry;
    geometry.lineHeight = 16;
    geometry.labelWidth = 200;
    geometry.barIndent = 6;
    geometry.width = width;
    geometry.height = height;
    return geometry;
}

TEST(ChartGeometryTest, TheLabelColumnWidensForALongLabelButLeavesTheBarsTwoFifths) {
    EXPECT_EQ(ChartGeometry::LabelColumnWidth(180, 100, 1000), 180); // short labels: the wanted width
    EXPECT_EQ(ChartGeometry::LabelColumnWidth(180, 300, 1000), 312); // the label and its padding
    EXPECT_EQ(ChartGeometry::LabelColumnWidth(180, 900, 1000), 600); // three fifths at most
    EXPECT_EQ(ChartGeometry::LabelColumnWidth(180, 900, 200), 180);  // never narrower than wanted
}

TEST(ChartGeometryTest, BarsScaleToTheBarAreaAndNeverLeaveIt) {
    const ChartGeometry view = View(610, 160);
    ASSERT_EQ(view.BarAreaWidth(), 400); // 610 less 200 of labels, 6 of indent and 4 of margin
    EXPECT_EQ(view.BarPixels(50, 100.0), 200);
    EXPECT_EQ(view.BarPixels(100, 100.0), 400);
    EXPECT_EQ(view.BarPixels(1'000'000, 100.0), 400);
    EXPECT_EQ(view.BarPixels(0, 100.0), 0);
    EXPECT_EQ(view.BarPixels(-5, 100.0), 0);
    EXPECT_EQ(view.BarPixels(50, 0.0), 0);
    EXPECT_EQ(view.BarPixels(50, std::nan("")), 0);
    EXPECT_EQ(view.BarPixels(std::nan(""), 100.0), 0);
    EXPECT_EQ(view.BarPixels(HUGE_VAL, 100.0), 400);
    // Exact values, to the nearest pixel: 1.11 and 1.25 differ, and a value above 0 is never lost.
    EXPECT_EQ(view.BarPixels(1.11, 4.0), 111);
    EXPECT_EQ(view.BarPixels(1.25, 4.0), 125);
    EXPECT_EQ(view.BarPixels(0.001, 100.0), 1);
    EXPECT_EQ(view.BarPixels(99.8, 100.0), 399); // 399.2 pixels
    // A viewport narrower than the label column has no bar area, not a negative one.
    EXPECT_EQ(View(100, 160).BarAreaWidth(), 0);
    EXPECT_EQ(View(100, 160).BarPixels(100, 100.0), 0);
}

TEST(ChartGeometryTest, VisibleLinesScrollRangeAndTheLineUnderThePointer) {
    const ChartGeometry view = View(610, 170); // ten whole lines and a part
    EXPECT_EQ(view.VisibleLineCount(), 10);
    EXPECT_EQ(view.MaxFirstLine(25), 15);
    EXPECT_EQ(view.MaxFirstLine(4), 0);
    EXPECT_EQ(View(610, 5).VisibleLineCount(), 1); // a viewport lower than a line still shows one

    EXPECT_EQ(view.LineAt(0, 3, 25), 3);
    EXPECT_EQ(view.LineAt(31, 3, 25), 4);
    EXPECT_EQ(view.LineAt(32, 3, 25), 5);
    EXPECT_EQ(view.LineAt(-1, 3, 25), -1);
    EXPECT_EQ(view.LineAt(160, 20, 25), -1); // below the last line

    ChartGeometry flat = view;
    flat.lineHeight = 0; // a font not measured yet divides by one, not by zero
    EXPECT_EQ(flat.VisibleLineCount(), 170);
    EXPECT_EQ(flat.LineAt(7, 0, 25), 7);
}

TEST(ChartScrollTest, KeysMoveByLinesAndPagesInsideTheRange) {
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::LineDown, 4, 10, 5), 5);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::LineUp, 0, 10, 5), 0);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::PageDown, 8, 10, 5), 10);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::PageUp, 8, 10, 5), 3);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::End, 2, 10, 5), 10);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::Home, 7, 10, 5), 0);
    EXPECT_EQ(ChartScrollTarget(ChartScrollKey::End, 2, -3, 0), 0); // an empty chart stays at the top
}

TEST(ChartScrollTest, WheelSettingsOfAScreenOrMoreMoveAPageAndZeroNothing) {
    ChartWheel wheel;
    EXPECT_EQ(wheel.Lines(-120, -1, 10), 10); // "one screen at a time"
    EXPECT_EQ(wheel.Lines(120, 50, 10), -10);
    EXPECT_EQ(wheel.Lines(-120, 0, 10), 0);
}

} // namespace

// Lines are packed records with variable-length numbers: every field comes back exactly, whatever its
// size (lengths with a few decimals, and those without a short form), and a bar set in place of the
// longest one gives the scale back to the others.
TEST(ChartModelTest, LinesKeepEveryFieldAndASetBarRescalesTheChart) {
    const std::string longText(40000, 'x'); // a record bigger than a page's share gets its own block
    struct Line {
        ChartLine::Kind kind;
        std::string text;
        double length;
        int colour;
    };
    const std::vector<Line> lines = {
        {ChartLine::Header, "Averages", 0, 7},
        {ChartLine::Bar, "", 1e300, 61},
        {ChartLine::Bar, std::string(200, 'b'), -1e300, 62},
        {ChartLine::Bar, "3. Read random 8KB 4O: 99.99", -1, INT_MIN},
        {ChartLine::Bar, longText, 123, INT_MAX},
        {ChartLine::Bar, "a", 141.44, 0},
        {ChartLine::Bar, "b", -0.000001, 0},
        {ChartLine::Bar, "c", 0.1 + 0.2, 0}, // no short form: 0.30000000000000004
        {ChartLine::Bar, "d", 1e-300, 0},
        {ChartLine::Bar, "e", 9007199254740993.0 / 3.0, 0},
        {ChartLine::Footer, "", 0, -1},
        {ChartLine::Footer, "end", 0, -2},
    };
    ChartModel chart;
    for (const Line& line : lines) {
        if (line.kind == ChartLine::Header)
            chart.AddHeader(line.text, line.colour);
        else if (line.kind == ChartLine::Bar)
            chart.AddBarColor(line.text, line.length, line.colour);
        else
            chart.AddFooter(line.text, line.colour);
    }
    ASSERT_EQ(chart.LineCount(), static_cast<int>(lines.size()));
    for (int i = 0; i < chart.LineCount(); ++i) {
        const ChartLine line = chart.Line(i);
        EXPECT_EQ(line.kind, lines[i].kind) << i;
        EXPECT_EQ(line.text, lines[i].text) << i;
        EXPECT_EQ(line.length, lines[i].kind == ChartLine::Bar ? lines[i].length : 0) << i;
        EXPECT_EQ(line.colour, lines[i].colour) << i;
    }
    EXPECT_EQ(chart.Scale(), 1e300);
    EXPECT_EQ(chart.LongestLabel(), longText.size());

    chart.SetBarColor(1, "short", 5, 3);
    chart.SetBarColor(4, "four", 4, 4);
    EXPECT_EQ(chart.Scale(), lines[9].length);
    EXPECT_EQ(chart.LongestLabel(), 200u);
    EXPECT_EQ(chart.Lines()[1].text, "short");
    EXPECT_EQ(chart.Lines()[4].colour, 4);
    EXPECT_EQ(chart.Lines()[3].text, lines[3].text);
}
