#pragma once

#include "table/ListBase.h"

#include <functional>
#include <string>
#include <string_view>

// The CSV layout of a list (RFC 4180): one header line of the column titles, then one record per row in
// the list's current order. Fields are separated by commas and every record ends in CR LF. Cells are
// written as their stored bytes, with no conversion and no byte order mark.
//
// A field is quoted, its quotes doubled, when it holds a comma, a quote, CR or LF, or begins or ends
// with a blank (space or tab), so a reader gets the cell back exactly. Reports are untrusted text: a
// cell that a spreadsheet would run as a formula (it begins with =, +, -, @, TAB or CR and is not a
// plain number) is written with a leading apostrophe, which spreadsheets show as text.

// True for a plain decimal number such as "12", "-3.5", "+.5" or "1e-3".
bool IsPlainNumber(std::string_view text);

// True for a cell that a spreadsheet would run as a formula: it begins with =, +, -, @, TAB or CR and is
// not a plain number.
bool StartsFormula(std::string_view cell);

// Appends cell to out as one CSV field.
void AppendCsvField(std::string_view cell, std::string& out);

// Hands the CSV text of list to write in chunks of about chunkBytes, so the whole text is never held
// at once. Stops and returns false at the first chunk that write refuses.
bool WriteListCsv(const CListBase& list, const std::function<bool(std::string_view)>& write,
                  size_t chunkBytes = size_t{1} << 16);

// The whole CSV text of list.
std::string ListCsvText(const CListBase& list);
