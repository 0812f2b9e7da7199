#include "compare/ReportTests.h"

#include "analysis/RunDetailsFigures.h"
#include "table/CellNumber.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>

bool IsErrorRow(const ListRowView& row) {
    return row.size() > kColDiagDetails && !row[kColDiagDetails].empty();
}

namespace {

using KeyCells = std::array<std::string_view, 4>;

KeyCells CellsOf(const ListRowView& row) {
    return {row[kColDirection], row[kColType], row[kColSize], row[kColOutstanding]};
}

KeyCells CellsOf(const TestKey& key) {
    return {key.direction, key.type, key.size, key.outstanding};
}

// FNV-1a over the four cells, each closed by its length, so that ("ab", "c") and ("a", "bc") differ.
std::uint64_t HashOf(const KeyCells& cells) {
    constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string_view cell : cells) {
        for (const char c : cell)
            hash = (hash ^ static_cast<unsigned char>(c)) * kPrime;
        hash = (hash ^ cell.size()) * kPrime;
    }
    return hash;
}

// The tests of a report by their key, while its rows are added: an open-addressed table of hashes and
// test indexes. Every row looks its key up here, so it hashes the cells where they lie instead of
// copying them into a string first.
class KeyIndex {
public:
    explicit KeyIndex(const std::vector<TestKey>& keys) : m_keys(keys) {
        Resize(64);
        for (std::uint32_t test = 0; test < keys.size(); ++test)
            Insert(HashOf(CellsOf(keys[test])), test);
    }

    // The test with these cells, or kNone.
    std::uint32_t Find(const KeyCells& cells, std::uint64_t hash) const {
        for (size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (slot.test == kNone)
                return kNone;
            if (slot.hash == hash && CellsOf(m_keys[slot.test]) == cells)
                return slot.test;
        }
    }
    void Insert(std::uint64_t hash, std::uint32_t test) {
        if ((m_count + 1) * 2 > m_slots.size())
            Resize(m_slots.size() * 2);
        Place(hash, test);
        ++m_count;
    }

    static constexpr std::uint32_t kNone = UINT32_MAX;

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t test = kNone;
    };
    void Place(std::uint64_t hash, std::uint32_t test) {
        size_t at = hash & m_mask;
        while (m_slots[at].test != kNone)
            at = (at + 1) & m_mask;
        m_slots[at] = Slot{hash, test};
    }
    void Resize(size_t size) {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(size, Slot{});
        m_mask = size - 1;
        for (const Slot& slot : old)
            if (slot.test != kNone)
                Place(slot.hash, slot.test);
    }

    const std::vector<TestKey>& m_keys;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    size_t m_count = 0;
};

} // namespace

void ReportTests::AddRows(const CListBase& table, const RunDetailsStore* runDetails) {
    if (table.GetColumnCount() < kResultColumnCount)
        return;
    // The percentiles of each run, by its number (a run's number is below the table's row count), read
    // in one pass over the details rather than looked up row by row; NaN where a run has none.
    std::vector<std::array<double, kCompareMeasureCount>> percentiles;
    if (runDetails != nullptr && !runDetails->Empty()) {
        std::array<double, kCompareMeasureCount> none;
        none.fill(std::nan(""));
        percentiles.assign(static_cast<size_t>(table.GetItemCount()), none);
        runDetails->ForEach([&](int run, const RunDetails& details) {
            if (run < 0 || static_cast<size_t>(run) >= percentiles.size())
                return;
            for (int measure = 0; measure < kCompareMeasureCount; ++measure)
                if (IsPercentileMeasure(kCompareMeasures[measure]))
                    if (const std::optional<double> ms =
                            TotalLatencyAt(details, kCompareMeasures[measure].percentile))
                        percentiles[static_cast<size_t>(run)][static_cast<size_t>(measure)] = *ms;
        });
    }
    KeyIndex index(m_keys);
    for (int row = 0; row < table.GetItemCount(); ++row) {
        const ListRowView cells = table.Row(row);
        if (IsErrorRow(cells)) {
            ++m_errorRows;
            continue;
        }
        const KeyCells key = CellsOf(cells);
        const std::uint64_t hash = HashOf(key);
        std::uint32_t test = index.Find(key, hash);
        if (test == KeyIndex::kNone) {
            test = static_cast<std::uint32_t>(m_keys.size());
            m_keys.push_back(
                TestKey{std::string(key[0]), std::string(key[1]), std::string(key[2]), std::string(key[3])});
            m_totals.emplace_back();
            index.Insert(hash, test);
        }
        TestTotals& totals = m_totals[test];
        ++totals.runs;
        ++m_runs;
        const long long run = percentiles.empty() ? -1 : LeadingWholeNumber(cells[kColNumber]);
        for (int measure = 0; measure < kCompareMeasureCount; ++measure) {
            if (IsPercentileMeasure(kCompareMeasures[measure])) {
                const double ms = run >= 0 && static_cast<size_t>(run) < percentiles.size()
                                      ? percentiles[static_cast<size_t>(run)][static_cast<size_t>(measure)]
                                      : std::nan("");
                if (!std::isnan(ms)) {
                    ++totals.cells[static_cast<size_t>(measure)];
                    totals.sums[static_cast<size_t>(measure)] += ms;
                }
                continue;
            }
            const int column = kCompareMeasures[measure].column;
            if (column < 0)
                continue;
            const std::string_view cell = cells[static_cast<size_t>(column)];
            if (cell.empty())
                continue;
            ++totals.cells[static_cast<size_t>(measure)];
            totals.sums[static_cast<size_t>(measure)] += LeadingNumber(cell);
        }
    }
}

std::optional<double> ReportTests::Mean(int test, int measure) const {
    const CompareMeasure& what = kCompareMeasures[measure];
    if (what.numerator >= 0) {
        const std::optional<double> numerator = Mean(test, what.numerator);
        if (!numerator)
            return std::nullopt;
        const double denominator = Mean(test, what.denominator).value_or(0.0);
        const double quotient = denominator != 0.0 ? *numerator / denominator : *numerator;
        return std::isfinite(quotient) ? quotient : 0.0;
    }
    const TestTotals& totals = Totals(test);
    const std::uint32_t cells = totals.cells[static_cast<size_t>(measure)];
    if (cells == 0)
        return std::nullopt;
    const double mean = totals.sums[static_cast<size_t>(measure)] / cells;
    return std::isfinite(mean) ? mean : 0.0;
}

ComparedReport LoadComparedReport(const std::string& path, const ReportLoadSteps& steps) {
    ComparedReport report;
    report.path = path;
    try {
        CListBase table;
        AddResultColumns(table);
        // The percentile measures' points; let go with the rows.
        RunDetailsStore runDetails(RunDetailsStore::Keep::PercentilesOnly);
        report.status = LoadReportRows(path, table, report.problem, report.details, steps, &runDetails);
        // A report cut short by memory would compare as if it had fewer runs: it gives none.
        if (report.status == ReportLoadStatus::AllParsed || report.status == ReportLoadStatus::SomeFailed)
            report.tests.AddRows(table, &runDetails);
    } catch (const std::bad_alloc&) {
        report.status = ReportLoadStatus::OutOfMemory;
        report.tests = ReportTests();
    }
    return report;
}
