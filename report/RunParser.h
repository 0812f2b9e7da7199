#pragma once

#include "table/ListBase.h"

#include <string>
#include <string_view>

// Reads one block cut by ReportBlockReader with the reader of its benchmark: a block that begins with
// "sqlio v" is a SQLIO run (ParseTest, one row), any other a DiskSpd run (ParseDiskSpdRun, one row
// per results section). True when every row it added parsed.
bool ParseRun(std::string_view block, CListBase& table);
