#pragma once

#include "report/RunDetails.h"

#include <string>
#include <vector>

// The latency chart of Run Details as plain numbers, and its pixel arithmetic; widgets/LatencyChartWnd
// draws it.
//
// Percentile points go on a "nines" axis, as HdrHistogram plots them: percentile p sits at
// -log10(1 - p/100) decades, so 0 %, 90 %, 99 %, 99.9 % ... are evenly spaced and the tail, where SQL
// Server waits, gets as much room as the body. The maximum (100 %) has no place on such an axis: it
// takes a slot one decade past the last, labelled "max". There is one line per direction the report
// gives values for. The latencies go up a linear ms axis from 0 to a round value above the largest.
// SQLIO's histogram is drawn as bars, one per bucket in the report's order, up a percent axis.

struct LatencyPoint {
    double nines = 0.0; // the position on the nines axis; infinite for the maximum
    double ms = 0.0;
};

struct LatencyLine {
    LatencyDirection direction = LatencyDirection::Total;
    std::vector<LatencyPoint> points; // in the order of their percentiles
};

// A value axis from 0 to max in steps of step (1, 2, 2.5 or 5 times a power of ten), labelled with
// decimals digits after the point.
struct RoundAxis {
    double max = 1.0;
    double step = 0.25;
    int decimals = 2;
};
// The axis for values up to largest: four to ten steps, max at or above largest (1 when it is 0).
RoundAxis RoundAxisAbove(double largest);

struct LatencyChart {
    enum class Kind { None, Percentiles, Histogram };
    Kind kind = Kind::None;
    std::vector<LatencyLine> lines;
    int decades = 1;     // the nines axis runs from 0 to this many decades
    bool hasMax = false; // and has a slot past them for the maximum
    LatencyDirection histogramDirection = LatencyDirection::Total;
    std::vector<std::string> bucketLabels;
    std::vector<double> bucketPercents;
    RoundAxis valueAxis; // ms for percentiles, percent for a histogram

    // The slots of the nines axis: its decades and the maximum's.
    int Slots() const { return decades + (hasMax ? 1 : 0); }
};

// The chart of a run's details: its percentile points where it has any (the points whose percentile or
// value is not a number are left out), else its histogram, else nothing to draw (Kind::None).
LatencyChart MakeLatencyChart(const RunDetails& details);

// The position of a percentile on the nines axis: 0 for 0, 1 for 90, 2 for 99, 3 for 99.9; infinite
// for 100 and above.
double NinesOf(double percentile);
// The label of the axis at whole decades: "0%", "90%", "99%", "99.9%", "99.99%"...
std::string NinesLabel(int decades);

// Where the chart lies in pixels, and where a value falls in it.
struct LatencyChartGeometry {
    double left = 0, top = 0, width = 0, height = 0; // the plot area, inside the axes

    // x of a position on the nines axis; the maximum's slot for an infinite one.
    double X(const LatencyChart& chart, double nines) const;
    // y of a value of the value axis (0 at the bottom, its max at the top).
    double Y(const LatencyChart& chart, double value) const;
    // A histogram's bar i of n: its left edge and its width, a fifth of its slot left as a gap.
    double BarLeft(int i, int n) const;
    double BarWidth(int n) const;
};
