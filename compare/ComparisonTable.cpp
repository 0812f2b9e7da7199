#include "compare/ComparisonTable.h"

#include "table/FormatNumeric.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

bool CompareFilters::Passes(const TestKey& key) const {
    for (int part = 0; part < kTestKeyPartCount; ++part) {
        const std::string& value = values[static_cast<size_t>(part)];
        if (!value.empty() && KeyPart(key, static_cast<TestKeyPart>(part)) != value)
            return false;
    }
    return true;
}

std::vector<int> ShownTests(const Comparison& comparison, const CompareFilters& filters, CompareOrder order,
                            int measure) {
    std::vector<int> tests;
    for (int test = 0; test < comparison.TestCount(); ++test)
        if (filters.Passes(comparison.Key(test)))
            tests.push_back(test);
    if (order == CompareOrder::ByTest)
        return tests;
    // The largest change of each test, over every candidate; -1 when no candidate has one.
    std::vector<double> largest(static_cast<size_t>(comparison.TestCount()), -1.0);
    for (const int test : tests)
        for (int report = 1; report < comparison.ReportCount(); ++report)
            if (const std::optional<double> change = comparison.Change(test, report, measure))
                largest[static_cast<size_t>(test)] =
                    std::max(largest[static_cast<size_t>(test)], std::fabs(*change));
    std::stable_sort(tests.begin(), tests.end(), [&](int a, int b) {
        return largest[static_cast<size_t>(a)] > largest[static_cast<size_t>(b)];
    });
    return tests;
}

std::vector<std::string> KeyPartValues(const Comparison& comparison, TestKeyPart part) {
    std::vector<std::string> values;
    std::set<std::string> seen;
    for (int test = 0; test < comparison.TestCount(); ++test) {
        const std::string& value = KeyPart(comparison.Key(test), part);
        if (seen.insert(value).second)
            values.push_back(value);
    }
    return values;
}

std::string MeanText(const std::optional<double>& mean) {
    return mean ? FormatFixed(*mean, 2) : std::string();
}

std::string ChangeText(const std::optional<double>& change) {
    if (!change)
        return {};
    std::string text = FormatFixed(*change, 1);
    if (!std::signbit(*change))
        text.insert(text.begin(), '+');
    return text;
}

std::vector<int> AllMeasures() {
    std::vector<int> measures(static_cast<size_t>(kCompareMeasureCount));
    std::iota(measures.begin(), measures.end(), 0);
    return measures;
}

namespace {

// The least widths of the columns in the window, in pixels (a title may need more); the CSV has none.
constexpr int kKeyColumnWidth = 90;
constexpr int kRunsColumnWidth = 60;
constexpr int kValueColumnWidth = 80;

std::string Titled(const std::string& title, const std::string& label) {
    return title + " [" + label + "]";
}

} // namespace

void FillComparisonTable(CListBase& table, const Comparison& comparison,
                         const std::vector<std::string>& labels, const std::vector<int>& tests,
                         const std::vector<int>& measures) {
    table.DeleteAllColumns();
    const int reports = comparison.ReportCount();
    for (const char* title : {"Direction", "Type", "Size", "Outstanding IOs"})
        table.AddCol(ColSortText, title, kKeyColumnWidth, 0);
    for (int report = 0; report < reports; ++report)
        table.AddCol(ColSortNumber, Titled("Runs", labels[static_cast<size_t>(report)]), kRunsColumnWidth, 1);
    for (const int measure : measures) {
        const std::string name = kCompareMeasures[measure].name;
        for (int report = 0; report < reports; ++report) {
            table.AddCol(ColSortNumber, Titled(name, labels[static_cast<size_t>(report)]), kValueColumnWidth,
                         1);
            if (report > 0)
                table.AddCol(ColSortNumber, Titled(name + " change %", labels[static_cast<size_t>(report)]),
                             kValueColumnWidth, 1);
        }
    }
    std::vector<std::string> cells;
    for (const int test : tests) {
        const TestKey& key = comparison.Key(test);
        cells = {key.direction, key.type, key.size, key.outstanding};
        for (int report = 0; report < reports; ++report)
            cells.push_back(std::to_string(comparison.Runs(test, report)));
        for (const int measure : measures) {
            for (int report = 0; report < reports; ++report) {
                cells.push_back(MeanText(comparison.Mean(test, report, measure)));
                if (report > 0)
                    cells.push_back(ChangeText(comparison.Change(test, report, measure)));
            }
        }
        table.InsertRow(cells);
    }
}

std::string SummaryText(const std::string& label, const CandidateSummary& summary) {
    const auto ratio = [](const std::optional<double>& value) {
        if (!value)
            return std::string("n/a");
        // Appended, not "x" + text: GCC 12 at -O3 sees a false overlap in that operator's copy.
        std::string text = "x";
        text += FormatFixed(*value, 3);
        return text;
    };
    std::string text = label + ": " + std::to_string(summary.matchedTests) +
                       (summary.matchedTests == 1 ? " test" : " tests") + " matched, IO/sec " +
                       ratio(summary.ioRatio) + ", MB/sec " + ratio(summary.mbRatio) +
                       " (geometric means), Avg_Latency ";
    text += summary.avgLatencyChange ? ChangeText(summary.avgLatencyChange) + " %" : std::string("n/a");
    return text + " (median)";
}
