#include "report/ResultRow.h"

#include <algorithm>
#include <charconv>

namespace {

struct ColumnSpec {
    ColSortType sortType;
    const char* title;
    int width;
};

constexpr ColumnSpec kResultColumns[kResultColumnCount] = {
    {ColSortNumberAlt, "#", 44},
    {ColSortText, "Direction", 81},
    {ColSortText, "Type", 73},
    {ColSortNumberAlt, "Size", 90},
    {ColSortNumberAlt, "Outstanding IOs", 122},
    {ColSortNumber, "IO/Sec", 90},
    {ColSortNumber, "MB/Sec", 87},
    {ColSortNumberAlt, "Min_Latency", 96},
    {ColSortNumberAlt, "Avg_Latency", 99},
    {ColSortNumberAlt, "Max_Latency", 102},
    {ColSortText, "Diag Details", 71},
};

} // namespace

void AddResultColumns(CListBase& table) {
    for (const ColumnSpec& column : kResultColumns)
        table.AddCol(column.sortType, column.title, column.width, 0, -1);
}

void AddResultRow(CListBase& table, const std::string_view (&cells)[kResultColumnCount]) {
    std::string_view row[kResultColumnCount];
    std::copy(std::begin(cells), std::end(cells), row);
    // The number is written straight into a buffer: a string made for it would cost as much as the rest
    // of a SQLIO run's row.
    char number[24];
    const std::to_chars_result written =
        std::to_chars(number, number + sizeof number, static_cast<unsigned long long>(table.GetItemCount()));
    row[kColNumber] = std::string_view(number, static_cast<size_t>(written.ptr - number));
    table.InsertRow(kResultColumnCount, row);
}

void AddResultRow(CListBase& table, const TestResultRow& cells) {
    std::string_view row[kResultColumnCount];
    std::copy_n(cells.begin(), std::min<size_t>(cells.size(), kResultColumnCount), row);
    AddResultRow(table, row);
}

void AddErrorRow(CListBase& table, const std::string& message) {
    std::string_view cells[kResultColumnCount];
    cells[kColDiagDetails] = message;
    AddResultRow(table, cells);
}

std::string MissingTokenMessage(std::string_view token, std::string_view place) {
    std::string message = "Token [";
    message += token;
    message += "] not found in ";
    message += place;
    return message;
}

std::string TokenMessage(std::string_view token, std::string_view block) {
    std::string message = MissingTokenMessage(token, "test: ");
    message += block;
    return message;
}
