#pragma once

#include "report/ReportBlocks.h"
#include "report/RowGate.h"
#include "table/ListBase.h"

#include <string>
#include <string_view>

class RunDetailsStore;

// Reads one block cut by ReportBlockReader with the reader of its benchmark: a block that begins with
// "sqlio v" is a SQLIO run (ParseTest, one row), any other a DiskSpd run (ParseDiskSpdRun, one row
// per results section). Each row passes admit first. True when every row it added parsed. With
// runDetails, each row's run also keeps what its report says of it beyond the row (ReadSqlioDetails,
// ParseDiskSpdRun), under the row's number.
bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit = {},
              RunDetailsStore* runDetails = nullptr);

// The error row of a run that the block reader's bounds cut short, where the part read cannot give the
// run's row: it says why instead of naming a token (which may lie past the bound) and quoting 16 MiB.
extern const char* const kRunTooLongText;

// A block as ReportBlockReader hands it over: ParseRun when the bounds took nothing from it. A SQLIO run
// cut at its tail keeps the row of its first lines when they give one: the SQLIO rules read nothing past
// the line of "Max_Latency(ms):", so what lies past the bound cannot change that row (unless that token
// ends the last line read, and its value is the line after). Any other cut run becomes one error row with
// kRunTooLongText: a DiskSpd run read in part may take its latencies from the wrong table, and a line cut
// short may cut a value. That row passes admit first, as every row does. A cut run keeps no details:
// what the bound took may be the part they come from.
bool ParseReadBlock(std::string_view block, RunCut cut, CListBase& table, const RowGate& admit = {},
                    RunDetailsStore* runDetails = nullptr);
