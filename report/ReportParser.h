#pragma once

#include "table/ListBase.h"

#include <string>

// Cells of a result row, in column order.
enum ResultColumn {
    kColNumber = 0,
    kColDirection,
    kColType,
    kColSize,
    kColOutstanding,
    kColIOsPerSec,
    kColMBsPerSec,
    kColMinLatency,
    kColAvgLatency,
    kColMaxLatency,
    kColDiagDetails,
    kResultColumnCount
};

// One test run as eleven text cells, "#" to "Diag Details".
using TestResultRow = ListRow;

// Adds the eleven columns of the result table to an empty list.
void AddResultColumns(CListBase& table);

// Parses one test block (lines each ending in CR LF) and appends exactly one row: the run's cells
// (true) or an error row naming the missing token (false).
bool ParseTest(std::string_view block, CListBase& table);

// Reads the value after token, searching from position; position moves just past the token. On a
// missing token an error row is appended and the result is false.
bool FindTokenValue(const std::string& block, size_t& position, const std::string& token, std::string& value,
                    CListBase& table);

// Appends an error row: the row number, nine empty cells, and the message.
void AddErrorRow(CListBase& table, const std::string& message);
