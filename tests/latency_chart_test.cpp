// What Run Details reads off a run's details: the nines axis and its chart, the rows of its percentile
// table, how steady its IOPS were, and which run a chart bar stands for.
#include "analysis/LatencyChart.h"
#include "analysis/RunDetailsFigures.h"
#include "analysis/TabChartBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

PercentilePoint Point(const char* percentile, std::optional<std::string> read,
                      std::optional<std::string> write, std::optional<std::string> total) {
    return PercentilePoint{percentile, {std::move(read), std::move(write), std::move(total)}};
}

TEST(NinesAxisTest, PercentilesFallOnEvenlySpacedDecadesAndTheMaximumPastThem) {
    EXPECT_DOUBLE_EQ(NinesOf(0), 0.0);
    EXPECT_NEAR(NinesOf(90), 1.0, 1e-12);
    EXPECT_NEAR(NinesOf(99.9), 3.0, 1e-12);
    EXPECT_NEAR(NinesOf(50), std::log10(2.0), 1e-12);
    EXPECT_TRUE(std::isinf(NinesOf(100)));
    EXPECT_EQ(NinesLabel(0), "0%");
    EXPECT_EQ(NinesLabel(1), "90%");
    EXPECT_EQ(NinesLabel(2), "99%");
    EXPECT_EQ(NinesLabel(4), "99.99%");

    RunDetails details;
    details.percentiles = {
        Point("0", std::nullopt, "0.013", "0.013"), Point("99.9", std::nullopt, "37.418", "x"),
        Point("9-nines", std::nullopt, "5.0", "5.0"), Point("100", std::nullopt, "5543.894", "5543.894")};
    const LatencyChart chart = MakeLatencyChart(details);
    ASSERT_EQ(chart.kind, LatencyChart::Kind::Percentiles);
    // No Read line (all N/A); the Total line leaves out "x"; a label that is no number is no point.
    ASSERT_EQ(chart.lines.size(), 2u);
    EXPECT_EQ(chart.lines[0].direction, LatencyDirection::Write);
    EXPECT_EQ(chart.lines[0].points.size(), 3u);
    EXPECT_EQ(chart.lines[1].points.size(), 2u);
    EXPECT_EQ(chart.decades, 3) << "99.9 is three decades, not a hair more";
    EXPECT_TRUE(chart.hasMax);
    EXPECT_EQ(chart.valueAxis.max, 6000.0);

    LatencyChartGeometry plot{10, 20, 400, 100};
    EXPECT_DOUBLE_EQ(plot.X(chart, 0), 10);
    EXPECT_DOUBLE_EQ(plot.X(chart, 3), 10 + 300);
    EXPECT_DOUBLE_EQ(plot.X(chart, INFINITY), 10 + 400) << "the maximum takes the last slot";
    EXPECT_DOUBLE_EQ(plot.Y(chart, 0), 120);
    EXPECT_DOUBLE_EQ(plot.Y(chart, 6000), 20);
    EXPECT_DOUBLE_EQ(plot.Y(chart, 1e9), 20) << "clamped to the plot";
}

TEST(NinesAxisTest, RoundAxesReachTheLargestValueInFewRoundSteps) {
    struct Case {
        double largest, max, step;
        int decimals;
    };
    for (const Case& c : {Case{35.257, 40, 5, 0}, Case{5543.894, 6000, 1000, 0}, Case{0.5, 0.5, 0.05, 2},
                          Case{49, 50, 5, 0}, Case{0.22, 0.225, 0.025, 3}, Case{0, 1, 0.25, 2}}) {
        const RoundAxis axis = RoundAxisAbove(c.largest);
        EXPECT_NEAR(axis.max, c.max, 1e-9) << c.largest;
        EXPECT_NEAR(axis.step, c.step, 1e-9) << c.largest;
        EXPECT_EQ(axis.decimals, c.decimals) << c.largest;
        EXPECT_LE(axis.max / axis.step, 10.0 + 1e-9);
    }
}

TEST(LatencyChartTest, AHistogramIsBarsAndNoDistributionIsNoChart) {
    RunDetails details;
    EXPECT_EQ(MakeLatencyChart(details).kind, LatencyChart::Kind::None);
    EXPECT_FALSE(HasLatencyDistribution(details));
    details.histogramDirection = LatencyDirection::Read;
    details.histogram = {{"0", "9"}, {"1", "19"}, {"24+", "49"}};
    const LatencyChart chart = MakeLatencyChart(details);
    ASSERT_EQ(chart.kind, LatencyChart::Kind::Histogram);
    EXPECT_EQ(chart.bucketPercents, (std::vector<double>{9, 19, 49}));
    EXPECT_EQ(chart.bucketLabels.back(), "24+");
    EXPECT_EQ(chart.valueAxis.max, 50.0);
    const LatencyChartGeometry plot{0, 0, 250, 100};
    EXPECT_DOUBLE_EQ(plot.BarLeft(0, 25), 1.0);
    EXPECT_DOUBLE_EQ(plot.BarLeft(24, 25) + plot.BarWidth(25), 249.0);
}

TEST(PercentileTableTest, TheMainRowsAreFoundByNumberHoweverTheReportWritesThem) {
    RunDetails details;
    for (const char* percentile :
         {"0", "25", "50.000000", "90", "95", "99", "99.900000", "99.99", "99.999", "100"})
        details.percentiles.push_back(Point(percentile, "1", std::nullopt, "1"));
    std::vector<std::string> main;
    for (const PercentilePoint* point : ShownPercentiles(details, false))
        main.push_back(PercentileLabel(point->percentile));
    EXPECT_EQ(main, (std::vector<std::string>{"50.000000", "90", "95", "99", "99.900000", "99.99", "max"}));
    EXPECT_EQ(ShownPercentiles(details, true).size(), 10u);
    EXPECT_EQ(PercentileLabel("0"), "min");
    details.percentiles.resize(3); // a table cut after 50: what is there
    EXPECT_EQ(ShownPercentiles(details, false).size(), 1u);
}

TEST(IopsStabilityTest, TheLargestSpreadOfTheRunDecides) {
    RunDetails details;
    EXPECT_FALSE(IopsVariationOf(details));
    // The real mixed run: 129.18 at 1189.03 is 10.9 %, over the line; the write-only run's 6.1 % is not.
    details.iopsSpread = {{LatencyDirection::Total, "129.18", "1189.03"}};
    ASSERT_TRUE(IopsVariationOf(details));
    EXPECT_NEAR(IopsVariationOf(details)->share, 0.10864, 1e-4);
    EXPECT_GT(IopsVariationOf(details)->share, kUnsteadyIopsShare);
    details.iopsSpread = {{LatencyDirection::Total, "135948.98", "2242082.85"}};
    EXPECT_LT(IopsVariationOf(details)->share, kUnsteadyIopsShare);
    // Interval samples: 90 and 110 about a mean of 100 is a 10 % population deviation; a mean of 0 or
    // a sample that is no number says nothing.
    details.iopsSpread = {{LatencyDirection::Read, "1", "0"}, {LatencyDirection::Write, "N/A", "5"}};
    EXPECT_FALSE(IopsVariationOf(details));
    details.iopsSamples = {"90", "110", "90", "110"};
    EXPECT_NEAR(IopsVariationOf(details)->share, 0.10, 1e-12);
    details.iopsSamples.push_back("n/a");
    EXPECT_FALSE(IopsVariationOf(details));
}

TEST(TabChartBarTest, ADetailsBarNamesItsRunAndNoOtherLineDoes) {
    EXPECT_EQ(RunOfDetailsBar("3. Read random 8KB 4O: 123.46"), 3);
    EXPECT_EQ(RunOfDetailsBar("12.    0O: 0.00"), 12) << "an error row's bar";
    for (const char* other : {"MB/sec: 12.00", "MB/sec, Read: 3.00", "Details Average: 1.00", "No Results",
                              "", "3.5 x", "-1. x", "99999999999. x"})
        EXPECT_EQ(RunOfDetailsBar(other), std::nullopt) << other;
}

} // namespace
