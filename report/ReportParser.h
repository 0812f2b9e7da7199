#pragma once

// The SQLIO reader: the rules that turn one SQLIO run into the cells of its result row (report/ResultRow.h).

#include "table/ListBase.h"

#include <string>
#include <string_view>

// Parses one test block (lines each ending in CR LF) and appends exactly one row: the run's cells
// (true) or an error row naming the missing token (false).
bool ParseTest(std::string_view block, CListBase& table);

// Reads the value after token, searching from position; position moves just past the token. On a
// missing token an error row is appended and the result is false.
bool FindTokenValue(const std::string& block, size_t& position, const std::string& token, std::string& value,
                    CListBase& table);
