#pragma once

#include "table/ListBase.h"

#include <string>
#include <string_view>

// The row of the result table that every reader appends, whatever its report: its cells, how rows are
// numbered, the error row, and the message of a run that lacks a token.

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

// Appends a row with the given cells, numbered: cell 0 becomes the number of rows the table held before
// it, as decimal text, whatever the cells held there. Rows of every reader and error rows count in one
// sequence, so sorting by cell 0 restores the order of the report.
void AddResultRow(CListBase& table, const std::string_view (&cells)[kResultColumnCount]);
void AddResultRow(CListBase& table, const TestResultRow& cells);

// Appends an error row: the row number, nine empty cells, and the message.
void AddErrorRow(CListBase& table, const std::string& message);

// "Token [<token>] not found in <place>": the message of a run that lacks a part its reader needs.
std::string MissingTokenMessage(std::string_view token, std::string_view place);
// "Token [<token>] not found in test: <block>", the block whole: the message of a text run.
std::string TokenMessage(std::string_view token, std::string_view block);
