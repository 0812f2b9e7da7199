#pragma once

#include "table/ListBase.h"

#include <string>
#include <vector>

// The filter values of one chart build; each is empty when its filter is off. No entry of a filter
// list is empty, so an empty text can never be a filter value.
struct FilterSelection {
    std::string direction;
    std::string type;
    std::string outstanding;
    bool Any() const { return !direction.empty() || !type.empty() || !outstanding.empty(); }
};

// The entry of every filter list that switches its filter off.
inline constexpr const char* kFilterAll = "<All>";

// True when the result row satisfies every active filter: its Direction, Type and Outstanding IOs
// cells equal the filter values exactly (whole text, case-sensitive, untrimmed). Cells are read only
// as far as needed: the first failing filter excludes the row.
bool PassesFilters(const CListBase& table, int row, const FilterSelection& selection);
// The same test on a row's cells; a cell the row lacks is empty.
bool PassesFilters(const ListRowView& cells, const FilterSelection& selection);

// The distinct values of one column in the table's current order, each with its leading white space
// removed; cells that are empty after trimming add nothing. Values are compared exactly.
std::vector<std::string> DistinctColumnValues(const CListBase& table, int column);

// The entries of a filter list: "<All>" first, then the distinct values of the column. A sorted
// list orders the values alphabetically ignoring case (equal ones keep their order of appearance);
// "<All>" stays first whatever the values begin with.
std::vector<std::string> FilterListEntries(const CListBase& table, int column, bool sorted);
