#pragma once

#include "compare/Comparison.h"

#include <string>
#include <vector>

// An axis of a curve plot: the range it spans and where its ticks are. A log2 axis spaces powers of two
// evenly, the way queue depths double.
struct PlotAxis {
    double low = 0.0;
    double high = 1.0;
    bool log2 = false;
    std::vector<double> ticks; // from low to high, low and high included

    // Where a value lies, 0 at low and 1 at high (outside for values beyond).
    double Fraction(double value) const;
    // A tick's text: as many decimals as the ticks' spacing needs.
    std::string TickText(double tick) const;
};

// A linear axis from a round number at or below low to one at or above high, with about maxTicks ticks
// at 1, 2 or 5 times a power of ten; a span of nothing is widened.
PlotAxis LinearAxis(double low, double high, int maxTicks);
// A log2 axis from the power of two at or below low to the one at or above high (both above 0), a tick
// at each power, or every second or more when there would be more than maxTicks. A single power is
// given the ones either side of it.
PlotAxis Log2Axis(double low, double high, int maxTicks);

struct CurvePoint {
    double x = 0.0;
    double y = 0.0;
};

// The curves of one Direction, Type and Size: per report, the measure against Outstanding IOs, and
// IO/sec against Avg_Latency, both in the order of Outstanding IOs (a report's sweep). A test without a
// value gives no point.
struct CurveSeries {
    TestKey key; // of its first test
    std::vector<std::vector<CurvePoint>> measure;
    std::vector<std::vector<CurvePoint>> latency;
};

// The series of the tests given (in test order, so a series' tests are together), one per Direction,
// Type and Size.
std::vector<CurveSeries> BuildCurves(const Comparison& comparison, const std::vector<int>& tests,
                                     int measure);

// The axes of a series' two plots: Outstanding IOs (log2 when every depth is above 0) against the
// measure from 0, and Avg_Latency from 0 against IO/sec from 0.
PlotAxis OutstandingAxis(const CurveSeries& series, int maxTicks);
PlotAxis MeasureAxis(const CurveSeries& series, int maxTicks);
PlotAxis LatencyAxis(const CurveSeries& series, int maxTicks);
PlotAxis ThroughputAxis(const CurveSeries& series, int maxTicks);
