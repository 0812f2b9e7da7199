#pragma once

#include "compare/Comparison.h"
#include "table/ListBase.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The filters of a comparison, one value per key part; an empty value lets every test through.
struct CompareFilters {
    std::array<std::string, kTestKeyPartCount> values;
    bool Passes(const TestKey& key) const;
};

enum class CompareOrder {
    ByTest,          // test order (TestOrder)
    ByLargestChange, // the test whose candidate moved most against the baseline (either way) first;
                     // tests without a change last, in test order
};

// The tests shown, as indexes into the comparison, filtered and ordered.
std::vector<int> ShownTests(const Comparison& comparison, const CompareFilters& filters, CompareOrder order,
                            int measure);

// The values of one key part over the comparison's tests, each once, in test order.
std::vector<std::string> KeyPartValues(const Comparison& comparison, TestKeyPart part);

// A mean as the comparison writes it: two decimals.
std::string MeanText(const std::optional<double>& mean);
// A change as the comparison writes it: signed, one decimal ("+12.4", "-3.0"); empty for none.
std::string ChangeText(const std::optional<double>& change);

// The comparison table, one line per test given, in the order given: "Direction", "Type", "Size",
// "Outstanding IOs"; per report "Runs [LABEL]"; then for each measure given, per report "MEASURE [LABEL]"
// followed, for every report after the baseline, by "MEASURE change % [LABEL]". labels name the
// comparison's reports. The table's columns and rows are replaced.
void FillComparisonTable(CListBase& table, const Comparison& comparison,
                         const std::vector<std::string>& labels, const std::vector<int>& tests,
                         const std::vector<int>& measures);

// A candidate's summary in one line: "new.txt: 9 tests matched, IO/sec x1.124, MB/sec x1.124 (geometric
// means), Avg_Latency -3.0 % (median)"; a figure without a value reads "n/a".
std::string SummaryText(const std::string& label, const CandidateSummary& summary);

// Every measure, in the order of kCompareMeasures.
std::vector<int> AllMeasures();
