#pragma once

#include "table/ListBase.h"

#include <string>
#include <vector>

// The text a copy of table rows puts on the clipboard, as spreadsheets paste it: a header line of the
// column titles, then one line per row, cells separated by tabs, each line ending in LF. A cell holding
// a tab, a line break or a quote is put in quotes with its quotes doubled, so an error row's
// "Diag Details" pastes as one cell. A cell that a spreadsheet would run as a formula gets a leading
// apostrophe, as in the CSV export. Cells are the stored bytes.
std::string ListRowsTsv(const CListBase& list, const std::vector<int>& rows);
