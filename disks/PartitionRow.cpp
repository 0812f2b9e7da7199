#include "disks/PartitionRow.h"

void AddPartitionColumns(CListBase& table) {
    struct Spec {
        int sortType;
        const char* title;
        int width;
        int format;
    };
    static const Spec columns[kPartitionColumnCount] = {
        {ColSortText, "Model", 167, 0},
        {ColSortText, "Serial Num", 80, 0},
        {ColSortText, "Interface", 62, 0},
        {ColSortText, "Drive", 90, 0},
        {ColSortText, "Filesystem (Allocation Size)", 144, 0},
        {ColSortNumberAlt, "Disk Size", 76, 1},
        {ColSortNumberAlt, "Starting Offset", 99, 1},
        {ColSortText, "Status", 130, 0},
        {ColSortText, "Details", 123, 0},
    };
    for (const Spec& column : columns)
        table.AddCol(column.sortType, column.title, column.width, column.format, -1);
}

void AppendPartitionErrorRow(CListBase& table, const std::string& message) {
    PartitionRow row(kPartitionColumnCount);
    row[kPartDetails] = message;
    table.InsertRow(kPartitionColumnCount, row.data(), false, -999999, true);
}
