#include "compare/Comparison.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace {

struct KeyHash {
    size_t operator()(const TestKey* key) const {
        const std::hash<std::string> hash;
        size_t value = hash(key->direction);
        for (const std::string* part : {&key->type, &key->size, &key->outstanding})
            value = value * 1000003u ^ hash(*part);
        return value;
    }
};

struct KeyEqual {
    bool operator()(const TestKey* a, const TestKey* b) const { return *a == *b; }
};

} // namespace

Comparison::Comparison(std::vector<const ReportTests*> reports) : m_reports(std::move(reports)) {
    const int reportCount = ReportCount();
    // Every test once, in the order met; each report's index of it.
    std::unordered_map<const TestKey*, int, KeyHash, KeyEqual> tests;
    std::vector<std::vector<std::int32_t>> found; // per test, per report
    for (int report = 0; report < reportCount; ++report) {
        const ReportTests& source = *m_reports[static_cast<size_t>(report)];
        for (int test = 0; test < source.TestCount(); ++test) {
            const auto [at, added] = tests.emplace(&source.Key(test), static_cast<int>(m_keys.size()));
            if (added) {
                m_keys.push_back(&source.Key(test));
                found.emplace_back(static_cast<size_t>(reportCount), -1);
            }
            found[static_cast<size_t>(at->second)][static_cast<size_t>(report)] = test;
        }
    }
    // Into test order, each key's numbers read once.
    std::vector<TestOrder::Numbers> numbers;
    numbers.reserve(m_keys.size());
    for (const TestKey* key : m_keys)
        numbers.push_back(TestOrder::NumbersOf(*key));
    std::vector<int> order(m_keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return TestOrder::Less(*m_keys[static_cast<size_t>(a)], numbers[static_cast<size_t>(a)],
                               *m_keys[static_cast<size_t>(b)], numbers[static_cast<size_t>(b)]);
    });
    std::vector<const TestKey*> keys;
    keys.reserve(order.size());
    m_slots.reserve(order.size() * static_cast<size_t>(reportCount));
    for (const int test : order) {
        keys.push_back(m_keys[static_cast<size_t>(test)]);
        const std::vector<std::int32_t>& slots = found[static_cast<size_t>(test)];
        m_slots.insert(m_slots.end(), slots.begin(), slots.end());
    }
    m_keys = std::move(keys);
}

std::uint32_t Comparison::Runs(int test, int report) const {
    const int slot = Slot(test, report);
    return slot < 0 ? 0 : m_reports[static_cast<size_t>(report)]->Totals(slot).runs;
}

std::optional<double> Comparison::Mean(int test, int report, int measure) const {
    const int slot = Slot(test, report);
    if (slot < 0)
        return std::nullopt;
    return m_reports[static_cast<size_t>(report)]->Mean(slot, measure);
}

std::optional<double> Comparison::Change(int test, int report, int measure) const {
    if (report <= 0)
        return std::nullopt;
    const std::optional<double> baseline = Mean(test, 0, measure);
    const std::optional<double> candidate = Mean(test, report, measure);
    if (!baseline || !candidate || *baseline == 0.0)
        return std::nullopt;
    const double change = (*candidate - *baseline) / *baseline * 100.0;
    return std::isfinite(change) ? std::optional<double>(change) : std::nullopt;
}

bool Comparison::IsBetter(double change, int measure) {
    return kCompareMeasures[measure].higherIsBetter ? change > 0.0 : change < 0.0;
}

std::optional<double> Median(std::vector<double>& values) {
    if (values.empty())
        return std::nullopt;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1)
        return upper;
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return lower + (upper - lower) / 2.0;
}

CandidateSummary Comparison::Summary(int report) const {
    CandidateSummary summary;
    if (report <= 0 || report >= ReportCount())
        return summary;
    double logSums[2] = {0.0, 0.0};
    int logCounts[2] = {0, 0};
    std::vector<double> latencyChanges;
    for (int test = 0; test < TestCount(); ++test) {
        if (Runs(test, 0) == 0 || Runs(test, report) == 0)
            continue;
        ++summary.matchedTests;
        const int ratioMeasures[2] = {kMeasureIOs, kMeasureMBs};
        for (int i = 0; i < 2; ++i) {
            const std::optional<double> baseline = Mean(test, 0, ratioMeasures[i]);
            const std::optional<double> candidate = Mean(test, report, ratioMeasures[i]);
            if (baseline && candidate && *baseline > 0.0 && *candidate > 0.0) {
                logSums[i] += std::log(*candidate / *baseline);
                ++logCounts[i];
            }
        }
        if (const std::optional<double> change = Change(test, report, kMeasureAvgLatency))
            latencyChanges.push_back(*change);
    }
    if (logCounts[0] > 0)
        summary.ioRatio = std::exp(logSums[0] / logCounts[0]);
    if (logCounts[1] > 0)
        summary.mbRatio = std::exp(logSums[1] / logCounts[1]);
    summary.avgLatencyChange = Median(latencyChanges);
    return summary;
}
