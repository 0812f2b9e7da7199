#pragma once

#include "compare/ReportTests.h"

#include <cstdint>
#include <optional>
#include <vector>

// What a candidate report shows against the baseline over the tests both hold.
struct CandidateSummary {
    int matchedTests = 0;                   // tests with runs in both
    std::optional<double> ioRatio;          // geometric mean of candidate / baseline IO/sec
    std::optional<double> mbRatio;          // the same of MB/sec
    std::optional<double> avgLatencyChange; // median change of Avg_Latency, in percent
};

// Reports matched test by test: every test any of them holds, in test order (TestOrder), and what each
// report gives of it. The first report is the baseline. The reports are read, not copied: they must
// outlive the comparison and stay unchanged.
class Comparison {
public:
    Comparison() = default;
    explicit Comparison(std::vector<const ReportTests*> reports);

    int ReportCount() const { return static_cast<int>(m_reports.size()); }
    int TestCount() const { return static_cast<int>(m_keys.size()); }
    const TestKey& Key(int test) const { return *m_keys[static_cast<size_t>(test)]; }

    // Runs of the test in the report (0 when it holds none).
    std::uint32_t Runs(int test, int report) const;
    // The report's mean of the measure for the test; none when it has no value (ReportTests::Mean).
    std::optional<double> Mean(int test, int report, int measure) const;
    // The change of a candidate's mean against the baseline's, in percent; none for the baseline, when
    // either has no value, or when the baseline's is 0.
    std::optional<double> Change(int test, int report, int measure) const;
    // A change is better when it goes the way the measure gains: up for throughput, down for latency.
    static bool IsBetter(double change, int measure);

    // Summary of a candidate (report > 0). Ratios are taken over the matched tests where both means are
    // above 0 (a logarithm needs it); none when there are no such tests.
    CandidateSummary Summary(int report) const;

private:
    int Slot(int test, int report) const {
        return m_slots[static_cast<size_t>(test * ReportCount() + report)];
    }

    std::vector<const ReportTests*> m_reports;
    std::vector<const TestKey*> m_keys; // each test's key, as the first report that holds it has it
    std::vector<std::int32_t> m_slots;  // per test and report, the test's index in the report, or -1
};

// The median of values (the mean of the middle two for an even count); none for no values. Reorders them.
std::optional<double> Median(std::vector<double>& values);
