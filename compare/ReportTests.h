#pragma once

#include "compare/CompareMeasures.h"
#include "compare/TestKey.h"
#include "report/ReportLoad.h"
#include "report/RunDetailsStore.h"
#include "table/ListBase.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What one report holds of each test, all a comparison needs of it: the runs of the test, and for each
// measure the sum of its non-empty cells and how many there were. The report's rows are not kept: a
// report of a million runs of a few dozen tests is a few dozen of these.
struct TestTotals {
    std::uint32_t runs = 0;
    std::array<std::uint32_t, kCompareMeasureCount> cells{};
    std::array<double, kCompareMeasureCount> sums{};
};

// An error row: the message of a run that could not be read, in "Diag Details".
bool IsErrorRow(const ListRowView& row);

// The tests of one report, in the order of their first run.
class ReportTests {
public:
    // Adds every row of a result table: a run to its test's totals, an error row to the count of them.
    // The percentile measures are read from the runs' details, found by each row's "#"; without any, or
    // for a run whose report gives no such point, they have no value.
    void AddRows(const CListBase& table, const RunDetailsStore* runDetails = nullptr);

    int TestCount() const { return static_cast<int>(m_keys.size()); }
    const TestKey& Key(int test) const { return m_keys[static_cast<size_t>(test)]; }
    const TestTotals& Totals(int test) const { return m_totals[static_cast<size_t>(test)]; }
    long long Runs() const { return m_runs; }
    long long ErrorRows() const { return m_errorRows; }

    // The measure's mean over the test's runs: the mean of the non-empty cells (none when there are
    // none), or for a quotient the numerator's mean divided by the denominator's, unchanged when that is
    // 0 or missing. A mean that is not finite is 0, as the main chart's averages are.
    std::optional<double> Mean(int test, int measure) const;

private:
    std::vector<TestKey> m_keys;
    std::vector<TestTotals> m_totals;
    long long m_runs = 0;
    long long m_errorRows = 0;
};

// A report as a comparison holds it: the tests it gave, or why it gave none.
struct ComparedReport {
    std::string path;
    ReportLoadStatus status = ReportLoadStatus::CannotOpen;
    std::string problem;       // the system's reason when it cannot be opened
    ReportLoadDetails details; // what the load says beyond its status (a file read only in part)
    ReportTests tests;

    bool Opened() const { return status != ReportLoadStatus::CannotOpen; }
};

// Reads a report with the main window's load and keeps its tests; the rows are let go before it returns.
// steps are those of LoadReportRows, for a caller that shows progress. Memory that runs out gives
// OutOfMemory and no tests.
ComparedReport LoadComparedReport(const std::string& path, const ReportLoadSteps& steps = {});
