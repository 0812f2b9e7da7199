#pragma once

#include "report/RowGate.h"
#include "table/ListBase.h"

#include <string>
#include <string_view>

class RunDetailsStore;

// Reads one block cut by BlockCutter with the reader of its benchmark: a block that begins with
// "sqlio v" is a SQLIO run (ParseTest, one row), any other a DiskSpd run (ParseDiskSpdRun, one row
// per results section). Each row passes admit first. True when every row it added parsed. With
// runDetails, each row's run also keeps what its report says of it beyond the row (ReadSqlioDetails,
// ParseDiskSpdRun), under the row's number.
bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit = {},
              RunDetailsStore* runDetails = nullptr);
