#pragma once

#include "table/ListBase.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The text a copy of table rows puts on the clipboard, as spreadsheets paste it: a header line of the
// column titles, then one line per row, cells separated by tabs, each line ending in LF. A cell holding
// a tab, a line break or a quote is put in quotes with its quotes doubled, so an error row's
// "Diag Details" pastes as one cell. A cell that a spreadsheet would run as a formula gets a leading
// apostrophe, as in the CSV export. Cells are the stored bytes.

// A copy holds the whole text at once, so it is bounded; Export writes any number of rows. A
// spreadsheet's sheet holds 1,048,576 lines, the header line included, so more rows are of no use on
// the clipboard anyway; the byte bound keeps a few huge error rows from taking all memory.
inline constexpr std::size_t kCopyRowLimit = 1048575;
inline constexpr std::size_t kCopyByteLimit = std::size_t{128} << 20;

// Hands the text to line one line at a time, the header line first, so the caller builds the whole
// text once, in the form it keeps.
void WriteRowsTsv(const CListBase& list, const std::vector<int>& rows,
                  const std::function<void(std::string_view)>& line);
// The whole text.
std::string ListRowsTsv(const CListBase& list, const std::vector<int>& rows);
// The length of the whole text, counted without building it: what the copy's byte bound weighs, and
// the room the clipboard's text takes.
std::size_t RowsTsvBytes(const CListBase& list, const std::vector<int>& rows);
