#pragma once

#include "table/RecordPages.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

// One line of a chart as it is read back: a copy of its fields, its text in place in the model.
struct ChartLine {
    enum Kind { Header, Bar, Footer };
    Kind kind = Bar;
    std::string_view text; // 8-bit text as built by the caller, kept by the model until it is cleared
    double length = 0.0;   // a bar's value, exactly as given: the scale turns it into pixels
    int colour = 0;
};

// Where chart lines go, in display order: a chart model, or a chart window that holds one. The texts
// are copied.
class ChartSink {
public:
    virtual ~ChartSink() = default;
    virtual void AddHeader(std::string_view text, int colour) = 0;
    virtual void AddBarColor(std::string_view label, double length, int colour) = 0;
    virtual void AddFooter(std::string_view text, int colour) = 0;
    // Makes line `line` (0 is the first line added) a bar with this label, length and colour: a caller
    // that learns a bar's figures only after the lines below it adds a placeholder first.
    virtual void SetBarColor(int line, std::string_view label, double length, int colour) = 0;
    virtual int LineCount() const = 0;
    // Room for this many lines in all, when the caller knows; changes nothing that shows.
    virtual void Reserve(size_t /*lines*/) {}
};

// A horizontal bar chart as data: its lines in display order and its scale. No Qt.
//
// A chart has a line per result row, so each line is one packed record: a byte of kind and colour,
// the text size and the length as variable-length numbers, then the text. A length with at most six
// decimals (what a report's cells hold) is kept as a whole number and its count of decimals, in two or
// three bytes; any other length takes its eight. Records are packed into
// large pages, so a line costs its text, a few bytes and the record's pointer; a chart of 100k bars
// takes a few dozen allocations, not one per label.
class ChartModel : public ChartSink {
public:
    ChartModel() = default;
    // The lines point into the model's own pages: a copy would point into the original's.
    ChartModel(const ChartModel&) = delete;
    ChartModel& operator=(const ChartModel&) = delete;

    // Removes every line and gives its memory back.
    void Clear();
    // Removes every line but keeps the memory for the lines that follow: a tab's chart is built again
    // at once, at about the same size, and fresh memory would be paid for in page faults each time.
    void ClearKeepingRoom();
    // The length that fills the bar area; -1 or 0 (or anything not positive or not finite) scales to
    // the longest bar.
    void SetMax(double maximum) { m_max = maximum; }
    double GetMax() const { return m_max; }

    void AddHeader(std::string_view text, int colour) override;
    void AddBarColor(std::string_view label, double length, int colour) override;
    void AddFooter(std::string_view text, int colour) override;
    void SetBarColor(int line, std::string_view label, double length, int colour) override;
    void Reserve(size_t lines) override { m_records.reserve(lines); }

    int LineCount() const override { return static_cast<int>(m_records.size()); }
    // One line, 0 <= line < LineCount(); its text stays valid until the model is cleared.
    ChartLine Line(int line) const;
    // Every line at once, unpacked when first asked for after a change: for checks of whole charts.
    // Drawing reads Line(), which costs no memory.
    const std::vector<ChartLine>& Lines() const;
    // The length that a full-width bar stands for; never 0 or less.
    double Scale() const;
    // Byte length of the longest bar or footer label; headers span the whole width and do not count.
    size_t LongestLabel() const { return m_longestLabel; }
    // Indexes of the bar and footer lines whose label is at least minLength bytes long, at most limit
    // of them, the longest when there are more: the candidates for the widest label.
    std::vector<int> LongLabels(size_t minLength, size_t limit) const;

private:
    void Add(ChartLine::Kind kind, std::string_view text, double length, int colour);
    // The record of a line, in the model's pages.
    RecordPages::Handle Pack(ChartLine::Kind kind, std::string_view text, double length, int colour);
    // Takes the longest bar and label again from all lines, after the line that held one changed.
    void RecountLongest();

    // Each line's record, in display order: a handle of 4 bytes rather than a pointer of 8, as a chart
    // has a line per run.
    std::vector<RecordPages::Handle> m_records;
    RecordPages m_pages;                       // where the records are
    mutable std::vector<ChartLine> m_unpacked; // Lines(), while m_unpackedValid
    mutable bool m_unpackedValid = false;
    double m_max = -1.0;
    double m_longest = 0.0;
    size_t m_longestLabel = 0;
};

// Pixel geometry of a chart view: which lines are visible and how long each bar is drawn.
struct ChartGeometry {
    int lineHeight = 16;
    int labelWidth = 180;
    int barIndent = 0;
    int width = 0;  // viewport width in pixels
    int height = 0; // viewport height in pixels

    // The label column: at least the wanted width, wider for the widest label (plus padding) as long as
    // the bars keep two fifths of the viewport.
    static int LabelColumnWidth(int wanted, int widestLabel, int viewportWidth);

    int BarAreaLeft() const { return labelWidth + barIndent; }
    int BarAreaWidth() const;
    // Whole lines that fit into the viewport; at least 1.
    int VisibleLineCount() const;
    // Largest first line for a model of lineCount lines: the scroll bar's maximum.
    int MaxFirstLine(int lineCount) const;
    // Pixel length of a bar of the given length on the given scale, to the nearest pixel and clamped to
    // [0, BarAreaWidth()]; a bar above 0 takes at least one pixel, so a small value never looks like none.
    int BarPixels(double length, double scale) const;
    // The line under a viewport y coordinate when the chart shows firstLine at the top; -1 when none.
    int LineAt(int y, int firstLine, int lineCount) const;
};
