#include "analysis/Filters.h"

#include "report/ResultRow.h"
#include "table/CharClass.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

std::string_view TrimLeading(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsWhiteSpace(text[start]))
        ++start;
    return text.substr(start);
}

} // namespace

bool PassesFilters(const CListBase& table, int row, const FilterSelection& selection) {
    if (row < 0 || row >= table.GetItemCount())
        return !selection.Any();
    return PassesFilters(table.Row(row), selection);
}

bool PassesFilters(const ListRowView& cells, const FilterSelection& selection) {
    const auto differs = [&cells](int column, const std::string& value) {
        if (value.empty())
            return false;
        return static_cast<size_t>(column) >= cells.size() || cells[static_cast<size_t>(column)] != value;
    };
    return !differs(kColDirection, selection.direction) && !differs(kColType, selection.type) &&
           !differs(kColOutstanding, selection.outstanding);
}

std::vector<std::string> DistinctColumnValues(const CListBase& table, int column) {
    std::vector<std::string> values;
    // The views point into the table's cells, which do not change while this runs.
    std::unordered_set<std::string_view> seen;
    const int rows = table.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const std::string_view text = TrimLeading(table.CellRef(row, column));
        if (text.empty() || !seen.insert(text).second)
            continue;
        values.emplace_back(text);
    }
    return values;
}

std::vector<std::string> FilterListEntries(const CListBase& table, int column, bool sorted) {
    std::vector<std::string> values = DistinctColumnValues(table, column);
    if (sorted)
        std::stable_sort(values.begin(), values.end(), LessIgnoringCase);
    std::vector<std::string> entries;
    entries.reserve(values.size() + 1);
    entries.emplace_back(kFilterAll);
    for (std::string& value : values)
        entries.push_back(std::move(value));
    return entries;
}
