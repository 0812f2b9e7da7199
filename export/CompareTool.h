#pragma once

#include "table/ListBase.h"

#include <cstdio>
#include <string>
#include <vector>

// trelvane-csv --compare: reads the reports, the first the baseline, one at a time with the window's
// load and fills table with the comparison table of every measure, one line per test in test order.
// Each report's status, and each candidate's summary, go to messages. The exit status: 0 when every run
// of every report parsed, 1 when a report held error rows, 2 when a report cannot be opened or memory
// ran out (table is then left empty).
int BuildComparisonExport(const std::vector<std::string>& paths, CListBase& table, std::FILE* messages);
