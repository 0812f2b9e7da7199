#pragma once

#include "table/ListBase.h"

#include <string>
#include <string_view>

// Reads one block cut by ReportBlockReader with the reader of its benchmark: a block that begins with
// "sqlio v" is a SQLIO run (ParseTest, one row), any other a DiskSpd run (ParseDiskSpdRun, one row
// per results section). True when every row it added parsed.
bool ParseRun(std::string_view block, CListBase& table);

// The error row of a run that the block reader cut at its bound: the part read may lack a token, or end
// inside a value, so none of its cells is trusted, and the row says why instead of naming a token.
extern const char* const kRunTooLongText;

// A block as ReportBlockReader hands it over: ParseRun, or one error row with kRunTooLongText when the
// block was cut.
bool ParseReadBlock(std::string_view block, bool cut, CListBase& table);
