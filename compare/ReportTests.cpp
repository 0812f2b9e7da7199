#include "compare/ReportTests.h"

#include "table/CellNumber.h"

#include <cmath>
#include <cstring>
#include <new>
#include <unordered_map>

bool IsErrorRow(const ListRowView& row) {
    return row.size() > kColDiagDetails && !row[kColDiagDetails].empty();
}

namespace {

// The four key cells as one string that two keys share only when all four cells are equal: each cell
// is its size in four bytes, then its bytes.
void EncodeKey(std::string_view direction, std::string_view type, std::string_view size,
               std::string_view outstanding, std::string& out) {
    out.clear();
    for (const std::string_view cell : {direction, type, size, outstanding}) {
        const auto length = static_cast<std::uint32_t>(cell.size());
        char bytes[sizeof length];
        std::memcpy(bytes, &length, sizeof length);
        out.append(bytes, sizeof length);
        out.append(cell);
    }
}

} // namespace

void ReportTests::AddRows(const CListBase& table) {
    if (table.GetColumnCount() < kResultColumnCount)
        return;
    std::unordered_map<std::string, std::uint32_t> known;
    known.reserve(m_keys.size() * 2 + 64);
    std::string encoded;
    for (std::uint32_t test = 0; test < m_keys.size(); ++test) {
        const TestKey& key = m_keys[test];
        EncodeKey(key.direction, key.type, key.size, key.outstanding, encoded);
        known.emplace(encoded, test);
    }
    for (int index = 0; index < table.GetItemCount(); ++index) {
        const ListRowView row = table.Row(index);
        if (IsErrorRow(row)) {
            ++m_errorRows;
            continue;
        }
        EncodeKey(row[kColDirection], row[kColType], row[kColSize], row[kColOutstanding], encoded);
        auto found = known.find(encoded);
        if (found == known.end()) {
            found = known.emplace(encoded, static_cast<std::uint32_t>(m_keys.size())).first;
            m_keys.push_back(TestKey{std::string(row[kColDirection]), std::string(row[kColType]),
                                     std::string(row[kColSize]), std::string(row[kColOutstanding])});
            m_totals.emplace_back();
        }
        TestTotals& totals = m_totals[found->second];
        ++totals.runs;
        ++m_runs;
        for (int measure = 0; measure < kCompareMeasureCount; ++measure) {
            const int column = kCompareMeasures[measure].column;
            if (column < 0)
                continue;
            const std::string_view cell = row[static_cast<size_t>(column)];
            if (cell.empty())
                continue;
            ++totals.cells[static_cast<size_t>(measure)];
            totals.sums[static_cast<size_t>(measure)] += LeadingNumber(cell);
        }
    }
}

std::optional<double> ReportTests::Mean(int test, int measure) const {
    const CompareMeasure& what = kCompareMeasures[measure];
    if (what.column < 0) {
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
        report.status = LoadReportRows(path, table, report.problem, steps);
        // A report cut short by memory would compare as if it had fewer runs: it gives none.
        if (report.status == ReportLoadStatus::AllParsed || report.status == ReportLoadStatus::SomeFailed)
            report.tests.AddRows(table);
    } catch (const std::bad_alloc&) {
        report.status = ReportLoadStatus::OutOfMemory;
        report.tests = ReportTests();
    }
    return report;
}
