#include "disks/PartitionRow.h"

void AddPartitionColumns(CListBase& table) {
    struct Spec {
        int sortType;
        const char* title;
        int width;
        int format;
    };
    static const Spec columns[kPartitionColumnCount] = {
        {0, "Model", 167, 0},
        {0, "Serial Num", 80, 0},
        {0, "Interface", 62, 0},
        {0, "Drive", 90, 0},
        {0, "Filesystem (Allocation Size)", 144, 0},
        {4, "Disk Size", 76, 1},
        {4, "Starting Offset", 99, 1},
        {0, "Status", 130, 0},
        {0, "Details", 123, 0},
    };
    for (const Spec& column : columns)
        table.AddCol(column.sortType, column.title, column.width, column.format, -1);
}

void AppendPartitionErrorRow(CListBase& table, const std::string& message) {
    PartitionRow row(kPartitionColumnCount);
    row[kPartDetails] = message;
    table.InsertRow(kPartitionColumnCount, row.data(), false, -999999, true);
}
